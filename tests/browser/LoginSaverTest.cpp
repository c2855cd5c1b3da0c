#include "BookmarkListModel.h"
#include "BookmarkOpener.h"
#include "BrowserWindow.h"
#include "ChangeCategoryDialog.h"
#include "LoginBookmark.h"
#include "LoopbackServer.h"
#include "SaveLoginBar.h"
#include "WebFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWebEngineView>

// A login sent by hand in the browser window is offered for keeping, and kept only on a yes.
class LoginSaverTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { WebFixture::PrepareEngine(); }

private:
    LoopbackServer m_site{QStringLiteral(QAVEX_TEST_PAGES)};
    LoopbackServer m_otherSite{QStringLiteral(QAVEX_TEST_PAGES)};
    const QString m_login = QStringLiteral("/login.html");

    // The user types into the page and presses its button.
    static void LogInByHand(BrowserWindow& browser, const QString& account, const QString& password)
    {
        browser.网页框->page()->runJavaScript(QStringLiteral("document.getElementById('user').value = '%1';"
                                                             "document.getElementById('pass').value = '%2';"
                                                             "document.getElementById('go').click();")
                                                  .arg(account, password));
        QTRY_COMPARE(browser.网页框->url().path(), QStringLiteral("/submit"));
    }

    static BrowserWindow& OpenWithoutLogin(BookmarkOpener& opener)
    {
        // Returns once the page has loaded: the bookmark has no login to wait for.
        opener.OpenSelectedBookmark(1);
        return *opener.Browser();
    }

    QStringList Stored(Collection& c) const
    {
        return c.Select(
            QStringLiteral("select 账号 || '|' || 密码 || '|' || 账号标识 || '|' || 密码标识 || '|' || "
                           "标识类型 || '|' || 按钮标识 || '|' || 按钮标识类型 || '|' || 控件类型 "
                           "from 网址 order by ID"));
    }

private slots:
    void keptOnYesOnly_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("yes") << true << QStringList{"zhang|secret|user|pass|0|go|0|按钮"};
        QTest::newRow("no") << false << QStringList{"|||||||"};
    }

    void keptOnYesOnly()
    {
        QFETCH(bool, yes);
        QFETCH(QStringList, stored);
        Collection c;
        PrepareLoginBookmark(c, m_site.Address(m_login), Login{"", "", "", "", "", "", "", ""},
                             m_site.Address(QStringLiteral("/blank")));
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        BrowserWindow& browser = OpenWithoutLogin(opener);
        QVERIFY(!browser.保存登录栏->isVisible());

        LogInByHand(browser, QStringLiteral("zhang"), QStringLiteral("secret"));
        QTRY_VERIFY(browser.保存登录栏->isVisible());
        QCOMPARE(browser.保存登录栏->问题->text(), QStringLiteral("是否保存此网站的登录信息？"));
        // The page is not covered by the question: it moves down below it.
        QCOMPARE(browser.网页框->y(), browser.保存登录栏->geometry().bottom() + 1);
        QCOMPARE(Stored(c), QStringList{"|||||||"});

        (yes ? browser.保存登录栏->按钮_是 : browser.保存登录栏->按钮_否)->click();
        QVERIFY(!browser.保存登录栏->isVisible());
        QCOMPARE(Stored(c), stored);
        QCOMPARE(c.window().Bookmarks().RowAt(0).hasLogin, yes);

        // Asked once: the same login again, kept or declined, is not asked about.
        browser.组合框_地址->setEditText(m_site.Address(m_login));
        browser.GoToAddress();
        QTRY_VERIFY(browser.ReadyState() == 4);
        LogInByHand(browser, QStringLiteral("zhang"), QStringLiteral("secret"));
        QTest::qWait(300);
        QVERIFY(!browser.保存登录栏->isVisible());
    }

    // Under a primary password: the save asks for it then, and stores the password sealed.
    void protectedLoginIsSealed()
    {
        Collection c;
        PrepareLoginBookmark(c, m_site.Address(m_login), Login{"", "", "", "", "", "", "", ""},
                             m_site.Address(QStringLiteral("/blank")));
        c.Globals().Vault->SetPrimaryPasswordCost({1, 8192});
        QCOMPARE(c.Globals().Vault->SwitchTo(PasswordProtection::PrimaryPassword, QStringLiteral("主密码")),
                 VaultError::None);
        c.Start();
        SelectRows(c.window(), {0});
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        BrowserWindow& browser = OpenWithoutLogin(opener);
        LogInByHand(browser, QStringLiteral("zhang"), QStringLiteral("secret"));
        QTRY_VERIFY(browser.保存登录栏->isVisible());
        QVERIFY(c.services.passwordPrompts.isEmpty());
        c.services.passwordAnswers.enqueue(QStringLiteral("主密码"));
        browser.保存登录栏->按钮_是->click();
        QCOMPARE(c.services.passwordPrompts.size(), 1);
        const QString stored = c.Select(QStringLiteral("select 密码 from 网址")).value(0);
        QVERIFY2(stored.startsWith(QStringLiteral("qvx1:")), qPrintable(stored));
        QCOMPARE(c.Globals().Vault->Open(stored), QStringLiteral("secret"));
        QCOMPARE(browser.StatusPart(0), QStringLiteral("已保存登录信息"));
    }

    // Of two bookmarks of the site, the login page's own gets the login, even when the other holds
    // the same account already.
    void theLoginPagesBookmarkGetsIt()
    {
        Collection c;
        c.Seed({QStringLiteral("网站")},
               {{QStringLiteral("别的页"),
                 m_site.Address(QStringLiteral("/names.html")),
                 QStringLiteral("网站"),
                 {},
                 QStringLiteral("zhang")},
                {QStringLiteral("登录页"), m_site.Address(m_login), QStringLiteral("网站"), {}, {}}});
        c.WriteSettings(
            QStringLiteral("[记录]\nIE地址=%1\n").arg(m_site.Address(QStringLiteral("/blank"))).toUtf8());
        c.Start();
        SelectRows(c.window(), {1});
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        BrowserWindow& browser = OpenWithoutLogin(opener);
        LogInByHand(browser, QStringLiteral("zhang"), QStringLiteral("secret"));
        QTRY_VERIFY(browser.保存登录栏->isVisible());
        QVERIFY(browser.保存登录栏->详情->text().contains(QStringLiteral("登录页")));
        browser.保存登录栏->按钮_是->click();
        QCOMPARE(c.Select(QStringLiteral("select 名称 || '|' || ifnull(密码, '') from 网址 order by ID")),
                 (QStringList{"别的页|", "登录页|secret"}));
        QCOMPARE(browser.StatusPart(0), QStringLiteral("已保存登录信息"));
    }

    void siteWithoutBookmarkGetsOne()
    {
        Collection c;
        PrepareLoginBookmark(c, m_otherSite.Address(m_login), Login{"", "", "", "", "", "", "", ""},
                             m_site.Address(QStringLiteral("/blank")));
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        BrowserWindow& browser = OpenWithoutLogin(opener);
        browser.组合框_地址->setEditText(m_site.Address(m_login));
        browser.GoToAddress();
        QTRY_VERIFY(browser.ReadyState() == 4);

        LogInByHand(browser, QStringLiteral("li"), QStringLiteral("hidden"));
        QTRY_VERIFY(browser.保存登录栏->isVisible());
        QCOMPARE(browser.保存登录栏->问题->text(),
                 QStringLiteral("此网站还没有书签，是否添加书签并保存登录信息？"));
        WhenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<ChangeCategoryDialog*>(modal);
            dialog->组合框_类型->setCurrentText(QStringLiteral("登录"));
            dialog->按钮1->click();
        });
        browser.保存登录栏->按钮_是->click();
        QCOMPARE(
            c.Select(QStringLiteral("select 名称 || '|' || 地址 || '|' || 分类 || '|' || 账号 || '|' || 密码 "
                                    "from 网址 where 分类 = '登录'")),
            QStringList{QStringLiteral("登录测试|%1|登录|li|hidden").arg(m_site.Address(m_login))});
    }
};

QTEST_MAIN(LoginSaverTest)
#include "LoginSaverTest.moc"
