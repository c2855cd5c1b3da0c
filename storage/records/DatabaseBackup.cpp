#include "DatabaseBackup.h"

#include "CollectionCopy.h"
#include "DatabaseFile.h"
#include "RecordTable.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

QString BackupPath(const QString& databasePath)
{
    return databasePath + QStringLiteral(".bak");
}

namespace {

// A collection on a server is kept as a local file of the same tables.
bool CopyServerInto(RecordTable& server, const QString& path)
{
    if (!CreateDatabaseFile(path))
        return false;
    RecordTable copy;
    return copy.Open(path) && CopyCollection(server, copy).ok;
}

// An empty file for VACUUM INTO to fill, owner-only from the start: the snapshot holds passwords.
bool CreatePrivateFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

} // namespace

bool BackUpDatabase(RecordTable& database, const QString& databasePath)
{
    const QString backup = BackupPath(databasePath);
    const QString partial = backup + QStringLiteral(".part");
    QFile::remove(partial);
    const bool copied = database.IsServer() ? CopyServerInto(database, partial)
                                            : CreatePrivateFile(partial) && database.CopyInto(partial);
    if (!copied ||
        std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(backup).constData()) != 0) {
        QFile::remove(partial);
        return false;
    }
    return true;
}

bool RenewBackupAfterProtectionSwitch(RecordTable& database, const QString& databasePath, bool sealed)
{
    if (BackUpDatabase(database, databasePath))
        return true;
    if (sealed)
        QFile::remove(BackupPath(databasePath));
    return false;
}

QString BackupBase(const RecordTable& database, const QString& programDirectory)
{
    return database.IsServer() ? QDir(programDirectory).filePath(QStringLiteral("qavex-server.mdb"))
                               : DatabasePath(programDirectory);
}
