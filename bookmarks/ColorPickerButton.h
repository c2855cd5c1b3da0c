#pragma once

#include <QColor>
#include <QPushButton>

// A button that shows a colour and lets the user pick another.
class ColorPickerButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorPickerButton(QWidget* parent = nullptr);

    QColor Color() const { return m_color; }
    // Shows the colour; a colour other than the one shown is announced.
    void SetColor(const QColor& color);

signals:
    void colorChanged(const QColor& color);

private:
    void Pick();

    QColor m_color;
};
