#pragma once

#include <QString>
#include <QWidget>

// Windows here are laid out at fixed, designed positions: each control gets its name and place.
template <typename Widget>
Widget* Place(Widget* widget, const QString& name, int left, int top, int width, int height)
{
    widget->setObjectName(name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

// A modeless window opened again is brought to the front rather than opened twice.
inline void ShowInFront(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}
