#include "FailureExplanation.h"

#include <QTest>

// Library messages as libpq 15 and QtKeychain word them.
class FailureExplanationTest : public QObject {
    Q_OBJECT

private slots:
    void serverMessages_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("cause");
        const auto row = [](const char* name, const char* message, const char* cause) {
            QTest::newRow(name) << QString::fromUtf8(message) << QString::fromUtf8(cause);
        };
        row("wrong password",
            "connection to server at \"db.example.cn\" (10.0.0.5), port 5432 failed: FATAL:  password "
            "authentication failed for user \"qavex\"",
            "用户名或密码不正确");
        row("no password", "fe_sendauth: no password supplied", "服务器要求密码，但没有提供");
        row("unknown host",
            "could not translate host name \"db.exmaple.cn\" to address: Name or service not known",
            "找不到这个主机");
        row("no database",
            "connection to server on socket \"/tmp/.s.PGSQL.5432\" failed: FATAL:  database \"收藏\" does "
            "not exist",
            "服务器上没有这个数据库");
        // The database named in a refusal is not a missing one.
        row("refused database", "FATAL:  permission denied for database \"qavex\"", "这个用户没有所需的权限");
        row("no role", "FATAL:  role \"guest\" does not exist", "服务器上没有这个用户");
        row("pg_hba",
            "FATAL:  no pg_hba.conf entry for host \"10.0.0.9\", user \"qavex\", database \"qavex\", no "
            "encryption",
            "服务器不允许从这台电脑连接");
        row("lost",
            "server closed the connection unexpectedly\n\tThis probably means the server terminated "
            "abnormally",
            "与服务器的连接中断了");
        row("timeout", "connection to server at \"10.0.0.5\", port 5432 failed: timeout expired",
            "服务器没有及时回应");
        row("unknown", "ERROR:  something no one foresaw", "服务器没有接受连接或请求");
    }

    void serverMessages()
    {
        QFETCH(QString, message);
        QFETCH(QString, cause);
        const QString said = FailureExplanation::Server(QStringLiteral("无法连接数据库服务器"), message);
        QVERIFY2(said.startsWith(QStringLiteral("无法连接数据库服务器：") + cause + u'。'), qPrintable(said));
        QVERIFY(said.endsWith(QStringLiteral("\n\n详细信息：") + message.trimmed()));
    }

    void keyringMessages_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("cause");
        QTest::newRow("no session bus")
            << QStringLiteral("Failed to execute child process “dbus-launch” (No such file or directory)")
            << QStringLiteral("系统密钥环不可用");
        QTest::newRow("no answer") << QStringLiteral("timeout") << QStringLiteral("系统密钥环没有回应");
        QTest::newRow("refused") << QStringLiteral("Access to keychain denied")
                                 << QStringLiteral("没有得到使用系统密钥环的许可");
    }

    // Storing a key can fall back on the primary password; reading one the passwords need cannot.
    void keyringMessages()
    {
        QFETCH(QString, message);
        QFETCH(QString, cause);
        const QString write = FailureExplanation::KeyringWrite(message);
        QVERIFY2(write.startsWith(QStringLiteral("无法把密码的密钥存入系统密钥环：") + cause + u'。'),
                 qPrintable(write));
        QVERIFY(write.contains(QStringLiteral("可改用主密码")));
        QVERIFY(write.endsWith(QStringLiteral("详细信息：") + message));
        const QString read = FailureExplanation::KeyringRead(message);
        QVERIFY(read.startsWith(QStringLiteral("无法从系统密钥环取得密码的密钥：") + cause + u'。'));
        QVERIFY(!read.contains(QStringLiteral("主密码")));
        QVERIFY(FailureExplanation::KeyringServerPassword(message).contains(QStringLiteral("~/.pgpass")));
    }

    void noDetailNoTail()
    {
        QCOMPARE(FailureExplanation::WithDetail(QStringLiteral("无法读取网址列表"), QStringLiteral("  ")),
                 QStringLiteral("无法读取网址列表"));
    }
};

QTEST_GUILESS_MAIN(FailureExplanationTest)
#include "FailureExplanationTest.moc"
