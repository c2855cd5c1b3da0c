#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

class IniFile;
class RecordTable;

enum class DatabaseState {
    Opened,           // an existing database is open
    Created,          // a new database was made and opened, with its first-run rows
    NotADatabase,     // a foreign file holds the name; it is left untouched and nothing is open
    Failed,           // the database could not be created or opened
    Migrated,         // the Windows program's database was brought over into a new one, and opened
    UnreadableLegacy, // the Windows program's database, damaged: left untouched and nothing is open
    Cancelled,        // the user stopped reading the Windows program's database: left for the next start
};

// The rows of the Windows program's database, columns in our tables' order (ID first); a NULL
// of the old file is a null QVariant.
struct LegacyDatabase {
    QList<QVariantList> bookmarks;
    QList<QVariantList> categories;
    QList<QVariantList> history;
};

// The bookmark columns after ID, in table order.
QStringList LegacyBookmarkColumns();
std::optional<LegacyDatabase> ReadLegacyDatabase(const QString& path,
                                                 const std::function<bool()>& keepGoing = {});

// Replaces the Windows program's database at `path` by a new one with the same rows; the old file
// is kept as qavex.mdb.jet (or .jet.2, …). Returns the number of bookmarks; on failure the old file
// stays where it was and no other file is left.
std::optional<int> MigrateJetDatabase(const QString& path);
// The same for rows already read.
std::optional<int> MigrateJetDatabase(const QString& path, const LegacyDatabase& legacy);

// Makes qavex.mdb with its three tables in one transaction. The file appears complete or not at
// all, with mode 0600 (it holds passwords), and an existing file is never replaced.
bool CreateDatabaseFile(const QString& path);

// True when the file starts with the SQLite header.
bool IsSqliteFile(const QString& path);

// Creates the database in the program directory when there is none, opens it through `records`,
// and on the first run stores the start address in the history and in the settings file. A
// database of the Windows program is brought over first (migratedBookmarks: how many bookmarks).
// `keepGoing` is asked while the Windows program's database is read (see ReadLegacyTables).
DatabaseState PrepareDatabase(RecordTable& records, const QString& programDirectory, const IniFile& settings,
                              int* migratedBookmarks = nullptr, const std::function<bool()>& keepGoing = {});

QString DatabasePath(const QString& programDirectory);
