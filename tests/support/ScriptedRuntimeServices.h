#pragma once

#include "RuntimeServices.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <optional>

// Services that answer from a script and remember what the program showed.
class ScriptedRuntimeServices : public RuntimeServices {
public:
    struct Message {
        QString text;
        int icon = 0;
        int buttons = 0;
        QString title;
        bool secondIsDefault = false;
    };

    explicit ScriptedRuntimeServices(QString programDirectory = {});

    int ShowMessage(const QString& text, int style, const QString& title, QWidget* owner) override;
    bool InputBox(const QString& prompt, const QString& title, const QString& initial, QString& text,
                  QWidget* owner) override;
    bool AskPassword(const QString& prompt, const QString& title, QString& text, QWidget* owner) override;
    bool ChooseFile(FileDialogMode mode, const QString& title, const QString& filter, QString& path,
                    QWidget* owner) override;
    bool OpenInDefaultBrowser(const QString& address) override;
    QString ProgramDirectory() const override { return programDirectory; }
    QSize ScreenSize() const override { return screenSize; }
    QPoint MousePosition() const override { return mousePosition; }

    QString programDirectory;
    QSize screenSize{1920, 1080};
    QPoint mousePosition;

    // Answers, used in order; an empty queue answers Ok, cancels the input box, chooses no file.
    QQueue<int> messageAnswers;
    QQueue<std::optional<QString>> inputAnswers;
    QQueue<std::optional<QString>> fileAnswers;
    // Primary passwords typed when asked; an empty queue cancels.
    QQueue<std::optional<QString>> passwordAnswers;

    struct FileDialog {
        FileDialogMode mode;
        QString title;
        QString suggested; // the path the dialog opened with
    };

    // False: the desktop has no default browser to hand addresses to.
    bool hasDefaultBrowser = true;

    QList<Message> messages;
    QStringList inputPrompts;
    QStringList inputTitles;
    QStringList passwordPrompts;
    QStringList fileFilters;
    QList<FileDialog> fileDialogs;
    QStringList openedAddresses;
};
