#include "AppearanceDialog.h"
#include "Collection.h"
#include "ColorPickerButton.h"
#include "IniFile.h"
#include "WindowProbes.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {

// Key names of section 外观, in the order the file holds them.
QStringList AppearanceKeys(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QStringList keys;
    bool inSection = false;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (text.startsWith(u'['))
            inSection = text == QStringLiteral("[外观]");
        else if (inSection && text.contains(u'='))
            keys.append(text.section(u'=', 0, 0));
    }
    return keys;
}

} // namespace

class AppearanceDialogTest : public QObject {
    Q_OBJECT

private slots:
    void okWithoutChangesSavesWhatIsShown()
    {
        Collection c;
        MainWindow& w = c.Start();
        Choose(w, QStringLiteral("设置外观..."));
        AppearanceDialog* dialog = w.OpenedAppearanceDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->宽框->text(), QStringLiteral("520"));
        QCOMPARE(dialog->字_文本颜色->Color(), QColor(0, 0, 128));
        QCOMPARE(dialog->字_字体名称->count(), 10);
        dialog->按钮1->click();
        QTRY_VERIFY(!w.OpenedAppearanceDialog());

        const QString path = c.Path(QStringLiteral("qavex.ini"));
        QCOMPARE(AppearanceKeys(path),
                 (QStringList{"文本背景色", "文本颜色", "背景颜色", "字体名称", "字体大小", "宽度", "高框",
                              "分类文本颜色", "分类背景颜色", "分类字体名称", "分类字体大小"}));
        const IniFile settings(path);
        QCOMPARE(settings.Read(Settings::TextColor), QStringLiteral("8388608"));
        QCOMPARE(settings.Read(Settings::CategoryBackColor), QStringLiteral("15527148"));
        QCOMPARE(settings.Read(Settings::Width), QStringLiteral("520"));
        QCOMPARE(settings.Read(Settings::FontName), w.ListFontName());
    }

    void previewIsLiveAndCancelSavesNothing()
    {
        Collection c;
        MainWindow& w = c.Start();
        w.OpenAppearanceDialog();
        AppearanceDialog* dialog = w.OpenedAppearanceDialog();
        dialog->字_文本颜色->SetColor(QColor(255, 0, 0));
        dialog->字_字体大小->setValue(15);
        dialog->字_字体名称1->textActivated(QStringLiteral("黑体"));
        QCOMPARE(w.网址框->palette().color(QPalette::Text), QColor(255, 0, 0));
        QCOMPARE(w.网址框->font().pointSize(), 15);
        QCOMPARE(w.列表框_分类->font().family(), QStringLiteral("黑体"));
        dialog->按钮2->click();
        QTRY_VERIFY(!w.OpenedAppearanceDialog());
        QCOMPARE(w.网址框->palette().color(QPalette::Text), QColor(255, 0, 0));
        QVERIFY(AppearanceKeys(c.Path(QStringLiteral("qavex.ini"))).isEmpty());
        QCOMPARE(c.Start().网址框->palette().color(QPalette::Text), QColor(0, 0, 128));
    }

    void resizingTheWindowUpdatesTheSizeBoxes()
    {
        Collection c;
        MainWindow& w = c.Start();
        w.show();
        w.OpenAppearanceDialog();
        w.resize(640, 480);
        AppearanceDialog* dialog = w.OpenedAppearanceDialog();
        QCOMPARE(dialog->宽框->text(), QStringLiteral("640"));
        QCOMPARE(dialog->高框->text(), QStringLiteral("480"));
        dialog->按钮1->click();
        QCOMPARE(IniFile(c.Path(QStringLiteral("qavex.ini"))).Read(Settings::Height), QStringLiteral("480"));
        QCOMPARE(c.Start().size(), QSize(640, 480));
    }

    void unusableSizesAreRefused_data()
    {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("message");
        const QString notWhole = QStringLiteral("窗口的宽和高必须是整数。");
        const QString tooSmall = QStringLiteral("窗口的宽不能小于 510，高不能小于 250。");
        QTest::newRow("not a number") << "6x0"
                                      << "480" << notWhole;
        QTest::newRow("zero") << "640"
                              << "0" << notWhole;
        QTest::newRow("too narrow") << "509"
                                    << "480" << tooSmall;
        QTest::newRow("too low") << "640"
                                 << "100" << tooSmall;
    }

    void unusableSizesAreRefused()
    {
        Collection c;
        MainWindow& w = c.Start();
        w.OpenAppearanceDialog();
        AppearanceDialog* dialog = w.OpenedAppearanceDialog();
        QFETCH(QString, width);
        QFETCH(QString, height);
        dialog->宽框->setText(width);
        dialog->高框->setText(height);
        dialog->按钮1->click();
        QCOMPARE(c.services.messages.size(), 1);
        QTEST(c.services.messages[0].text, "message");
        QVERIFY(w.OpenedAppearanceDialog());
        QVERIFY(AppearanceKeys(c.Path(QStringLiteral("qavex.ini"))).isEmpty());
        QCOMPARE(w.minimumSize(), QSize(510, 250));
    }

    void enterConfirmsWhereverTheFocusIs()
    {
        Collection c;
        MainWindow& w = c.Start();
        w.show();
        w.OpenAppearanceDialog();
        AppearanceDialog* dialog = w.OpenedAppearanceDialog();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QVERIFY(dialog->按钮1->isDefault());
        // A colour chooser that opened would be a modal window: note it and close it.
        bool chooserOpened = false;
        QTimer guard;
        guard.setInterval(20);
        connect(&guard, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal != dialog) {
                chooserOpened = true;
                modal->close();
            }
        });
        guard.start();
        dialog->字_文本颜色->setFocus();
        QTest::keyClick(dialog->字_文本颜色, Qt::Key_Return);
        QTRY_VERIFY(!w.OpenedAppearanceDialog());
        QVERIFY(!chooserOpened);
        QVERIFY(!AppearanceKeys(c.Path(QStringLiteral("qavex.ini"))).isEmpty());
    }
};

QTEST_MAIN(AppearanceDialogTest)
#include "AppearanceDialogTest.moc"
