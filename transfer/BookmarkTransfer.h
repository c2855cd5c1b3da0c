#pragma once

#include "BookmarkHtmlFile.h"
#include "BookmarkTextFile.h"

#include <QStringList>

#include <functional>
#include <optional>

class RecordTable;

// Bookmarks out of the collection into a file and back in: the window and the command line both
// go through here.
namespace BookmarkTransfer {

// A line as stored, with the ID the database gave it.
struct StoredLine {
    BookmarkTextFile::Line line;
    qint64 id = 0;
};

struct Result {
    bool stored = false;    // false: nothing was kept
    bool cancelled = false; // the user stopped it; nothing was kept
    int added = 0;
    int repeated = 0;          // addresses stored already, or earlier in the file
    int refused = 0;           // lines the database would not take
    int categoriesRefused = 0; // new categories it would not register
    QList<StoredLine> addedRows;
    QStringList newCategories;
};

// Stores the lines whose address is not stored yet, in one transaction, with the categories they bring.
// `progress` (lines done, lines in all) returning false stops it and nothing is kept.
using Progress = std::function<bool(qint64, qint64)>;
Result Store(RecordTable& database, const QList<BookmarkTextFile::Line>& lines,
             const Progress& progress = {});
// "已导入 N 个网址", with what was left out and why.
QString Report(const Result& result, int notPages, const QList<BookmarkTextFile::Skipped>& skipped = {});

// Every bookmark's four fields, in the database's order.
// nullopt: `progress` stopped it, or the database could not be read to the end.
std::optional<QList<BookmarkTextFile::Line>> ReadAll(RecordTable& database, const Progress& progress = {});
struct Exported {
    QByteArray bytes;
    qsizetype count = 0;
    bool cancelled = false; // `progress` stopped it
    bool failed = false;    // the database could not be read to the end
};
// The file's bytes for every bookmark, in the format its name asks for: the "|" text is made row
// by row as the rows are read, bookmark HTML from all of them. Bytes only when neither flag is set.
Exported Export(RecordTable& database, const QString& path, const Progress& progress = {});
// By the file's name: .htm and .html are bookmark HTML, anything else the "|" text.
bool IsBookmarkHtmlFile(const QString& path);
QByteArray Format(const QString& path, const QList<BookmarkTextFile::Line>& lines);
BookmarkHtmlFile::Contents Parse(const QString& path, const QByteArray& bytes);

} // namespace BookmarkTransfer
