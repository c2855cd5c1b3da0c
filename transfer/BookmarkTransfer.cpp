#include "BookmarkTransfer.h"

#include "RecordTable.h"
#include "SearchIndex.h"
#include "StorageNames.h"
#include "TransferTexts.h"

#include <QFileInfo>
#include <QSet>

namespace BookmarkTransfer {

Result Store(RecordTable& database, const QList<BookmarkTextFile::Line>& lines, const Progress& progress)
{
    // Known addresses and categories are read once: asking the database for each of 100,000
    // lines would take longer than storing them.
    QStringList known;
    database.ReadColumn(known, Tables::Bookmarks, Columns::Address);
    QSet<QString> addresses(known.begin(), known.end());
    database.ReadColumn(known, Tables::Categories, Columns::CategoryName);
    QSet<QString> categories(known.begin(), known.end());

    Result result;
    if (!database.BeginTransaction())
        return result;
    // Many lines into a collection not much larger: the search index is made again whole rather
    // than kept row by row.
    const bool rebuildIndex = lines.size() >= 1000 && lines.size() * 10 >= addresses.size() &&
                              SearchIndex::Exists(database) && SearchIndex::Drop(database);
    // Grown by doubling, a list or set of a million would be copied whole at once in the middle.
    result.addedRows.reserve(lines.size());
    addresses.reserve(addresses.size() + lines.size());
    for (qsizetype done = 0; done < lines.size(); ++done) {
        if (progress && !progress(done, lines.size())) {
            database.Rollback();
            Result cancelled;
            cancelled.cancelled = true;
            return cancelled;
        }
        const BookmarkTextFile::Line& line = lines[done];
        // A later line with the address of an earlier one is a repeat, as of a stored bookmark.
        if (addresses.contains(line.address)) {
            ++result.repeated;
            continue;
        }
        // A line the database refuses is left out; the others are kept.
        if (!database.Insert(Tables::Bookmarks, QStringLiteral("名称,地址,分类,备注"),
                             {line.name, line.address, line.category, line.remark})) {
            ++result.refused;
            continue;
        }
        addresses.insert(line.address);
        result.addedRows.append({line, database.LastInsertId()});
        // Written out as it goes: a commit that writes a million rows at once holds the window.
        if (result.addedRows.size() % 5000 == 0)
            database.WriteOutChanges();
        if (!categories.contains(line.category)) {
            categories.insert(line.category);
            if (database.Insert(Tables::Categories, Columns::CategoryName, {line.category}))
                result.newCategories.append(line.category);
            else
                ++result.categoriesRefused;
        }
    }
    if ((rebuildIndex && !SearchIndex::Create(database)) || !database.Commit()) {
        database.Rollback();
        return Result{};
    }
    result.stored = true;
    result.added = int(result.addedRows.size());
    return result;
}

QString Report(const Result& result, int notPages, const QList<BookmarkTextFile::Skipped>& skipped)
{
    QString report = TransferTexts::Imported.arg(result.added);
    if (!skipped.isEmpty()) {
        // The first few, each with its line number: enough to find and mend them.
        QStringList first;
        for (qsizetype i = 0; i < std::min<qsizetype>(skipped.size(), 3); ++i)
            first.append(TransferTexts::SkippedLine.arg(skipped[i].number).arg(skipped[i].why));
        if (skipped.size() > 3)
            first.append(QStringLiteral("…"));
        report +=
            TransferTexts::ImportSkipped.arg(skipped.size()).arg(first.join(TransferTexts::ListSeparator));
    }
    if (result.repeated > 0)
        report += TransferTexts::ImportRepeats.arg(result.repeated);
    if (notPages > 0)
        report += TransferTexts::ImportNotPages.arg(notPages);
    if (result.refused > 0)
        report += TransferTexts::ImportRefused.arg(result.refused);
    if (result.categoriesRefused > 0)
        report += TransferTexts::ImportCategoriesRefused.arg(result.categoriesRefused);
    return report;
}

namespace {

qint64 CountOf(RecordTable& database)
{
    const QList<QStringList> count = database.ReadRows(Tables::Bookmarks, {QStringLiteral("count(*)")}, {});
    return count.isEmpty() ? 0 : count[0][0].toLongLong();
}

const QStringList ExportedFields{Columns::Name, Columns::Address, Columns::Category, Columns::Remark};

} // namespace

Exported Export(RecordTable& database, const QString& path, const Progress& progress)
{
    Exported exported;
    const auto stopped = [&] {
        // Asked once more: a progress that stopped says so again; otherwise the database failed.
        exported.cancelled = progress && !progress(exported.count, 0);
        exported.failed = !exported.cancelled;
        exported.bytes.clear();
        return exported;
    };
    if (IsBookmarkHtmlFile(path)) {
        const std::optional<QList<BookmarkTextFile::Line>> lines = ReadAll(database, progress);
        if (!lines)
            return stopped();
        exported.count = lines->size();
        exported.bytes = BookmarkHtmlFile::Format(*lines);
        return exported;
    }
    const qint64 total = progress ? CountOf(database) : 0;
    const bool read =
        database.ForEachRow(Tables::Bookmarks, ExportedFields, {}, {}, [&](const QStringList& row) {
            if (progress && !progress(exported.count, total))
                return false;
            exported.bytes += BookmarkTextFile::Format({row[0], row[1], row[2], row[3]});
            ++exported.count;
            return true;
        });
    return read ? exported : stopped();
}

std::optional<QList<BookmarkTextFile::Line>> ReadAll(RecordTable& database, const Progress& progress)
{
    const qint64 total = progress ? CountOf(database) : 0;
    QList<BookmarkTextFile::Line> lines;
    lines.reserve(total);
    const bool read =
        database.ForEachRow(Tables::Bookmarks, ExportedFields, {}, {}, [&](const QStringList& row) {
            if (progress && !progress(lines.size(), total))
                return false;
            lines.append({row[0], row[1], row[2], row[3]});
            return true;
        });
    if (!read)
        return std::nullopt;
    return lines;
}

bool IsBookmarkHtmlFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QStringLiteral("html") || suffix == QStringLiteral("htm");
}

QByteArray Format(const QString& path, const QList<BookmarkTextFile::Line>& lines)
{
    if (IsBookmarkHtmlFile(path))
        return BookmarkHtmlFile::Format(lines);
    QByteArray bytes;
    for (const BookmarkTextFile::Line& line : lines)
        bytes += BookmarkTextFile::Format(line);
    return bytes;
}

BookmarkHtmlFile::Contents Parse(const QString& path, const QByteArray& bytes)
{
    if (IsBookmarkHtmlFile(path))
        return BookmarkHtmlFile::Parse(bytes);
    BookmarkTextFile::Read read = BookmarkTextFile::Parse(bytes);
    return {std::move(read.lines), read.notPages, std::move(read.skipped)};
}

} // namespace BookmarkTransfer
