#pragma once

#include "MessageStyle.h"

#include <QPoint>
#include <QSize>
#include <QString>

class QWidget;

enum class FileDialogMode { Open, Save };

// What the windows ask of the desktop. Tests answer these from a script and read back every
// message shown, so each message of the program can be checked without a person at the screen.
class RuntimeServices {
public:
    virtual ~RuntimeServices() = default;

    // style: a MessageStyle button set plus icon; an empty title shows the program's name.
    // Returns a MessageAnswer.
    virtual int ShowMessage(const QString& text, int style, const QString& title,
                            QWidget* owner = nullptr) = 0;

    // True when the user confirmed; `text` then holds the answer.
    virtual bool InputBox(const QString& prompt, const QString& title, const QString& initial, QString& text,
                          QWidget* owner = nullptr) = 0;

    // As InputBox, the answer hidden as it is typed.
    virtual bool AskPassword(const QString& prompt, const QString& title, QString& text,
                             QWidget* owner = nullptr) = 0;

    // filter is "description|*.a;*.b|description|*.c". True when a file was chosen into `path`.
    virtual bool ChooseFile(FileDialogMode mode, const QString& title, const QString& filter, QString& path,
                            QWidget* owner = nullptr) = 0;

    // Hands the address to the desktop's default browser; never waits for it.
    virtual bool OpenInDefaultBrowser(const QString& address) = 0;

    // Where qavex.ini and qavex.mdb live.
    virtual QString ProgramDirectory() const = 0;

    virtual QSize ScreenSize() const = 0;
    virtual QPoint MousePosition() const = 0;
};
