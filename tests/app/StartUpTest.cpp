#include "StartUp.h"
#include "BuiltInTexts.h"
#include "FrozenKeyring.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "PasswordProtectionDialog.h"
#include "ProgramGlobals.h"
#include "QtRuntimeServices.h"
#include "Requirement.h"
#include "ScriptedRuntimeServices.h"
#include "SilentServer.h"
#include "SingleInstance.h"
#include "StorageNames.h"
#include "SystemKeyring.h"
#include "TerminationSignals.h"
#include "WorkProgress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

const char* const MomentArgument = "--moment";

void SayReady()
{
    std::puts("ready");
    std::fflush(stdout);
}

// The program's own start sequence (StartUp, real message boxes and dialogs) in a process of its
// own, held at one moment until a signal comes: a message box, a dialog, or long work writing
// under a progress dialog.
int RunMoment(int argc, char** argv)
{
    const QByteArray moment = argv[2];
    const QString directory = QString::fromLocal8Bit(argv[3]);
    QApplication app(argc, argv);
    TerminationSignals termination;
    ProgramGlobals globals;
    QtRuntimeServices services(directory);
    return StartUp([&]() -> QWidget* {
        auto* window = new MainWindow(globals, services);
        QTimer::singleShot(0, window, [&, window] {
            // Said from inside the moment's own loop: the moment is on screen.
            QTimer::singleShot(200, SayReady);
            if (moment == "box") {
                services.ShowMessage(QStringLiteral("确定吗？"), MessageStyle::YesNo, {}, window);
            } else if (moment == "dialog") {
                PasswordProtectionDialog dialog(*globals.Vault, *globals.Database, services, window);
                dialog.exec();
            } else if (moment == "keyring") {
                // The window waits for the Secret Service (stopped by the test meanwhile).
                SystemKeyring().Read(QStringLiteral("任意"));
            } else if (moment == "progress") {
                RecordTable& database = *globals.Database;
                WorkProgress progress(window, QStringLiteral("写入"), 0);
                database.BeginTransaction();
                bool goOn = true;
                for (int i = 0; goOn; ++i) {
                    database.Insert(Tables::Bookmarks, QStringLiteral("名称,地址"),
                                    {QStringLiteral("半途"), QStringLiteral("https://half.cn/%1").arg(i)});
                    goOn = progress.Step(i, 0);
                }
                database.Rollback();
            }
        });
        return window;
    });
}

} // namespace

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

    struct Outcome {
        int status = -1;
        QString out;
        QString err;
    };

    static Outcome RunVerb(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.setWorkingDirectory(QFileInfo(program).path());
        // No display: the verbs need none.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        if (!process.waitForFinished(30000))
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    // Sends the signal; the process must end by itself, with status 0.
    static void EndsInOrder(QProcess& process, int signal)
    {
        ::kill(pid_t(process.processId()), signal);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }

    static QByteArray FileBytes(const QString& path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    static QString StoredCategory(const QTemporaryDir& dir)
    {
        return IniFile(dir.filePath(QStringLiteral("qavex.ini")))
            .Read(Settings::CurrentCategory.section, Settings::CurrentCategory.key, QStringLiteral("x"));
    }

private slots:
    void commandLineVerbs_data()
    {
        QTest::addColumn<QString>("collection"); // none, foreign, stored
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        QTest::newRow("help") << "none" << QStringList{"--help"} << 0 << "用法：qavex";
        QTest::newRow("version") << "none" << QStringList{"--version"} << 0 << "qavex 0.1";
        QTest::newRow("unknown") << "none" << QStringList{"--bogus"} << 2 << "参数不对：--bogus";
        QTest::newRow("export without a file") << "stored" << QStringList{"--export"} << 2 << "用法";
        QTest::newRow("check, no collection") << "none" << QStringList{"--check"} << 1 << "没有收藏";
        QTest::newRow("check, a foreign file")
            << "foreign" << QStringList{"--check"} << 1 << "不是 qavex 的数据库文件";
        QTest::newRow("check") << "stored" << QStringList{"--check"} << 0 << "数据库完好";
        QTest::newRow("export, a foreign file")
            << "foreign" << QStringList{"--export", "out.txt"} << 1 << "不是 qavex 的数据库文件";
        QTest::newRow("export, unwritable")
            << "stored" << QStringList{"--export", "/no/such/dir/out.txt"} << 1 << "无法写入文件";
        QTest::newRow("export as text")
            << "stored" << QStringList{"--export", "out.txt"} << 0 << "已导出 2 个网址";
        QTest::newRow("import, missing file")
            << "stored" << QStringList{"--import", "missing.txt"} << 1 << "无法打开文件";
        QTest::newRow("import, a foreign file")
            << "foreign" << QStringList{"--import", "in.txt"} << 1 << "不是 qavex 的数据库文件";
        QTest::newRow("import again: repeats") << "stored" << QStringList{"--import", "in.txt"} << 0
                                               << "已导入 0 个网址，2 个已经收藏过的网址未导入";
    }

    void commandLineVerbs()
    {
        QTemporaryDir dir;
        const QString program = InstallInto(dir);
        QFile in(dir.filePath(QStringLiteral("in.txt")));
        QVERIFY(in.open(QIODevice::WriteOnly));
        in.write("甲|https://a.cn/|工作|备注\r\n乙|https://b.cn/|新闻|\r\n");
        in.close();
        QFETCH(QString, collection);
        if (collection == QStringLiteral("foreign")) {
            QFile foreign(dir.filePath(QStringLiteral("qavex.mdb")));
            QVERIFY(foreign.open(QIODevice::WriteOnly));
            foreign.write("not a database");
        } else if (collection == QStringLiteral("stored")) {
            const Outcome imported = RunVerb(program, {QStringLiteral("--import"), QStringLiteral("in.txt")});
            QCOMPARE(imported.status, 0);
            QCOMPARE(imported.out.trimmed(), QStringLiteral("已导入 2 个网址"));
        }
        QFETCH(QStringList, arguments);
        const Outcome outcome = RunVerb(program, arguments);
        QTEST(outcome.status, "status");
        QFETCH(QString, said);
        QVERIFY2((outcome.status == 0 ? outcome.out : outcome.err).contains(said),
                 qPrintable(outcome.out + outcome.err));
        if (arguments == QStringList{"--export", "out.txt"} && outcome.status == 0) {
            QFile out(dir.filePath(QStringLiteral("out.txt")));
            QVERIFY(out.open(QIODevice::ReadOnly));
            QCOMPARE(out.readAll(), QByteArray("甲|https://a.cn/|工作|备注\r\n乙|https://b.cn/|新闻|\r\n"));
        }
        if (collection == QStringLiteral("foreign")) {
            QFile foreign(dir.filePath(QStringLiteral("qavex.mdb")));
            QVERIFY(foreign.open(QIODevice::ReadOnly));
            QCOMPARE(foreign.readAll(), QByteArray("not a database"));
        }
    }

    void importIsRefusedWhileTheWindowRuns()
    {
        QTemporaryDir dir;
        const QString program = InstallInto(dir);
        QProcess window;
        window.start(program, {});
        QVERIFY(window.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(Answers(dir.path()), 20000);
        QFile in(dir.filePath(QStringLiteral("in.txt")));
        QVERIFY(in.open(QIODevice::WriteOnly));
        in.write("甲|https://a.cn/|工作|\r\n");
        in.close();
        const Outcome refused = RunVerb(program, {QStringLiteral("--import"), QStringLiteral("in.txt")});
        QCOMPARE(refused.status, 1);
        QVERIFY(refused.err.contains(QStringLiteral("qavex 正在使用这个收藏")));
        // Reading is safe beside it.
        QCOMPARE(RunVerb(program, {QStringLiteral("--check")}).status, 0);
        window.terminate();
        QVERIFY(window.waitForFinished(20000));
    }

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

    // A qavex of the collection that takes connections but does not answer (busy) is never taken
    // over: the second start says so and leaves its socket and the collection alone.
    void slowInstanceIsNotTakenOver()
    {
        QTemporaryDir dir;
        const QString program = InstallInto(dir);
        SingleInstance holder(dir.path());
        QVERIFY(holder.HoldCollection());
        QLocalServer first;
        QVERIFY(first.listen(SingleInstance::ServerName(dir.path())));
        QProcess second;
        second.start(program, {});
        QVERIFY(second.waitForStarted());
        QTest::qWait(8000);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("qavex.mdb"))));
        QLocalSocket socket;
        socket.connectToServer(SingleInstance::ServerName(dir.path()));
        QVERIFY(socket.waitForConnected(3000));
        QTRY_VERIFY(first.hasPendingConnections());
        if (second.state() != QProcess::NotRunning)
            EndsInOrder(second, SIGTERM);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("qavex.mdb"))));
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

    void terminationSignalAtAnyMoment_data()
    {
        QTest::addColumn<QByteArray>("moment");
        QTest::newRow("message box") << QByteArray("box");
        QTest::newRow("dialog") << QByteArray("dialog");
        QTest::newRow("progress dialog, writing") << QByteArray("progress");
    }

    // Whatever is open, SIGTERM ends with status 0: the window closed in order (its state saved),
    // the work's transaction rolled back.
    void terminationSignalAtAnyMoment()
    {
        QFETCH(QByteArray, moment);
        QTemporaryDir dir;
        QProcess process;
        process.start(QCoreApplication::applicationFilePath(),
                      {QString::fromLatin1(MomentArgument), QString::fromLatin1(moment), dir.path()});
        QVERIFY(process.waitForStarted());
        QVERIFY(process.waitForReadyRead(20000));
        QCOMPARE(process.readAllStandardOutput(), QByteArray("ready\n"));
        EndsInOrder(process, SIGTERM);
        QCOMPARE(StoredCategory(dir), QStringLiteral("1"));
        RecordTable records;
        QVERIFY(records.Open(dir.filePath(QStringLiteral("qavex.mdb"))));
        QCOMPARE(records.Query(Tables::Bookmarks, QStringLiteral("ID"), QStringLiteral("名称='半途'")),
                 RecordSet(0));
    }

    // Whatever the window waits for beside it, SIGTERM ends qavex with status 0 and nothing changed:
    // a server that never answers (at start), the reader of a Windows database (at start), the
    // Secret Service.
    void terminationSignalDuringAWait_data()
    {
        QTest::addColumn<QByteArray>("wait");
        QTest::newRow("server") << QByteArray("server");
        QTest::newRow("Windows database") << QByteArray("legacy");
        QTest::newRow("Secret Service") << QByteArray("keyring");
    }

    void terminationSignalDuringAWait()
    {
        QFETCH(QByteArray, wait);
        QTemporaryDir dir;
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QString legacy = dir.filePath(QStringLiteral("qavex.mdb"));
        const QString started = dir.filePath(QStringLiteral("reader-started"));
        SilentServer silent;
        std::optional<FrozenKeyring> frozen;
        if (wait == "server") {
            QFile settings(dir.filePath(QStringLiteral("qavex.ini")));
            QVERIFY(settings.open(QIODevice::WriteOnly));
            settings.write(
                QStringLiteral("[数据库]\n位置=PostgreSQL 服务器\n主机=127.0.0.1\n端口=%1\n数据库名=qavex\n"
                               "用户名=qavex\n")
                    .arg(silent.serverPort())
                    .toUtf8());
            settings.close();
            process.start(InstallInto(dir), {});
            QTRY_VERIFY_WITH_TIMEOUT(
                silent.hasPendingConnections() || !silent.findChildren<QTcpSocket*>().isEmpty(), 20000);
        } else if (wait == "legacy") {
            const QString fixture = QStringLiteral(QAVEX_SHARED_DIR "/fixtures/legacy/qavex.mdb");
            QAVEX_REQUIRE(QFile::exists(fixture), fixture);
            QVERIFY(QFile::copy(fixture, legacy));
            const QString reader = dir.filePath(QStringLiteral("slow-reader.sh"));
            QFile script(reader);
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write(QStringLiteral("#!/bin/sh\necho $$ > '%1'\nexec sleep 30\n").arg(started).toUtf8());
            script.close();
            QFile::setPermissions(reader, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            environment.insert(QStringLiteral("QAVEX_JET_READER"), reader);
            process.setProcessEnvironment(environment);
            process.start(InstallInto(dir), {});
            QTRY_VERIFY_WITH_TIMEOUT(!FileBytes(started).isEmpty(), 20000);
        } else {
            frozen.emplace();
            QAVEX_REQUIRE(frozen->Frozen(), QStringLiteral("no Secret Service on the session bus"));
            process.start(QCoreApplication::applicationFilePath(),
                          {QString::fromLatin1(MomentArgument), QString::fromLatin1(wait), dir.path()});
            QVERIFY(process.waitForReadyRead(20000));
        }
        QVERIFY(process.waitForStarted());
        QTest::qWait(300);
        EndsInOrder(process, SIGTERM);
        if (wait == "server")
            QVERIFY(!QFile::exists(legacy));
        if (wait == "legacy")
            QCOMPARE(FileBytes(legacy),
                     FileBytes(QStringLiteral(QAVEX_SHARED_DIR "/fixtures/legacy/qavex.mdb")));
    }

    // The real program, with a message at start (a foreign database file): the signal is taken
    // already, and the file is kept.
    void terminationSignalDuringTheStartMessage()
    {
        QTemporaryDir dir;
        const QString program = InstallInto(dir);
        QFile file(dir.filePath(QStringLiteral("qavex.mdb")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\x00\x01\x00\x00Standard Jet DB", 19);
        file.close();
        QProcess process;
        process.start(program, {});
        QVERIFY(process.waitForStarted());
        QTest::qWait(1500);
        EndsInOrder(process, SIGTERM);
        QCOMPARE(QFileInfo(file.fileName()).size(), 19);
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
        EndsInOrder(process, signal);
        // The window's closing stored the selected category: "显示全部", after the default bookmark's.
        QCOMPARE(StoredCategory(dir), QStringLiteral("1"));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("qavex.mdb"))));
    }
};

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], MomentArgument) == 0)
        return RunMoment(argc, argv);
    QApplication app(argc, argv);
    StartUpTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "StartUpTest.moc"
