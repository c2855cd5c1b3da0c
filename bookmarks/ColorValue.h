#pragma once

#include <QColor>

// Colours are stored as the decimal form of 0x00BBGGRR (red in the low byte).
QColor ColorFromStoredValue(int value);
int StoredValueFromColor(const QColor& color);
