#include "QtRuntimeServices.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

QtRuntimeServices::QtRuntimeServices(QString programDirectory)
    : m_programDirectory(std::move(programDirectory))
{
}

int QtRuntimeServices::ShowMessage(const QString& text, int style, const QString& title, QWidget* owner)
{
    QMessageBox box(owner ? owner : QApplication::activeWindow());
    box.setText(text);
    box.setWindowTitle(title.isEmpty() ? QGuiApplication::applicationDisplayName() : title);
    switch (MessageStyle::IconOf(style)) {
    case MessageStyle::ErrorIcon:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageStyle::QuestionIcon:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageStyle::WarningIcon:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageStyle::InformationIcon:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    switch (MessageStyle::ButtonsOf(style)) {
    case MessageStyle::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageStyle::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MessageStyle::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}

bool QtRuntimeServices::InputBox(const QString& prompt, const QString& title, const QString& initial,
                                 QString& text, QWidget* owner)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(owner ? owner : QApplication::activeWindow(), title, prompt,
                                                 QLineEdit::Normal, initial, &ok);
    if (ok)
        text = answer;
    return ok;
}

QString QtRuntimeServices::QtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts).join(u' ');
        filters.append(parts[i] + QStringLiteral(" (") + patterns + u')');
    }
    return filters.join(QStringLiteral(";;"));
}

bool QtRuntimeServices::ChooseFile(FileDialogMode mode, const QString& title, const QString& filter,
                                   QString& path, QWidget* owner)
{
    QWidget* parent = owner ? owner : QApplication::activeWindow();
    const QString chosen = mode == FileDialogMode::Open
                               ? QFileDialog::getOpenFileName(parent, title, path, QtFileFilter(filter))
                               : QFileDialog::getSaveFileName(parent, title, path, QtFileFilter(filter));
    if (chosen.isEmpty())
        return false;
    path = chosen;
    return true;
}

bool QtRuntimeServices::OpenInDefaultBrowser(const QString& address)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

QSize QtRuntimeServices::ScreenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

QPoint QtRuntimeServices::MousePosition() const
{
    return QCursor::pos();
}
