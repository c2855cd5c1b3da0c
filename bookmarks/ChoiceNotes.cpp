#include "ChoiceNotes.h"

#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace ChoiceNotes {

QLabel* Note(const QString& text, QWidget* parent)
{
    auto* note = new QLabel(text, parent);
    note->setWordWrap(true);
    QPalette palette = note->palette();
    const QColor ink = palette.color(QPalette::WindowText);
    const QColor paper = palette.color(QPalette::Window);
    const auto mix = [](int a, int b) { return (a * 3 + b) / 4; };
    palette.setColor(
        QPalette::WindowText,
        QColor(mix(ink.red(), paper.red()), mix(ink.green(), paper.green()), mix(ink.blue(), paper.blue())));
    note->setPalette(palette);
    return note;
}

QRadioButton* AddChoice(QVBoxLayout* layout, QWidget* parent, const QString& name, const QString& text,
                        const QString& note)
{
    auto* group = new QVBoxLayout;
    group->setSpacing(2);
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(name);
    group->addWidget(button);
    QLabel* label = Note(note, parent);
    // Under the button's text, not its circle.
    const int indent = parent->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, button) +
                       parent->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, button);
    label->setContentsMargins(indent, 0, 0, 0);
    group->addWidget(label);
    layout->addLayout(group);
    return button;
}

} // namespace ChoiceNotes
