#pragma once

#include <QString>

class QLabel;
class QRadioButton;
class QVBoxLayout;
class QWidget;

// The radio choices of the settings dialogs, each with a note under it that says what it means.
namespace ChoiceNotes {

// A note: wrapped, in a colour that reads as secondary yet stays legible (a disabled label's
// grey does not).
QLabel* Note(const QString& text, QWidget* parent);

// A radio button named name and its note, kept together at fixed spacing so that nothing
// below moves when the choice changes.
QRadioButton* AddChoice(QVBoxLayout* layout, QWidget* parent, const QString& name, const QString& text,
                        const QString& note);

} // namespace ChoiceNotes
