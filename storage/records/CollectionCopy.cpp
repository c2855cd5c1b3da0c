#include "CollectionCopy.h"

#include "RecordTable.h"
#include "StorageNames.h"

#include <QSet>

namespace {

const QStringList BookmarkColumns = {
    Columns::Name,    Columns::Address,  Columns::Category,     Columns::Remark,
    Columns::Account, Columns::Password, Columns::AccountId,    Columns::PasswordId,
    Columns::IdType,  Columns::ButtonId, Columns::ButtonIdType, Columns::ControlType,
};
const QStringList ProtectionColumns = {
    Protection::Mode,       Protection::Salt,     Protection::Operations,  Protection::Memory,
    Protection::WrappedKey, Protection::KeyCheck, Protection::KeyringItem,
};

QVariantList Values(const QStringList& row)
{
    QVariantList values;
    for (const QString& text : row)
        values.append(text);
    return values;
}

bool CopyProtection(RecordTable& from, RecordTable& to)
{
    if (!from.HasColumns(Protection::Table, ProtectionColumns))
        return true;
    const QList<QStringList> rows = from.ReadRows(Protection::Table, ProtectionColumns, {});
    if (rows.size() != 1)
        return false;
    QVariantList values = Values(rows[0]);
    // The derivation's cost is a number on both sides.
    values[2] = rows[0][2].toLongLong();
    values[3] = rows[0][3].toLongLong();
    return to.CreateTable(
               Protection::Table,
               to.IdColumnDefinition() +
                   QStringLiteral(", %1 TEXT, %2 TEXT, %3 BIGINT, %4 BIGINT, %5 TEXT, %6 TEXT, %7 TEXT")
                       .arg(ProtectionColumns[0], ProtectionColumns[1], ProtectionColumns[2],
                            ProtectionColumns[3], ProtectionColumns[4], ProtectionColumns[5],
                            ProtectionColumns[6])) &&
           to.DeleteAll(Protection::Table) &&
           to.Insert(Protection::Table, ProtectionColumns.join(u','), values);
}

} // namespace

CopiedCollection CopyCollection(RecordTable& from, RecordTable& to,
                                const std::function<bool(qint64, qint64)>& progress,
                                const std::function<bool(RecordTable&)>& makeTables)
{
    CopiedCollection copied;
    const QList<QStringList> bookmarks =
        from.ReadRows(Tables::Bookmarks, BookmarkColumns, QStringLiteral("1=1 order by ID"));
    const QList<QStringList> categories =
        from.ReadRows(Tables::Categories, {Columns::CategoryName}, QStringLiteral("1=1 order by ID"));
    const QList<QStringList> history =
        from.ReadRows(Tables::History, {Columns::Address}, QStringLiteral("1=1 order by ID"));
    if (!to.BeginTransaction())
        return copied;
    bool ok = (!makeTables || makeTables(to)) && CopyProtection(from, to);
    const qsizetype total = bookmarks.size();
    QSet<QString> addresses;
    for (qsizetype i = 0; ok && i < total; ++i) {
        if (progress && !progress(i, total))
            ok = false;
        else if (addresses.contains(bookmarks[i][1]))
            ++copied.repeated;
        else if ((ok = to.Insert(Tables::Bookmarks, BookmarkColumns.join(u','), Values(bookmarks[i]))))
            addresses.insert(bookmarks[i][1]), ++copied.bookmarks;
    }
    QSet<QString> names;
    for (const QStringList& row : categories) {
        if (!ok || names.contains(row[0]))
            continue;
        names.insert(row[0]);
        ok = to.Insert(Tables::Categories, Columns::CategoryName, {row[0]});
        copied.categories += ok;
    }
    for (const QStringList& row : history) {
        ok = ok && to.Insert(Tables::History, Columns::Address, {row[0]});
        copied.history += ok;
    }
    if (ok && to.Commit()) {
        copied.ok = true;
        return copied;
    }
    to.Rollback();
    return {};
}
