#include "QtRuntimeServices.h"
#include "ChineseInterface.h"
#include "WindowProbes.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

Q_DECLARE_METATYPE(QMessageBox::StandardButton)
Q_DECLARE_METATYPE(QMessageBox::Icon)
Q_DECLARE_METATYPE(QMessageBox::StandardButtons)
Q_DECLARE_METATYPE(FileDialogMode)

namespace {

bool SpeaksChinese(const QString& text)
{
    static const QRegularExpression chinese(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
    return chinese.match(text).hasMatch();
}

} // namespace

class QtRuntimeServicesTest : public QObject {
    Q_OBJECT

    QtRuntimeServices m_desktop{QDir::tempPath()};
    RuntimeServices& m_services = m_desktop;

private slots:
    void initTestCase() { UseChineseInterface(); }

    void fileFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qtFilter");
        QTest::newRow("patterns after the description") << "网页文档|*.htm;*.html;*.asp"
                                                        << "网页文档 (*.htm *.html *.asp)";
        QTest::newRow("patterns shown in the description once")
            << "文本文件(*.txt)|*.txt|旧版数据库(*.mdb)|*.mdb"
            << "文本文件(*.txt);;旧版数据库(*.mdb)";
        QTest::newRow("shown with semicolons") << "网页书签文件(*.htm;*.html)|*.htm;*.html"
                                               << "网页书签文件(*.htm *.html)";
        QTest::newRow("shown, but other patterns") << "文本(*.txt)|*.csv"
                                                   << "文本(*.txt) (*.csv)";
        QTest::newRow("a description without patterns is left out") << "文本"
                                                                    << "";
    }

    void fileFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QString, qtFilter);
        QCOMPARE(QtRuntimeServices::QtFileFilter(filter), qtFilter);
    }

    // A question whose "是" cannot be undone has "否" as its default: Enter does nothing harmful.
    void secondButtonAsDefault()
    {
        QString defaultButton;
        WhenModal([&](QWidget* dialog) {
            auto* box = static_cast<QMessageBox*>(dialog);
            defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
            QTest::keyClick(box, Qt::Key_Return);
        });
        const int answer = m_services.ShowMessage(
            QStringLiteral("确定吗？"), MessageStyle::YesNo | MessageStyle::SecondIsDefault, {}, nullptr);
        QCOMPARE(answer, MessageAnswer::No);
        QCOMPARE(defaultButton, QStringLiteral("否(&N)"));
    }

    void fileDialogSpeaksChinese_data()
    {
        QTest::addColumn<FileDialogMode>("mode");
        QTest::newRow("open") << FileDialogMode::Open;
        QTest::newRow("save") << FileDialogMode::Save;
    }

    void fileDialogSpeaksChinese()
    {
        QFETCH(FileDialogMode, mode);
        QString title;
        QStringList filters;
        QStringList buttons;
        WhenModal([&](QWidget* dialog) {
            title = dialog->windowTitle();
            filters = static_cast<QFileDialog*>(dialog)->nameFilters();
            for (QAbstractButton* button : dialog->findChild<QDialogButtonBox*>()->buttons())
                buttons.append(button->text());
            static_cast<QDialog*>(dialog)->reject();
        });
        QString path;
        QVERIFY(!m_services.ChooseFile(mode, QStringLiteral("保存"), QStringLiteral("文本文件(*.txt)|*.txt"),
                                       path));
        QCOMPARE(title, QStringLiteral("保存"));
        QCOMPARE(filters, QStringList{"文本文件(*.txt)"});
        QVERIFY(!buttons.isEmpty());
        for (const QString& text : buttons)
            QVERIFY2(SpeaksChinese(text), qPrintable(text));
    }

    void messageStyles_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QMessageBox::StandardButtons>("buttons");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<QMessageBox::StandardButton>("press");
        QTest::addColumn<int>("answer");
        using B = QMessageBox;
        QTest::newRow("Ok") << (MessageStyle::Ok) << B::StandardButtons(B::Ok) << B::NoIcon << B::Ok
                            << MessageAnswer::Ok;
        QTest::newRow("Ok, error") << (MessageStyle::Ok | MessageStyle::ErrorIcon)
                                   << B::StandardButtons(B::Ok) << B::Critical << B::Ok << MessageAnswer::Ok;
        QTest::newRow("OkCancel, warning: Cancel")
            << (MessageStyle::OkCancel | MessageStyle::WarningIcon) << (B::Ok | B::Cancel) << B::Warning
            << B::Cancel << MessageAnswer::Cancel;
        QTest::newRow("YesNo, question: Yes is 5")
            << (MessageStyle::YesNo | MessageStyle::QuestionIcon) << (B::Yes | B::No) << B::Question << B::Yes
            << MessageAnswer::Yes;
        QTest::newRow("YesNo: No is 6")
            << (MessageStyle::YesNo) << (B::Yes | B::No) << B::NoIcon << B::No << MessageAnswer::No;
        QTest::newRow("YesNoCancel, information: Cancel")
            << (MessageStyle::YesNoCancel | MessageStyle::InformationIcon) << (B::Yes | B::No | B::Cancel)
            << B::Information << B::Cancel << MessageAnswer::Cancel;
    }

    void messageStyles()
    {
        QFETCH(int, style);
        QFETCH(QMessageBox::StandardButton, press);
        QMessageBox::StandardButtons shownButtons;
        QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
        QString buttonText;
        WhenModal([&](QWidget* dialog) {
            auto* box = static_cast<QMessageBox*>(dialog);
            shownButtons = box->standardButtons();
            shownIcon = box->icon();
            buttonText = box->button(press)->text();
            box->button(press)->click();
        });
        const int answer = m_services.ShowMessage(QStringLiteral("正文"), style, QStringLiteral("询问"));
        QFETCH(QMessageBox::StandardButtons, buttons);
        QFETCH(QMessageBox::Icon, icon);
        QCOMPARE(shownButtons, buttons);
        QCOMPARE(shownIcon, icon);
        QVERIFY2(SpeaksChinese(buttonText), qPrintable(buttonText));
        QTEST(answer, "answer");
    }

    void longTitleIsShownWhole()
    {
        const QString title = QStringLiteral("一个很长很长的消息框标题，比正文长得多，也要完整显示出来");
        int width = 0;
        int titleWidth = 0;
        WhenModal([&](QWidget* dialog) {
            width = dialog->width();
            titleWidth = dialog->fontMetrics().horizontalAdvance(title);
            static_cast<QMessageBox*>(dialog)->accept();
        });
        m_services.ShowMessage(QStringLiteral("短"), MessageStyle::Ok, title);
        QVERIFY2(width > titleWidth, qPrintable(QStringLiteral("%1 <= %2").arg(width).arg(titleWidth)));
    }
};

QTEST_MAIN(QtRuntimeServicesTest)
#include "QtRuntimeServicesTest.moc"
