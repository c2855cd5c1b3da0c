#include "BookmarkOpener.h"
#include "BrowserWindow.h"
#include "ChangeCategoryDialog.h"
#include "Collection.h"
#include "LoginBookmark.h"
#include "LoopbackServer.h"
#include "WebFixture.h"
#include "WindowProbes.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWebEngineView>

class AutoLoginTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { WebFixture::PrepareEngine(); }

private:
    LoopbackServer m_server{QStringLiteral(QAVEX_TEST_PAGES)};
    LoopbackServer m_otherSite{QStringLiteral(QAVEX_TEST_PAGES)};

    void Prepare(Collection& c, const QString& address, const Login& login)
    {
        PrepareLoginBookmark(c, address, login, m_server.Address(QStringLiteral("/blank")));
    }

    QStringList Submissions(const LoopbackServer& server) const
    {
        QStringList submitted;
        for (const QString& request : server.requests) {
            if (request.startsWith(QStringLiteral("/submit")))
                submitted.append(request);
        }
        return submitted;
    }

private slots:
    void logsIn_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<Login>("login");
        QTest::addColumn<QString>("submitted");
        const QString login = QStringLiteral("/login.html");
        const QString both = QStringLiteral("/submit?username=zhang&notpass=&password=secret&locked=");
        QTest::newRow("ids, button by id") << login << Login{"user", "pass", "0", "go", "0", "按钮"} << both;
        QTest::newRow("names, link by id")
            << login << Login{"username", "password", "1", "submitlink", "0", "链接"} << both;
        QTest::newRow("button by index") << login << Login{"user", "pass", "0", "1", "3", "按钮"} << both;
        QTest::newRow("button by part of its caption")
            << login << Login{"user", "pass", "0", "登", "2", "按钮"} << both;
        QTest::newRow("no control type clicks a link")
            << login << Login{"user", "pass", "0", "submitlink", "0", ""} << both;
        QTest::newRow("fields with names only")
            << QStringLiteral("/names.html") << Login{"username", "password", "1", "signin", "1", "按钮"}
            << QStringLiteral("/submit?username=zhang&password=secret&signin=go");
    }

    void logsIn()
    {
        QFETCH(Login, login);
        QFETCH(QString, submitted);
        m_server.requests.clear();
        Collection c;
        QFETCH(QString, page);
        Prepare(c, m_server.Address(page), login);
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        Choose(c.window(), QStringLiteral("自带浏览器打开"));
        QTRY_COMPARE_WITH_TIMEOUT(Submissions(m_server), QStringList{submitted}, 10000);
        QVERIFY(c.Globals().AutoLoginBusy);
        QCOMPARE(opener.Browser()->组合框_地址->itemText(opener.Browser()->组合框_地址->count() - 1),
                 m_server.Address(page));
        QCOMPARE(opener.Browser()->StatusPart(0), QStringLiteral("已自动登录"));
    }

    void sealedPasswordLogsIn_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("tries");
        QTest::addColumn<bool>("tampered");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("status");
        QTest::newRow("right primary password")
            << QStringLiteral("主密码") << 1 << false << QString() << QString();
        QTest::newRow("wrong primary password, three tries")
            << QStringLiteral("不对") << 3 << false << QStringLiteral("主密码不正确")
            << QStringLiteral("主密码不正确，未自动登录");
        QTest::newRow("changed sealed value")
            << QStringLiteral("主密码") << 1 << true << QStringLiteral("密码无法解密，数据可能已被改动。")
            << QStringLiteral("密码无法解密，未自动登录");
    }

    // The primary password is asked when the login needs it; the page receives the password itself,
    // or nothing at all.
    void sealedPasswordLogsIn()
    {
        QFETCH(QString, typed);
        QFETCH(int, tries);
        QFETCH(bool, tampered);
        QFETCH(QString, message);
        QFETCH(QString, status);
        m_server.requests.clear();
        Collection c;
        Prepare(c, m_server.Address(QStringLiteral("/login.html")), {"user", "pass", "0", "go", "0", "按钮"});
        c.Globals().Vault->SetPrimaryPasswordCost({1, 8192});
        QCOMPARE(c.Globals().Vault->SwitchTo(PasswordProtection::PrimaryPassword, QStringLiteral("主密码")),
                 VaultError::None);
        if (tampered)
            c.Execute(
                QStringLiteral("update 网址 set 密码 = substr(密码, 1, 20) || 'AAAA' || substr(密码, 25)"));
        c.Start();
        SelectRows(c.window(), {0});
        for (int i = 0; i < tries; ++i)
            c.services.passwordAnswers.enqueue(typed);
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        opener.OpenSelectedBookmark(1);
        if (message.isEmpty()) {
            QTRY_COMPARE_WITH_TIMEOUT(Submissions(m_server),
                                      QStringList{"/submit?username=zhang&notpass=&password=secret&locked="},
                                      10000);
            QCOMPARE(opener.Browser()->StatusPart(0), QStringLiteral("已自动登录"));
            QVERIFY(c.services.messages.isEmpty());
        } else {
            QTRY_COMPARE(opener.Browser()->StatusPart(0), status);
            QCOMPARE(c.services.messages.value(0).text, message);
            QTest::qWait(300);
            QVERIFY(Submissions(m_server).isEmpty());
        }
        QCOMPARE(c.services.passwordPrompts.size(), tries);
    }

    void backReturnsToTheLoginPage()
    {
        m_server.requests.clear();
        Collection c;
        const QString page = m_server.Address(QStringLiteral("/login.html"));
        Prepare(c, page, {"user", "pass", "0", "go", "0", "按钮"});
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        opener.OpenSelectedBookmark(1);
        BrowserWindow* browser = opener.Browser();
        QTRY_VERIFY_WITH_TIMEOUT(
            browser->网页框->url().path() == QStringLiteral("/submit") && browser->ReadyState() == 4, 10000);
        for (QAction* action : browser->工具条1->actions()) {
            if (action->text() == QStringLiteral("后退"))
                action->trigger();
        }
        QTRY_COMPARE_WITH_TIMEOUT(browser->网页框->url().toString(), page, 10000);
        QTRY_COMPARE(browser->组合框_地址->currentText(), page);
    }

    void noLoginDataClicksNothing()
    {
        m_server.requests.clear();
        Collection c;
        Prepare(c, m_server.Address(QStringLiteral("/login.html")), Login{"", "", "", "", "", "", "", ""});
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        opener.OpenSelectedBookmark(1);
        QTest::qWait(300);
        QVERIFY(Submissions(m_server).isEmpty());
        QCOMPARE(opener.Browser()->StatusPart(0), QString());
        QVERIFY(m_server.requests.contains(QStringLiteral("/login.html")));
    }

    // Opened again while minimised (or behind the main window), the browser window comes back in front.
    void openingShowsTheBrowserInFront()
    {
        Collection c;
        Prepare(c, m_server.Address(QStringLiteral("/login.html")), Login{"", "", "", "", "", "", "", ""});
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        opener.OpenSelectedBookmark(1);
        BrowserWindow* browser = opener.Browser();
        browser->showMinimized();
        c.window().activateWindow();
        QTRY_VERIFY(browser->isMinimized());
        opener.OpenSelectedBookmark(1);
        QVERIFY(!browser->isMinimized());
        QVERIFY(browser->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(browser));
    }

    void otherSiteAfterARedirectGetsNothing()
    {
        m_otherSite.requests.clear();
        Collection c;
        const QString elsewhere = m_otherSite.Address(QStringLiteral("/login.html"));
        Prepare(c, m_server.Address(QStringLiteral("/redirect?to=") + QUrl::toPercentEncoding(elsewhere)),
                {"user", "pass", "0", "go", "0", "按钮"});
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        opener.OpenSelectedBookmark(1);
        QCOMPARE(opener.Browser()->网页框->url(), QUrl(elsewhere));
        QTest::qWait(300);
        QVERIFY(Submissions(m_otherSite).isEmpty());
        QVERIFY(opener.Browser()->StatusPart(0).startsWith(QStringLiteral("打开的网页不属于书签的网站")));
    }

    void closingTheWindowEndsAWaitingLogin()
    {
        Collection c;
        Prepare(c, m_server.Address(QStringLiteral("/never")), {"user", "pass", "0", "go", "0", "按钮"});
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        QTimer::singleShot(1200, [&] { opener.Browser()->close(); });
        QElapsedTimer elapsed;
        elapsed.start();
        opener.OpenSelectedBookmark(1);
        QVERIFY(elapsed.elapsed() < 5000);
        QVERIFY(!c.Globals().AutoLoginBusy);
        QTRY_VERIFY(!opener.Browser());
        QVERIFY(c.services.messages.isEmpty());
    }

    void pageThatNeverCompletesIsGivenUp()
    {
        Collection c;
        Prepare(c, m_server.Address(QStringLiteral("/never")), {"user", "pass", "0", "go", "0", "按钮"});
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        opener.OpenSelectedBookmark(1);
        QVERIFY(!c.Globals().AutoLoginBusy);
        QVERIFY(c.services.messages.isEmpty());
        QCOMPARE(opener.Browser()->StatusPart(0), QStringLiteral("网页加载超时，未自动登录"));
    }

    void openingNeedsASelectedRow_data()
    {
        QTest::addColumn<QString>("item");
        QTest::newRow("default browser") << "打开网页";
        QTest::newRow("built-in browser") << "自带浏览器打开";
    }

    void openingNeedsASelectedRow()
    {
        QFETCH(QString, item);
        Collection c;
        c.Start();
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        Choose(c.window(), item);
        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text, QStringLiteral("请选择欲打开的网址!"));
        QCOMPARE(c.services.messages[0].title, QString());
        QVERIFY(!opener.Browser());
        QVERIFY(c.services.openedAddresses.isEmpty());
    }

    void defaultBrowserGetsTheAddress()
    {
        Collection c;
        c.Start();
        Choose(c.window(), QStringLiteral("使用自带浏览器"));
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        SelectRows(c.window(), {0});
        Choose(c.window(), QStringLiteral("打开网页"));
        QCOMPARE(c.services.openedAddresses.size(), 1);
        QVERIFY(!opener.Browser());
        QVERIFY(c.services.messages.isEmpty());

        // A desktop without a default browser: said, not only written to the console.
        c.services.hasDefaultBrowser = false;
        Choose(c.window(), QStringLiteral("打开网页"));
        QCOMPARE(c.services.messages.size(), 1);
        QVERIFY(c.services.messages[0].text.startsWith(QStringLiteral("无法用默认浏览器打开网页")));
        QCOMPARE(c.services.messages[0].icon, MessageStyle::ErrorIcon);
    }

    void browserWindowLayoutAndBookmarking()
    {
        Collection c;
        // No login data: the login page itself stays on show.
        Prepare(c, m_server.Address(QStringLiteral("/login.html")), Login{"", "", "", "", "", "", "", ""});
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        opener.OpenSelectedBookmark(1);
        BrowserWindow* browser = opener.Browser();
        QCOMPARE(browser->geometry(), QRect(50, 50, 1820, 980));

        browser->resize(900, 600);
        const QRect page = browser->网页框->geometry();
        QCOMPARE(browser->按钮_转到->geometry().right(), page.right() - 12);
        QCOMPARE(browser->组合框_地址->geometry().right() + 1 + 5, browser->按钮_转到->x());

        browser->全屏->trigger();
        QCOMPARE(browser->geometry(), QRect(0, 0, 1920, 1080));
        browser->全屏->trigger();
        QCOMPARE(browser->geometry(), QRect(50, 50, 1820, 980));

        // The page's own title names the bookmark.
        browser->组合框_地址->setEditText(m_server.Address(QStringLiteral("/other.html")));
        WhenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<ChangeCategoryDialog*>(modal);
            dialog->组合框_类型->setCurrentText(QStringLiteral("收藏夹"));
            dialog->按钮1->click();
        });
        c.Globals().BookmarkFromBrowser = false;
        for (QAction* action : browser->收藏菜单->actions()) {
            if (action->text() == QStringLiteral("收藏地址栏网址"))
                action->trigger();
        }
        QCOMPARE(
            c.Select(QStringLiteral("select 名称 || '|' || 分类 from 网址 where 地址 like '%other.html'")),
            QStringList{"登录测试|收藏夹"});
    }
};

QTEST_MAIN(AutoLoginTest)
#include "AutoLoginTest.moc"
