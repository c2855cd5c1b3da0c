#include "BuiltInTexts.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "ProgramGlobals.h"
#include "ScriptedRuntimeServices.h"
#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class StartUpTest : public QObject {
    Q_OBJECT

private:
    static QString Program()
    {
        return QDir(qEnvironmentVariable("QAVEX_TEST_BINARY_DIR")).filePath(QStringLiteral("qavex"));
    }

    // The launcher and the program library in a directory of their own: that is the collection's.
    static QString InstallInto(const QTemporaryDir& dir)
    {
        const QString program = dir.filePath(QStringLiteral("qavex"));
        QFile::copy(Program(), program);
        QFile::copy(QDir(qEnvironmentVariable("QAVEX_TEST_BINARY_DIR")).filePath(QStringLiteral("corvl.qrt")),
                    dir.filePath(QStringLiteral("corvl.qrt")));
        return program;
    }

    // Asks the qavex serving `directory` to come to the front, as a second start does.
    static bool Answers(const QString& directory)
    {
        QLocalSocket socket;
        socket.connectToServer(SingleInstance::ServerName(directory));
        if (!socket.waitForConnected(3000))
            return false;
        socket.write("raise\n");
        return socket.waitForReadyRead(3000) && socket.readLine() == "raised\n";
    }

private slots:
    void secondStartOfACollectionRaisesTheFirst()
    {
        QTemporaryDir dir;
        const QString program = InstallInto(dir);
        QProcess first;
        first.start(program, {});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(Answers(dir.path()), 20000);

        QProcess second;
        second.start(program, {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        // Another collection is another qavex.
        QTemporaryDir other;
        QProcess third;
        third.start(InstallInto(other), {});
        QVERIFY(third.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(Answers(other.path()), 20000);
        QCOMPARE(third.state(), QProcess::Running);
        third.terminate();
        QVERIFY(third.waitForFinished(20000));

        // A crashed run leaves its socket behind; the next start takes it over instead of obeying it.
        first.kill();
        QVERIFY(first.waitForFinished(20000));
        QVERIFY(!Answers(dir.path()));
        QProcess after;
        after.start(program, {});
        QVERIFY(after.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(Answers(dir.path()), 20000);
        QCOMPARE(after.state(), QProcess::Running);
        after.terminate();
        QVERIFY(after.waitForFinished(20000));
        QCOMPARE(after.exitCode(), 0);
    }

    void firstStartCreatesBothFilesAndLaterStartsNothing()
    {
        QTemporaryDir dir;
        ScriptedRuntimeServices services(dir.path());
        {
            ProgramGlobals globals;
            MainWindow window(globals, services);
            QCOMPARE(window.windowTitle(), BuiltInTexts::Caption());
            QVERIFY(globals.Database->IsOpen());
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"qavex.ini", "qavex.mdb"}));
        const QDateTime created = QFileInfo(dir.filePath(QStringLiteral("qavex.mdb"))).lastModified();
        {
            ProgramGlobals globals;
            MainWindow window(globals, services);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"qavex.ini", "qavex.mdb"}));
        QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("qavex.mdb"))).lastModified(), created);
        QVERIFY(services.messages.isEmpty());
    }

    void foreignDatabaseFileIsReportedAndKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x00\x01\x00\x00Standard Jet DB", 19);
        file.close();

        ScriptedRuntimeServices services(dir.path());
        {
            ProgramGlobals globals;
            MainWindow window(globals, services);
            QVERIFY(!globals.Database->IsOpen());
        }
        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(services.messages[0].text, QStringLiteral("无法打开数据库文件：") + path);
        QCOMPARE(services.messages[0].icon, MessageStyle::ErrorIcon);
        QCOMPARE(services.messages[0].title, QStringLiteral("错误："));
        QCOMPARE(QFileInfo(path).size(), 19);
    }

    // The real program, in a directory of its own: a signal ends it like closing its window does.
    void terminationSignalClosesTheWindow_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }

    void terminationSignalClosesTheWindow()
    {
        QFETCH(int, signal);
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("qavex"));
        QVERIFY(QFile::copy(Program(), program));
        QVERIFY(QFile::copy(
            QDir(qEnvironmentVariable("QAVEX_TEST_BINARY_DIR")).filePath(QStringLiteral("corvl.qrt")),
            dir.filePath(QStringLiteral("corvl.qrt"))));

        QProcess process;
        process.start(program, {});
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(dir.filePath(QStringLiteral("qavex.ini"))), 20000);
        QTest::qWait(300);
        ::kill(pid_t(process.processId()), signal);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        // The window's closing stored the selected category: "显示全部", after the default bookmark's.
        QCOMPARE(
            IniFile(dir.filePath(QStringLiteral("qavex.ini")))
                .Read(Settings::CurrentCategory.section, Settings::CurrentCategory.key, QStringLiteral("x")),
            QStringLiteral("1"));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("qavex.mdb"))));
    }
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
