#include "SameSite.h"

#include <QTest>

class SameSiteTest : public QObject {
    Q_OBJECT

private slots:
    void sameSite_data()
    {
        QTest::addColumn<QString>("bookmark");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("same");
        QTest::newRow("same host") << "https://mail.example.com/login"
                                   << "https://mail.example.com/x?y" << true;
        QTest::newRow("host letter case") << "https://Mail.Example.com/"
                                          << "https://mail.example.com/" << true;
        QTest::newRow("sub-domain of the same site") << "https://example.com/"
                                                     << "https://login.example.com/" << true;
        QTest::newRow("chinese second level") << "http://mail.sina.com.cn/"
                                              << "http://login.sina.com.cn/" << true;
        QTest::newRow("other site under com.cn") << "http://mail.sina.com.cn/"
                                                 << "http://evil.com.cn/" << false;
        QTest::newRow("tenants of a shared suffix") << "https://mine.github.io/"
                                                    << "https://other.github.io/" << false;
        QTest::newRow("blog of another user") << "https://mine.blogspot.com/"
                                              << "https://other.blogspot.com/" << false;
        QTest::newRow("provincial chinese suffix") << "http://mine.sh.cn/"
                                                   << "http://other.sh.cn/" << false;
        QTest::newRow("inside one tenant") << "https://mine.github.io/"
                                           << "https://login.mine.github.io/" << true;
        QTest::newRow("the shared suffix itself") << "https://mine.github.io/"
                                                  << "https://github.io/" << false;
        QTest::newRow("international name") << "https://例子.中国/"
                                            << "https://登录.例子.中国/" << true;
        QTest::newRow("http to https on its own port") << "http://example.com:8080/"
                                                       << "https://example.com:8080/" << true;
        QTest::newRow("other site") << "https://example.com/"
                                    << "https://example.org/" << false;
        QTest::newRow("look-alike suffix") << "https://example.com/"
                                           << "https://example.com.evil.net/" << false;
        QTest::newRow("other port") << "http://127.0.0.1:8080/"
                                    << "http://127.0.0.1:8081/" << false;
        QTest::newRow("http to https") << "http://example.com/"
                                       << "https://example.com/" << true;
        QTest::newRow("https to http") << "https://example.com/"
                                       << "http://example.com/" << false;
        QTest::newRow("other address") << "http://127.0.0.1/"
                                       << "http://127.0.0.2/" << false;
        QTest::newRow("same local file") << "file:///tmp/a.html"
                                         << "file:///tmp/a.html#top" << true;
        QTest::newRow("other local file") << "file:///tmp/a.html"
                                          << "file:///tmp/b.html" << false;
        QTest::newRow("web to file") << "http://example.com/"
                                     << "file:///tmp/a.html" << false;
    }

    void registrableDomain_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("domain");
        QTest::newRow("chinese second level") << "mail.sina.com.cn"
                                              << "sina.com.cn";
        QTest::newRow("private suffix") << "a.mine.github.io"
                                        << "mine.github.io";
        QTest::newRow("suffix itself") << "github.io"
                                       << "github.io";
        QTest::newRow("address") << "127.0.0.1"
                                 << "127.0.0.1";
        QTest::newRow("letter case") << "WWW.Example.COM"
                                     << "example.com";
    }

    void registrableDomain()
    {
        QFETCH(QString, host);
        QFETCH(QString, domain);
        QCOMPARE(RegistrableDomain(host), domain);
    }

    void sameSite()
    {
        QFETCH(QString, bookmark);
        QFETCH(QString, page);
        QFETCH(bool, same);
        QCOMPARE(IsSameSite(QUrl(bookmark), QUrl(page)), same);
    }
};

QTEST_GUILESS_MAIN(SameSiteTest)
#include "SameSiteTest.moc"
