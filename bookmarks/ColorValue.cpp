#include "ColorValue.h"

QColor ColorFromStoredValue(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int StoredValueFromColor(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}
