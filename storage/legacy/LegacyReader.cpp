#include "LegacyReader.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <sys/resource.h>

namespace {

constexpr rlim_t MemoryLimitBytes = rlim_t(1024) << 20;
constexpr rlim_t CpuLimitSeconds = 15;
constexpr int WallClockLimitMs = 20000;
constexpr qsizetype OutputLimitBytes = qsizetype(256) << 20;

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer reserves terabytes of address space: its own watchdog limits the memory instead.
constexpr bool LimitAddressSpace = false;
#else
constexpr bool LimitAddressSpace = true;
#endif

void LimitReader()
{
    const rlimit cpu{CpuLimitSeconds, CpuLimitSeconds};
    setrlimit(RLIMIT_CPU, &cpu);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (LimitAddressSpace) {
        const rlimit memory{MemoryLimitBytes, MemoryLimitBytes};
        setrlimit(RLIMIT_AS, &memory);
    }
}

std::optional<QMap<QString, LegacyTable>> Parse(const QByteArray& output)
{
    QDataStream stream(output);
    QByteArray magic;
    stream >> magic;
    if (magic != LegacyStream::Magic)
        return std::nullopt;
    QMap<QString, LegacyTable> tables;
    for (int table = 0; table < 3; ++table) {
        QString name;
        LegacyTable read;
        quint32 rows = 0;
        stream >> name >> read.columns >> rows;
        if (stream.status() != QDataStream::Ok || read.columns.isEmpty())
            return std::nullopt;
        for (quint32 row = 0; row < rows && stream.status() == QDataStream::Ok; ++row) {
            QList<std::optional<QString>> values;
            for (qsizetype column = 0; column < read.columns.size(); ++column) {
                bool present = false;
                QString text;
                stream >> present >> text;
                values.append(present ? std::optional<QString>(text) : std::nullopt);
            }
            read.rows.append(values);
        }
        tables.insert(name, read);
    }
    QByteArray end;
    stream >> end;
    if (stream.status() != QDataStream::Ok || end != "end" || !stream.atEnd())
        return std::nullopt;
    return tables;
}

} // namespace

QString LegacyReaderProgram()
{
    const QString configured = qEnvironmentVariable("QAVEX_JET_READER");
    if (!configured.isEmpty())
        return configured;
    // Beside the launcher in a build; in the package's private directory once installed.
    const QDir beside(QCoreApplication::applicationDirPath());
    const QString built = beside.filePath(QStringLiteral("qavex-jet-reader"));
    const QString installed = beside.filePath(QStringLiteral("../lib/qavex/qavex-jet-reader"));
    return QFile::exists(built) || !QFile::exists(installed) ? built : QDir::cleanPath(installed);
}

std::optional<QMap<QString, LegacyTable>> ReadLegacyTables(const QString& path,
                                                           const std::function<bool()>& keepGoing)
{
    if (!IsJetFile(path))
        return std::nullopt;
    QProcess reader;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The library gives UTF-8 unless told otherwise.
    environment.remove(QStringLiteral("MDBICONV"));
    environment.insert(
        QStringLiteral("ASAN_OPTIONS"),
        environment.value(QStringLiteral("ASAN_OPTIONS")) +
            QStringLiteral(":detect_leaks=0:hard_rss_limit_mb=%1").arg(MemoryLimitBytes >> 20));
    reader.setProcessEnvironment(environment);
    reader.setChildProcessModifier(LimitReader);
    reader.setStandardErrorFile(QProcess::nullDevice());
    reader.start(LegacyReaderProgram(), {path}, QIODevice::ReadOnly);
    if (!reader.waitForStarted())
        return std::nullopt;

    QElapsedTimer elapsed;
    elapsed.start();
    QByteArray output;
    for (;;) {
        const bool finished = reader.waitForFinished(50);
        output += reader.readAllStandardOutput();
        if (finished || reader.state() == QProcess::NotRunning)
            break;
        if (elapsed.elapsed() > WallClockLimitMs || output.size() > OutputLimitBytes ||
            (keepGoing && !keepGoing())) {
            reader.kill();
            reader.waitForFinished();
            return std::nullopt;
        }
    }
    output += reader.readAllStandardOutput();
    if (reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0)
        return std::nullopt;
    return Parse(output);
}
