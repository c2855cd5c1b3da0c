#pragma once

#include <QString>

class IniFile;
class RecordTable;

enum class DatabaseState {
    Opened,       // an existing database is open
    Created,      // a new database was made and opened, with its first-run rows
    NotADatabase, // a foreign file holds the name; it is left untouched and nothing is open
    Failed,       // the database could not be created or opened
};

// Makes qavex.mdb with its three tables in one transaction. The file appears complete or not at
// all, with mode 0600 (it holds passwords), and an existing file is never replaced.
bool CreateDatabaseFile(const QString& path);

// True when the file starts with the SQLite header.
bool IsSqliteFile(const QString& path);

// Creates the database in the program directory when there is none, opens it through `records`,
// and on the first run stores the start address in the history and in the settings file.
DatabaseState PrepareDatabase(RecordTable& records, const QString& programDirectory, const IniFile& settings);

QString DatabasePath(const QString& programDirectory);
