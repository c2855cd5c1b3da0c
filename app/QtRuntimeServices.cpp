#include "QtRuntimeServices.h"

#include "TerminationSignals.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QUrl>

namespace {

constexpr int TitleButtonsWidth = 140;

// What a box answers when it is closed without a button (qavex is ending): the choice that does
// nothing.
int EscapeAnswer(int style)
{
    switch (MessageStyle::ButtonsOf(style)) {
    case MessageStyle::OkCancel:
    case MessageStyle::YesNoCancel:
        return MessageAnswer::Cancel;
    case MessageStyle::YesNo:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace

QtRuntimeServices::QtRuntimeServices(QString programDirectory)
    : m_programDirectory(std::move(programDirectory))
{
}

int QtRuntimeServices::ShowMessage(const QString& text, int style, const QString& title, QWidget* owner)
{
    if (TerminationSignals::Requested())
        return EscapeAnswer(style);
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
    if (style & MessageStyle::SecondIsDefault)
        box.setDefaultButton(MessageStyle::ButtonsOf(style) == MessageStyle::YesNo ? QMessageBox::No
                                                                                   : QMessageBox::Cancel);
    // The frame cuts a title longer than the text below it; the box is made wide enough to show
    // it whole, with room for the frame's own buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int titleWidth = box.fontMetrics().horizontalAdvance(box.windowTitle()) + TitleButtonsWidth;
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    default:
        return EscapeAnswer(style);
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

bool QtRuntimeServices::AskPassword(const QString& prompt, const QString& title, QString& text,
                                    QWidget* owner)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(owner ? owner : QApplication::activeWindow(), title, prompt,
                                                 QLineEdit::Password, {}, &ok);
    if (ok)
        text = answer;
    return ok;
}

QString QtRuntimeServices::QtFileFilter(const QString& filter)
{
    // A description that shows its patterns already, "文本文件(*.txt)", keeps them once, written
    // with the spaces the dialog reads them by.
    static const QRegularExpression shownPatterns(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const auto spaced = [](const QString& patterns) {
        return patterns.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts).join(u' ');
    };
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = spaced(parts[i + 1]);
        const QRegularExpressionMatch shown = shownPatterns.match(description);
        if (shown.hasMatch() && spaced(shown.captured(1)) == patterns)
            filters.append(description.left(shown.capturedStart()) + u'(' + patterns + u')');
        else
            filters.append(description + QStringLiteral(" (") + patterns + u')');
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
