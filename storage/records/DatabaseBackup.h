#pragma once

#include <QString>

class RecordTable;

// Before a change that rewrites the whole collection, the collection as it was is kept beside it as
// qavex.mdb.bak (the last one only), mode 0600 like the database from its first byte. A consistent
// snapshot even while the database is being written; the old backup stays until the new one is
// complete.
bool BackUpDatabase(RecordTable& database, const QString& databasePath);

// After the passwords were sealed, unsealed or moved to another key, the backup is made again from
// the collection: a copy made before would hold them plain, or under a key that is gone. When that
// fails after sealing, the old copy is removed rather than left plain. False when not renewed.
bool RenewBackupAfterProtectionSwitch(RecordTable& database, const QString& databasePath, bool sealed);

QString BackupPath(const QString& databasePath);

// Which path the backup of this collection is named after: the local file, or for a server's
// collection a file of its own beside the program, apart from the local file's copy.
QString BackupBase(const RecordTable& database, const QString& programDirectory);
