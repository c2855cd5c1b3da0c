#pragma once

#include <QString>
#include <QVariantList>

class RecordTable;

// Finding bookmarks by part of their name or address without reading every row: an FTS5 trigram
// index over 名称 and 地址 of 网址 ("网址索引"), kept in step by triggers. Its answers are candidates;
// the literal condition applied to them makes the result exactly the literal search's.
// On a PostgreSQL server the index is pg_trgm's, over the ASCII-folded columns, made with the
// tables; making and dropping it here are then nothing to do.
namespace SearchIndex {

struct Condition {
    QString where;
    QVariantList args;
};

// Makes the index and its triggers when the file has none, filled from the rows there, in one
// transaction. False when it cannot (an SQLite without FTS5, a read-only file): search then scans.
bool Ensure(RecordTable& records);
bool Exists(RecordTable& records);
// Within a transaction of the caller's: making it from the rows there, and taking it away. Many
// rows are stored faster without it and the index made again whole (about 1/15 of the per-row cost).
bool Create(RecordTable& records);
bool Drop(RecordTable& records);

// Rows whose `column` (名称 or 地址) contains `text`, ASCII letters in either case, every other
// character as itself (% and _ included).
Condition Literal(const QString& column, const QString& text);
// The same through the index; the literal condition when the index cannot answer (fewer than
// three characters, or a NUL the database would cut the text at).
Condition Indexed(const QString& column, const QString& text);
// The condition for this database: the server's own, the index's, or the literal one.
Condition Matching(RecordTable& records, const QString& column, const QString& text);
// The column with ASCII letters made small, as the server's trigram indexes hold it.
QString AsciiFolded(const QString& column);

} // namespace SearchIndex
