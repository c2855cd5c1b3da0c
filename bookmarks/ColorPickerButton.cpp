#include "ColorPickerButton.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

ColorPickerButton::ColorPickerButton(QWidget* parent) : QPushButton(parent)
{
    // Enter in the dialog confirms it; it does not open a colour chooser that happens to have focus.
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &ColorPickerButton::Pick);
}

void ColorPickerButton::SetColor(const QColor& color)
{
    const bool changed = color != m_color;
    m_color = color;
    QPixmap swatch(36, 12);
    swatch.fill(color);
    QPainter(&swatch).drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
    setIcon(QIcon(swatch));
    setIconSize(swatch.size());
    if (changed)
        emit colorChanged(color);
}

void ColorPickerButton::Pick()
{
    const QColor chosen = QColorDialog::getColor(m_color, this);
    if (chosen.isValid())
        SetColor(chosen);
}
