#pragma once

#include "RuntimeServices.h"

// The services as the desktop provides them, through Qt.
class QtRuntimeServices : public RuntimeServices {
public:
    explicit QtRuntimeServices(QString programDirectory);

    int ShowMessage(const QString& text, int style, const QString& title, QWidget* owner) override;
    bool InputBox(const QString& prompt, const QString& title, const QString& initial, QString& text,
                  QWidget* owner) override;
    bool AskPassword(const QString& prompt, const QString& title, QString& text, QWidget* owner) override;
    bool ChooseFile(FileDialogMode mode, const QString& title, const QString& filter, QString& path,
                    QWidget* owner) override;
    bool OpenInDefaultBrowser(const QString& address) override;
    QString ProgramDirectory() const override { return m_programDirectory; }
    QSize ScreenSize() const override;
    QPoint MousePosition() const override;

    // "文本文件|*.txt|所有文件|*.*" as a Qt dialog filter.
    static QString QtFileFilter(const QString& filter);

private:
    QString m_programDirectory;
};
