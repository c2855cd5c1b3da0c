#include "BookmarkOpener.h"
#include "BrowserWindow.h"
#include "LoginBookmark.h"
#include "LoopbackServer.h"
#include "WebFixture.h"

#include <QTest>
#include <QUrl>
#include <QWebEngineView>

// Automatic login on pages built like today's sites. Every case checks what the servers received:
// the bookmark's own (127.0.0.1, or mine.github.io mapped onto it) and another site's.
class LoginFinderTest : public QObject {
    Q_OBJECT

public:
    static void initMain()
    {
        WebFixture::PrepareEngine();
        WebFixture::MapHostsToLoopback();
    }

private:
    LoopbackServer m_site{QStringLiteral(QAVEX_TEST_PAGES)};
    LoopbackServer m_otherSite{QStringLiteral(QAVEX_TEST_PAGES)};

    // {site}: this site; {other}: another site (another port); {mine} and {tenant}: two tenants of
    // github.io, both served by this site's server.
    QString Expand(QString address) const
    {
        const QString port = QString::number(m_site.serverPort());
        address.replace(QStringLiteral("{site}"), m_site.Address({}));
        address.replace(QStringLiteral("{other}"), m_otherSite.Address({}));
        address.replace(QStringLiteral("{mine}"), QStringLiteral("http://mine.github.io:") + port);
        address.replace(QStringLiteral("{tenant}"), QStringLiteral("http://other.github.io:") + port);
        return address;
    }

    // What the login sent: form submissions, second steps, and keystrokes reported by a page.
    static QStringList Sent(const QStringList& requests)
    {
        QStringList sent;
        for (const QString& request : requests) {
            if (request.startsWith(QStringLiteral("/submit")) ||
                request.startsWith(QStringLiteral("/step2")) || request.startsWith(QStringLiteral("/typed")))
                sent.append(request);
        }
        return sent;
    }

    struct Run {
        QString status;
        QStringList sentHere;
        QStringList sentElsewhere;
    };

    Run Open(const QString& address, const Login& login)
    {
        m_site.requests.clear();
        m_site.requestHosts.clear();
        m_otherSite.requests.clear();
        Collection c;
        PrepareLoginBookmark(c, Expand(address), login, m_site.Address(QStringLiteral("/blank")));
        BookmarkOpener opener(c.window(), c.Globals(), c.services);
        opener.OpenSelectedBookmark(1);
        // A little longer, so that anything sent late would reach the servers too.
        QTest::qWait(200);
        Run run{opener.Browser()->StatusPart(0), Sent(m_site.RequestsTo(QStringLiteral("127.0.0.1"))), {}};
        run.sentHere += Sent(m_site.RequestsTo(QStringLiteral("mine.github.io")));
        run.sentElsewhere =
            Sent(m_otherSite.requests) + Sent(m_site.RequestsTo(QStringLiteral("other.github.io")));
        return run;
    }

private slots:
    void login_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<Login>("login");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QString>("status");
        const QString loggedIn = QStringLiteral("已自动登录");
        const QString notFound = QStringLiteral("未找到登录框，未自动登录");
        const QString unusable = QStringLiteral("登录框无法填写（禁用、只读或不是密码框），未自动登录");
        const QString otherSite = QStringLiteral("打开的网页不属于书签的网站，未自动登录：");
        const Login ids{"user", "pass", "0", "go", "0", "按钮"};
        const Login none{};
        const QStringList full{"/submit?username=zhang&password=secret"};

        QTest::newRow("form built 1.5 s after load") << "{site}/late.html" << ids << full << loggedIn;
        QTest::newRow("form rebuilt between fill and click") << "{site}/swap.html" << ids << full << loggedIn;
        QTest::newRow("no identifiers: found like a password manager")
            << "{site}/detect.html" << none << QStringList{"/submit?trap=&login=zhang&old=&pw=secret"}
            << loggedIn;
        QTest::newRow("no identifiers, late form") << "{site}/late.html" << none << full << loggedIn;
        QTest::newRow("password page of a site that knows the account")
            << "{site}/step2.html" << none << QStringList{"/step2.html", "/submit?password=secret"}
            << loggedIn;
        QTest::newRow("two steps, found")
            << "{site}/step1.html" << none
            << QStringList{"/step2.html?identifier=zhang&hidden-password=", "/submit?password=secret"}
            << loggedIn;
        QTest::newRow("two steps, by identifiers")
            << "{site}/step1.html" << Login{"identifier", "password", "0", "signin", "0", "按钮"}
            << QStringList{"/step2.html?identifier=zhang&hidden-password=", "/submit?password=secret"}
            << loggedIn;
        QTest::newRow("same-origin frame")
            << "{site}/frame.html" << ids
            << QStringList{"/submit?username=zhang&notpass=&password=secret&locked="} << loggedIn;
        QTest::newRow("same-origin frame, found")
            << "{site}/frame.html?src=/names.html" << none
            << QStringList{"/submit?username=zhang&password=secret&signin=go"} << loggedIn;
        QTest::newRow("account the page refuses (not an e-mail address)")
            << "{site}/refuse.html" << ids << QStringList()
            << QStringLiteral("网页不接受填写的登录信息，请查看网页上的提示");
        QTest::newRow("frame of another site")
            << "{site}/frame.html?src={other}/trap.html" << ids << QStringList() << notFound;
        QTest::newRow("password identifier on a text field")
            << "{site}/login.html" << Login{"user", "notpass", "0", "go", "0", "按钮"} << QStringList()
            << unusable;
        QTest::newRow("out-of-date password identifier: never sent without the password")
            << "{site}/login.html" << Login{"user", "oldpass", "0", "go", "0", "按钮"} << QStringList()
            << notFound;
        QTest::newRow("read-only account field")
            << "{site}/login.html" << Login{"locked", "pass", "0", "go", "0", "按钮"} << QStringList()
            << unusable;
        QTest::newRow("redirect to another site")
            << "{site}/redirect?to={other}/trap.html" << ids << QStringList() << otherSite + "127.0.0.1";
        QTest::newRow("redirect to another tenant of github.io")
            << "{mine}/redirect?to={tenant}/trap.html" << ids << QStringList()
            << otherSite + "other.github.io";
        QTest::newRow("inside one tenant of github.io")
            << "{mine}/login.html" << ids
            << QStringList{"/submit?username=zhang&notpass=&password=secret&locked="} << loggedIn;
    }

    void login()
    {
        QFETCH(QString, address);
        QFETCH(Login, login);
        QFETCH(QStringList, sent);
        QFETCH(QString, status);
        const Run run = Open(address, login);
        QCOMPARE(run.sentElsewhere, QStringList());
        QCOMPARE(run.status, status);
        QCOMPARE(run.sentHere.join(u' '), sent.join(u' '));
    }

    // Page shapes a password manager tells apart, with no identifiers stored unless the row says:
    // which form gets the login, which field the account, and what the status says.
    void pageShapes_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<Login>("login");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QString>("status");
        const QString loggedIn = QStringLiteral("已自动登录");
        const Login none{};
        const QStringList intoLogin{"/submit?login=zhang&trap=&pw=secret"};

        QTest::newRow("sign-up form before the login form")
            << "{site}/signup.html" << none << QStringList{"/submit?user=zhang&pw=secret"} << loggedIn;
        QTest::newRow("sign-up form after the login form")
            << "{site}/signup.html?login=after" << none << QStringList{"/submit?user=zhang&pw=secret"}
            << loggedIn;
        QTest::newRow("sign-up form only") << "{site}/signup.html?login=none" << none << QStringList()
                                           << QStringLiteral("此页只有注册表单，未自动登录");
        QTest::newRow("password change only") << "{site}/change.html" << none << QStringList()
                                              << QStringLiteral("此页只有修改密码表单，未自动登录");
        Login byMail;
        byMail.account = QStringLiteral("zhang@mail.cn");
        QTest::newRow("search, newsletter, e-mail login among url, card and promo fields")
            << "{site}/portal.html" << byMail
            << QStringList{"/submit?mail=zhang%40mail.cn&home=&card=&promo=&pw=secret"} << loggedIn;
        QTest::newRow("phone number before a picture-code field")
            << "{site}/phone.html" << none << QStringList{"/submit?phone=zhang&captcha=&pw=secret"}
            << loggedIn;
        QTest::newRow("lone account field in a form named login")
            << "{site}/loginstep.html" << none
            << QStringList{"/step2.html?u=zhang", "/submit?password=secret"} << loggedIn;
        for (const char* trap : {"offscreen", "clipped", "tiny", "covered", "aria", "inert"})
            QTest::addRow("password trap: %s", trap)
                << QStringLiteral("{site}/traps.html?trap=%1").arg(QString::fromLatin1(trap)) << none
                << intoLogin << loggedIn;
        QTest::newRow("stored identifier naming a trap")
            << "{site}/traps.html?trap=offscreen" << Login{"login", "trap", "0", "", "", ""} << QStringList()
            << QStringLiteral("书签记下的登录框是一个看不见、无法输入的输入框，未自动登录");
        QTest::newRow("login form in a shadow root")
            << "{site}/shadow.html" << none << QStringList{"/submit?user=zhang&pw=secret"} << loggedIn;
        QTest::newRow("formless login sent by the page's script")
            << "{site}/formless.html" << none << QStringList{"/submit?user=zhang&pass=secret"} << loggedIn;
        QTest::newRow("formless login whose button sends nothing")
            << "{site}/formless.html?send=no" << none << QStringList()
            << QStringLiteral("已填写登录信息，未看到提交");
        QTest::newRow("account field after the password")
            << "{site}/after.html" << none << QStringList{"/submit?nick=&pw=secret&user=zhang"} << loggedIn;
        QTest::newRow("account longer than its field takes")
            << "{site}/maxlength.html" << none << QStringList()
            << QStringLiteral("账号或密码比登录框允许的长度还长，未自动登录");
        QTest::newRow("one-time code asked after the password")
            << "{site}/codeflow.html" << none << QStringList{"/submit/code.html?user=zhang&pw=secret"}
            << QStringLiteral("请输入验证码");
    }

    void pageShapes() { login(); }

    // A page that goes to another site by itself at moments around the fill and the click: the
    // other site never receives a keystroke or a submission.
    void pageLeavingForAnotherSite_data()
    {
        QTest::addColumn<int>("delay");
        for (int delay : {0, 300, 430, 470, 500, 530, 550, 600})
            QTest::addRow("after %d ms", delay) << delay;
    }

    void pageLeavingForAnotherSite()
    {
        QFETCH(int, delay);
        const Run run = Open(QStringLiteral("{site}/leave.html?delay=%1&to={other}/trap.html").arg(delay),
                             Login{"user", "pass", "0", "go", "0", "按钮"});
        QCOMPARE(run.sentElsewhere, QStringList());
        // Here, the form goes out whole or not at all: a click an instant before the page leaves
        // may be overtaken by the page's own navigation, and then nobody receives anything.
        if (!run.sentHere.isEmpty())
            QCOMPARE(run.sentHere, QStringList{"/submit?username=zhang&password=secret"});
        if (!run.status.startsWith(QStringLiteral("打开的网页不属于书签的网站")))
            QCOMPARE(run.status, QStringLiteral("已自动登录"));
    }
};

QTEST_MAIN(LoginFinderTest)
#include "LoginFinderTest.moc"
