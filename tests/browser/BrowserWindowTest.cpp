#include "BrowserWindow.h"
#include "BuiltInTexts.h"
#include "ChangeCategoryDialog.h"
#include "ChineseInterface.h"
#include "CodeWindow.h"
#include "Collection.h"
#include "ElementToolWindow.h"
#include "HistoryDialog.h"
#include "LoopbackServer.h"
#include "WebFixture.h"
#include "WindowProbes.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QWebEngineHistory>
#include <QWebEngineView>

class BrowserWindowTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { WebFixture::PrepareEngine(); }

private:
    LoopbackServer m_server{QStringLiteral(QAVEX_TEST_PAGES)};
    std::unique_ptr<Collection> m_collection;
    QPointer<BrowserWindow> m_browser;

    QString Page(const QString& path) const { return m_server.Address(path); }

    QAction* ToolbarAction(const QString& caption) const
    {
        for (QAction* action : m_browser->工具条1->actions()) {
            if (action->text() == caption)
                return action;
        }
        return nullptr;
    }

    QVariant Evaluate(const QString& script) const
    {
        QVariant result;
        bool done = false;
        m_browser->网页框->page()->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, 5000))
            return {};
        return result;
    }

    // Types into the address box and presses Enter on `target`, the way the desktop's key
    // presses reach it (the box) or the way a test's reach its line edit.
    void TypeAddress(const QString& address, QWidget* target)
    {
        m_browser->activateWindow();
        m_browser->组合框_地址->setFocus();
        m_browser->组合框_地址->lineEdit()->selectAll();
        QTest::keyClicks(target, address);
        QTest::keyClick(target, Qt::Key_Return);
    }

    bool Shows(const QString& address) const
    {
        return QTest::qWaitFor(
            [&] { return m_browser->网页框->url().toString() == address && m_browser->ReadyState() == 4; },
            10000);
    }

    QStringList History() const
    {
        return m_collection->Select(QStringLiteral("select 地址 from 历史地址 order by ID"));
    }

private slots:
    void initTestCase()
    {
        UseChineseInterface();
        m_collection = std::make_unique<Collection>();
        m_collection->Seed({QStringLiteral("网站")}, {});
        m_collection->WriteSettings(
            QStringLiteral("[记录]\nIE地址=%1\n").arg(Page(QStringLiteral("/moves.html"))).toUtf8());
        m_collection->Start();
        m_browser =
            new BrowserWindow(m_collection->window(), m_collection->Globals(), m_collection->services);
        m_browser->show();
        QVERIFY(Shows(Page(QStringLiteral("/moves.html"))));
    }

    void cleanupTestCase()
    {
        delete m_browser.data();
        m_collection.reset();
    }

    void enterGoesToTheTypedAddress_data()
    {
        QTest::addColumn<bool>("toLineEdit");
        QTest::newRow("key presses from the desktop reach the box") << false;
        QTest::newRow("key presses sent to its line edit") << true;
    }

    void enterGoesToTheTypedAddress()
    {
        QFETCH(bool, toLineEdit);
        const QString address =
            Page(toLineEdit ? QStringLiteral("/login.html") : QStringLiteral("/names.html"));
        const QStringList before = History();
        TypeAddress(address, toLineEdit ? static_cast<QWidget*>(m_browser->组合框_地址->lineEdit())
                                        : m_browser->组合框_地址);
        QVERIFY(Shows(address));
        QCOMPARE(History(), before + QStringList{address});

        // Chosen again from the list: the same page again, no second entry.
        const int entry = m_browser->组合框_地址->findText(address);
        QVERIFY(entry >= 0);
        m_browser->网页框->load(QUrl(Page(QStringLiteral("/moves.html"))));
        QVERIFY(Shows(Page(QStringLiteral("/moves.html"))));
        m_browser->组合框_地址->setCurrentIndex(entry);
        emit m_browser->组合框_地址->activated(entry);
        QVERIFY(Shows(address));
        QCOMPARE(History(), before + QStringList{address});
    }

    // The first click into the page after a page was opened from the address box (the box then
    // holds an entry of its list) does not load the page again.
    void leavingTheAddressBoxNeverNavigates()
    {
        const QString address = Page(QStringLiteral("/names.html"));
        TypeAddress(address, m_browser->组合框_地址);
        QVERIFY(Shows(address));
        QVERIFY(m_browser->组合框_地址->findText(address) >= 0);
        const qsizetype loads = m_server.requests.count(QStringLiteral("/names.html"));
        m_browser->组合框_地址->setFocus();
        m_browser->网页框->setFocus();
        QTest::qWait(300);
        QCOMPARE(m_server.requests.count(QStringLiteral("/names.html")), loads);
    }

    // While a page loads: its progress, "停止" enabled and the caption saying so; stopped or
    // failed, the status says it in Chinese.
    void loadingShows()
    {
        QAction* stop = ToolbarAction(QStringLiteral("停止"));
        QTRY_VERIFY(!stop->isEnabled());
        m_browser->网页框->load(QUrl(Page(QStringLiteral("/never"))));
        QTRY_VERIFY(stop->isEnabled());
        QTRY_VERIFY(m_browser->StatusPart(3).startsWith(QStringLiteral("正在打开网页…")));
        QVERIFY(m_browser->windowTitle().startsWith(QStringLiteral("正在打开…")));
        stop->trigger();
        QTRY_VERIFY(!stop->isEnabled());
        QCOMPARE(m_browser->StatusPart(3), QStringLiteral("已停止打开网页"));
        QVERIFY(!m_browser->windowTitle().startsWith(QStringLiteral("正在打开…")));

        // A port nobody listens on (any more).
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        m_browser->网页框->load(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)));
        QTRY_VERIFY_WITH_TIMEOUT(!stop->isEnabled(), 10000);
        QTRY_VERIFY2(m_browser->StatusPart(3).startsWith(QStringLiteral("网页打不开：网站拒绝连接")),
                     qPrintable(m_browser->StatusPart(3)));
        QVERIFY(!stop->isEnabled());
    }

    // The history dialog opens centred on the browser window, its list filling it to the bottom.
    void historyDialogIsCentred()
    {
        for (QAction* action : m_browser->收藏菜单->actions()) {
            if (action->text() == QStringLiteral("删除历史记录网址"))
                action->trigger();
        }
        auto* dialog = m_browser->findChild<HistoryDialog*>();
        QVERIFY(dialog);
        QVERIFY((dialog->geometry().center() - m_browser->geometry().center()).manhattanLength() <= 6);
        QCOMPARE(dialog->超级列表框1->geometry().bottom() + 1, dialog->height());
        dialog->close();
    }

    void toolbarMovesThePage_data()
    {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("reloaded");
        const QString first = QStringLiteral("/login.html");
        const QString second = QStringLiteral("/names.html");
        QTest::newRow("后退") << QStringList{QStringLiteral("后退")} << first << true;
        QTest::newRow("后退, 前进") << QStringList{QStringLiteral("后退"), QStringLiteral("前进")} << second
                                    << true;
        QTest::newRow("主页") << QStringList{QStringLiteral("主页")}
                              << QUrl::fromUserInput(BuiltInTexts::StartAddress()).toString() << true;
        QTest::newRow("刷新") << QStringList{QStringLiteral("刷新")} << second << true;
        QTest::newRow("停止 on a finished page") << QStringList{QStringLiteral("停止")} << second << false;
    }

    void toolbarMovesThePage()
    {
        QFETCH(QStringList, buttons);
        m_browser->网页框->load(QUrl(Page(QStringLiteral("/login.html"))));
        QVERIFY(Shows(Page(QStringLiteral("/login.html"))));
        m_browser->网页框->load(QUrl(Page(QStringLiteral("/names.html"))));
        QVERIFY(Shows(Page(QStringLiteral("/names.html"))));
        // A mark that lasts as long as this document does.
        Evaluate(QStringLiteral("window.qavexMark = 1"));
        for (const QString& button : buttons) {
            QAction* action = ToolbarAction(button);
            QVERIFY(action);
            action->trigger();
            QTest::qWait(300);
            QVERIFY(QTest::qWaitFor([&] { return m_browser->ReadyState() == 4; }, 10000));
        }
        QFETCH(QString, shown);
        const QString address = shown.startsWith(u'/') ? Page(shown) : shown;
        QVERIFY(Shows(address));
        QCOMPARE(m_browser->组合框_地址->currentText(), address);
        QFETCH(bool, reloaded);
        QCOMPARE(Evaluate(QStringLiteral("typeof window.qavexMark")).toString(),
                 reloaded ? QStringLiteral("undefined") : QStringLiteral("number"));
    }

    void addressFollowsMovesWithoutALoad_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("address");
        QTest::newRow("#fragment link") << QStringLiteral("document.getElementById('fragment').click()")
                                        << QStringLiteral("/moves.html#second");
        QTest::newRow("history.pushState") << QStringLiteral("document.getElementById('push').click()")
                                           << QStringLiteral("/pushed.html?step=2");
    }

    void addressFollowsMovesWithoutALoad()
    {
        m_browser->网页框->load(QUrl(Page(QStringLiteral("/moves.html"))));
        QVERIFY(Shows(Page(QStringLiteral("/moves.html"))));
        QFETCH(QString, script);
        Evaluate(script);
        QFETCH(QString, address);
        QTRY_COMPARE(m_browser->组合框_地址->currentText(), Page(address));
        QCOMPARE(m_browser->windowTitle(), QStringLiteral("地址变化"));

        // What "收藏地址栏网址" stores is the address on show.
        WhenModal([](QWidget* window) {
            auto* dialog = qobject_cast<ChangeCategoryDialog*>(window);
            dialog->组合框_类型->setCurrentText(QStringLiteral("网站"));
            dialog->按钮1->click();
        });
        m_browser->收藏菜单->actions().first()->trigger();
        QCOMPARE(m_collection->Select(QStringLiteral("select 地址 from 网址 where 名称='地址变化'")),
                 QStringList{Page(address)});
        m_collection->Execute(QStringLiteral("delete from 网址 where 名称='地址变化'"));
    }

    // Shortcuts answer in the active window; a full-screen switch makes the window anew.
    void PressInBrowser(Qt::Key key)
    {
        m_browser->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_browser));
        QTest::keyClick(m_browser, key);
    }

    void fullScreenKeys()
    {
        QVERIFY(!m_browser->全屏->isChecked());
        PressInBrowser(Qt::Key_Escape);
        QVERIFY(!m_browser->全屏->isChecked());

        PressInBrowser(Qt::Key_F11);
        QVERIFY(m_browser->全屏->isChecked());
        QVERIFY(m_browser->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(m_browser->geometry(), QRect(QPoint(0, 0), m_collection->services.screenSize));
        PressInBrowser(Qt::Key_Escape);
        QVERIFY(!m_browser->全屏->isChecked());
        QVERIFY(!m_browser->windowFlags().testFlag(Qt::FramelessWindowHint));
        const QSize screen = m_collection->services.screenSize;
        QCOMPARE(m_browser->geometry(), QRect(50, 50, screen.width() - 100, screen.height() - 100));

        PressInBrowser(Qt::Key_F11);
        PressInBrowser(Qt::Key_F11);
        QVERIFY(!m_browser->全屏->isChecked());
    }

    void editingSwitchesTheDesignMode()
    {
        QAction* edit = ToolbarAction(QStringLiteral("编辑"));
        edit->trigger();
        QTRY_COMPARE(Evaluate(QStringLiteral("document.designMode")).toString(), QStringLiteral("on"));
        edit->trigger();
        QTRY_COMPARE(Evaluate(QStringLiteral("document.designMode")).toString(), QStringLiteral("off"));
    }

    void savedPageOpensAsAPage_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("starts");
        QTest::addColumn<bool>("folder");
        QTest::newRow("HTML with its files") << QStringLiteral("saved.html") << QByteArray("<") << true;
        QTest::newRow("no extension: HTML") << QStringLiteral("plain") << QByteArray("<") << true;
        // The engine runs no script in an archive: its styles are not looked at from here.
        QTest::newRow("one archive") << QStringLiteral("saved.mhtml") << QByteArray("From:") << false;
    }

    void savedPageOpensAsAPage()
    {
        m_browser->网页框->load(QUrl(Page(QStringLiteral("/moves.html"))));
        QVERIFY(Shows(Page(QStringLiteral("/moves.html"))));
        QTemporaryDir dir;
        QFETCH(QString, fileName);
        m_collection->services.fileAnswers.enqueue(dir.filePath(fileName));
        ToolbarAction(QStringLiteral("保存网页"))->trigger();
        QCOMPARE(m_collection->services.fileFilters.last(),
                 QStringLiteral("网页，全部|*.html;*.htm|网页，单个文件|*.mhtml;*.mht"));
        QCOMPARE(m_collection->services.fileDialogs.last().mode, FileDialogMode::Save);
        QCOMPARE(m_collection->services.fileDialogs.last().title, QStringLiteral("保存网页"));
        // The page's title, as a file name, is offered.
        QCOMPARE(m_collection->services.fileDialogs.last().suggested, QStringLiteral("地址变化.html"));
        const QString path =
            dir.filePath(fileName.contains(u'.') ? fileName : fileName + QStringLiteral(".html"));
        QTRY_VERIFY_WITH_TIMEOUT(m_browser->StatusPart(0).startsWith(QStringLiteral("已保存网页：")), 10000);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QFETCH(QByteArray, starts);
        QVERIFY(saved.readAll().trimmed().startsWith(starts));
        QFETCH(bool, folder);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), folder ? 1 : 0);

        // The saved file opens as the page, with its styles, through "打开本地网页".
        m_collection->services.fileAnswers.enqueue(path);
        ToolbarAction(QStringLiteral("打开本地网页"))->trigger();
        QVERIFY(Shows(QUrl::fromLocalFile(path).toString()));
        QTRY_COMPARE(m_browser->windowTitle(), QStringLiteral("地址变化"));
        if (folder) {
            QCOMPARE(Evaluate(QStringLiteral("getComputedStyle(document.getElementById('text')).color"))
                         .toString(),
                     QStringLiteral("rgb(0, 128, 0)"));
        }
    }

    void toolWindowsStayWithTheBrowser()
    {
        m_browser->OpenElementTool();
        m_browser->OpenCodeWindow();
        for (QWidget* tool : {static_cast<QWidget*>(m_browser->OpenedElementTool()),
                              static_cast<QWidget*>(m_browser->OpenedCodeWindow())}) {
            QCOMPARE(tool->window()->windowType(), Qt::Tool);
            QCOMPARE(tool->parentWidget(), m_browser.data());
        }
        // The code window leaves the status bar, where the mouse position shows, in sight.
        const QRect statusBar(m_browser->statusBar()->mapToGlobal(QPoint(0, 0)),
                              m_browser->statusBar()->size());
        QVERIFY(!m_browser->OpenedCodeWindow()->frameGeometry().intersects(statusBar));
        m_browser->OpenedElementTool()->close();
        m_browser->OpenedCodeWindow()->close();
    }

    void engineSpeaksChinese()
    {
        static const QRegularExpression chinese(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
        // Nothing listens on port 1: the engine shows its own error page.
        // A port nobody listens on (any more).
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        m_browser->网页框->load(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)));
        QVERIFY(QTest::qWaitFor([&] { return m_browser->ReadyState() == 4; }, 10000));
        QTRY_VERIFY_WITH_TIMEOUT(
            chinese.match(Evaluate(QStringLiteral("document.body.innerText")).toString()).hasMatch(), 10000);

        // The entries of its context menu.
        for (const QWebEnginePage::WebAction entry :
             {QWebEnginePage::Back, QWebEnginePage::Forward, QWebEnginePage::Reload, QWebEnginePage::Copy,
              QWebEnginePage::Paste, QWebEnginePage::SelectAll, QWebEnginePage::SavePage,
              QWebEnginePage::ViewSource, QWebEnginePage::CopyLinkToClipboard}) {
            const QString text = m_browser->网页框->pageAction(entry)->text();
            QVERIFY2(chinese.match(text).hasMatch(), qPrintable(text));
        }
    }
};

QTEST_MAIN(BrowserWindowTest)
#include "BrowserWindowTest.moc"
