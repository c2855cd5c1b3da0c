#include "DatabaseBackup.h"

#include "CollectionCopy.h"
#include "DatabaseFile.h"
#include "RecordTable.h"

#include <QFile>

#include <cstdio>
#include <sys/stat.h>

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

} // namespace

bool BackUpDatabase(RecordTable& database, const QString& databasePath)
{
    const QString backup = BackupPath(databasePath);
    const QString partial = backup + QStringLiteral(".part");
    QFile::remove(partial);
    if (!(database.IsServer() ? CopyServerInto(database, partial) : database.CopyInto(partial))) {
        QFile::remove(partial);
        return false;
    }
    const QByteArray from = QFile::encodeName(partial);
    const QByteArray to = QFile::encodeName(backup);
    if (::chmod(from.constData(), 0600) != 0 || std::rename(from.constData(), to.constData()) != 0) {
        QFile::remove(partial);
        return false;
    }
    return true;
}
