#pragma once

#include <QString>

class RecordTable;

// Before a change that rewrites the whole collection, the collection as it was is kept beside it as
// qavex.mdb.bak (the last one only), mode 0600 like the database. A consistent snapshot even while
// the database is being written; the old backup stays until the new one is complete.
bool BackUpDatabase(RecordTable& database, const QString& databasePath);

QString BackupPath(const QString& databasePath);
