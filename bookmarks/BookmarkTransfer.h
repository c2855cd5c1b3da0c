#pragma once

#include "BookmarkHtmlFile.h"
#include "BookmarkListModel.h"
#include "BookmarkTextFile.h"

#include <QStringList>

class RecordTable;

// Bookmarks out of the collection into a file and back in: the window and the command line both
// go through here.
namespace BookmarkTransfer {

struct Result {
    bool stored = false; // false: nothing was kept
    int added = 0;
    int repeated = 0;          // addresses stored already, or earlier in the file
    int refused = 0;           // lines the database would not take
    int categoriesRefused = 0; // new categories it would not register
    QList<BookmarkListModel::Row> addedRows;
    QStringList newCategories;
};

// Stores the lines whose address is not stored yet, in one transaction, with the categories they bring.
Result Store(RecordTable& database, const QList<BookmarkTextFile::Line>& lines);
// "已导入 N 个网址", with what was left out and why.
QString Report(const Result& result, int notPages);

// Every bookmark's four fields, in the database's order.
QList<BookmarkTextFile::Line> ReadAll(RecordTable& database);
// By the file's name: .htm and .html are bookmark HTML, anything else the "|" text.
bool IsBookmarkHtmlFile(const QString& path);
QByteArray Format(const QString& path, const QList<BookmarkTextFile::Line>& lines);
BookmarkHtmlFile::Contents Parse(const QString& path, const QByteArray& bytes);

} // namespace BookmarkTransfer
