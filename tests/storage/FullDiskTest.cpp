#include "DatabaseFile.h"
#include "IniFile.h"
#include "Requirement.h"
#include "SafeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Runs `write` in a child process that may not write files larger than `limit` bytes, as on a
// disk that is full; true when the child reported success.
bool SucceedsOnFullDisk(rlim_t limit, const std::function<bool()>& write)
{
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{limit, limit};
        setrlimit(RLIMIT_FSIZE, &size);
        _exit(write() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

// Every file qavex writes fails as a whole on a full disk, says so, and keeps the old file.
class FullDiskTest : public QObject {
    Q_OBJECT

private slots:
    void settingsKeepTheOldFile()
    {
        QTemporaryDir dir;
        const IniFile settings(dir.filePath(QStringLiteral("qavex.ini")));
        QVERIFY(settings.Write(QStringLiteral("外观"), QStringLiteral("宽度"), QStringLiteral("800")));
        const QByteArray before = ReadBytes(settings.Path());
        QVERIFY(!SucceedsOnFullDisk(before.size() + 16, [&] {
            return settings.Write(QStringLiteral("记录"), QStringLiteral("IE地址"), QString(4000, u'x'));
        }));
        QCOMPARE(ReadBytes(settings.Path()), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"qavex.ini"});
        // With room, the same write goes through.
        QVERIFY(SucceedsOnFullDisk(1 << 20, [&] {
            return settings.Write(QStringLiteral("记录"), QStringLiteral("IE地址"), QString(4000, u'x'));
        }));
    }

    void exportKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("书签.txt"));
        QVERIFY(WriteFileSafely(path, QByteArrayLiteral("旧的|http://old.example/|分类|\r\n")));
        const QByteArray before = ReadBytes(path);
        QVERIFY(!SucceedsOnFullDisk(64, [&] { return WriteFileSafely(path, QByteArray(100000, 'a')); }));
        QCOMPARE(ReadBytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    }

    void databaseIsMadeWholeOrNotAtAll()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
        QVERIFY(!SucceedsOnFullDisk(8192, [&] { return CreateDatabaseFile(path); }));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    void migrationKeepsTheOldFile()
    {
        const QString fixture = QStringLiteral(QAVEX_SHARED_DIR "/fixtures/legacy/qavex.mdb");
        QAVEX_REQUIRE(QFile::exists(fixture),
                      QStringLiteral("the legacy fixtures are not beside the project"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
        QVERIFY(QFile::copy(fixture, path));
        const QByteArray before = ReadBytes(path);
        QVERIFY(!SucceedsOnFullDisk(16384, [&] { return MigrateJetDatabase(path).has_value(); }));
        QCOMPARE(ReadBytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"qavex.mdb"});
    }
};

QTEST_GUILESS_MAIN(FullDiskTest)
#include "FullDiskTest.moc"
