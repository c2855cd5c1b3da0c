#include "DatabaseFile.h"

#include "BuiltInTexts.h"
#include "IniFile.h"
#include "LegacyReader.h"
#include "RecordTable.h"
#include "SettingsKeys.h"
#include "StorageNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include <functional>

namespace {

const QString HistoryColumns = QStringLiteral("[地址] VARCHAR(255)");
const QString BookmarkColumns = QStringLiteral(
    "[名称] VARCHAR(100),[地址] VARCHAR(100),[分类] VARCHAR(40),[备注] VARCHAR(100),[账号] VARCHAR(20),"
    "[密码] VARCHAR(20),[账号标识] VARCHAR(100),[密码标识] VARCHAR(100),[标识类型] VARCHAR(2),"
    "[按钮标识] VARCHAR(100),[按钮标识类型] VARCHAR(2),[控件类型] VARCHAR(6)");
const QString CategoryColumns = QStringLiteral("[分类名] VARCHAR(40)");

// Every lookup of a bookmark, a category's bookmarks and a history address goes by these.
const char* const IndexStatements[] = {
    "create index 网址_地址 on 网址(地址)",
    "create index 网址_分类 on 网址(分类)",
    "create index 历史地址_地址 on 历史地址(地址)",
};

bool CreateTable(QSqlDatabase& db, const QString& table, const QString& columns,
                 const QString& idColumn = Columns::Id)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("create Table ") + table + QStringLiteral("([") + idColumn +
                      QStringLiteral("] INTEGER PRIMARY KEY AUTOINCREMENT ,") + columns + u')');
}

bool CreateSchema(QSqlDatabase& db, const std::function<bool(QSqlDatabase&)>& fill)
{
    // Qt reads text as UTF-16: stored so, 100,000 rows are read without converting each value.
    QSqlQuery encoding(db);
    if (!encoding.exec(QStringLiteral("PRAGMA encoding = 'UTF-16le'")) ||
        !encoding.exec(QStringLiteral("PRAGMA encoding")) || !encoding.next() ||
        encoding.value(0).toString() != QStringLiteral("UTF-16le"))
        return false;
    if (!db.transaction())
        return false;
    bool ok = CreateTable(db, Tables::History, HistoryColumns) &&
              CreateTable(db, Tables::Bookmarks, BookmarkColumns) &&
              CreateTable(db, Tables::Categories, CategoryColumns);
    for (const char* statement : IndexStatements) {
        QSqlQuery query(db);
        ok = ok && query.exec(QString::fromUtf8(statement));
    }
    ok = ok && (!fill || fill(db));
    if (ok)
        return db.commit();
    db.rollback();
    return false;
}

// Rows put into a database in the transaction that creates it.
using DatabaseFill = std::function<bool(QSqlDatabase&)>;

bool CreateSchemaIn(const QString& path, const DatabaseFill& fill)
{
    static int creations = 0;
    const QString connection = QStringLiteral("qavex-create-%1").arg(++creations);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        ok = db.open() && CreateSchema(db, fill);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Renames within a directory, never replacing what is at `to` and never following a link there:
// QFile::rename falls back to copying into the link's target, creating a file there.
bool MoveWithoutReplacing(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A filesystem without that rename: a hard link never replaces either.
    if (::link(source.constData(), target.constData()) != 0)
        return false;
    ::unlink(source.constData());
    return true;
}

// A database being made is named with a prefix no user picks, so that what a kill leaves can be
// told from the user's own files beside the collection ("qavex.mdb.backup" is theirs).
const QString CreationPrefix = QStringLiteral(".qavex-creating-");

QString CreationTemplate(const QString& path)
{
    const QFileInfo info(path);
    return info.dir().filePath(CreationPrefix + info.fileName() + QStringLiteral(".XXXXXX"));
}

// What a kill during creation or migration leaves beside `path`: the half-made database under its
// temporary name, and its journal. Nothing else is touched.
void RemoveLeftovers(const QString& path)
{
    const QFileInfo info(path);
    QDir directory = info.dir();
    const QString stem = CreationPrefix + info.fileName();
    const QRegularExpression leftover(
        QStringLiteral("^%1\\.[A-Za-z0-9]{6}(-journal|-wal|-shm)?$").arg(QRegularExpression::escape(stem)));
    for (const QString& name :
         directory.entryList({stem + QStringLiteral(".*")}, QDir::Files | QDir::Hidden)) {
        if (leftover.match(name).hasMatch())
            directory.remove(name);
    }
}

// Builds a database under a temporary name beside `path` and moves it there when complete, so
// a failure leaves no file and a crash leaves no half-made database under the real name. A file
// already at `path` is first moved aside to `setAside` (when given), and back if the move fails.
bool BuildDatabaseFile(const QString& path, const DatabaseFill& fill, const QString& setAside = {})
{
    QTemporaryFile temp(CreationTemplate(path));
    if (!temp.open())
        return false;
    temp.close();
    if (!CreateSchemaIn(temp.fileName(), fill))
        return false;
    if (!setAside.isEmpty()) {
        if (!MoveWithoutReplacing(path, setAside))
            return false;
        // The Windows program's file holds passwords in plain text.
        QFile::setPermissions(setAside, OwnerOnly);
    }
    // A file (or a link, even one leading nowhere) that appeared meanwhile is kept, and this
    // attempt fails.
    if (!MoveWithoutReplacing(temp.fileName(), path)) {
        if (!setAside.isEmpty())
            QFile::rename(setAside, path);
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}

// qavex.mdb.jet, or qavex.mdb.jet.2, … when that is taken.
QString FreeSetAsideName(const QString& path)
{
    QString name = path + QStringLiteral(".jet");
    for (int number = 2; QFileInfo::exists(name); ++number)
        name = path + QStringLiteral(".jet.%1").arg(number);
    return name;
}

// The table's rows with the columns in the order asked for; nothing when the table or a column is
// missing.
std::optional<QList<QVariantList>> Rows(const QMap<QString, LegacyTable>& tables, const QString& table,
                                        const QStringList& columns)
{
    const auto read = tables.constFind(table);
    if (read == tables.cend())
        return std::nullopt;
    QList<qsizetype> positions;
    for (const QString& column : columns) {
        const qsizetype position = read->columns.indexOf(column);
        if (position < 0)
            return std::nullopt;
        positions.append(position);
    }
    QList<QVariantList> rows;
    for (const QList<std::optional<QString>>& row : read->rows) {
        QVariantList values;
        for (qsizetype position : positions)
            values.append(row[position] ? QVariant(*row[position]) : QVariant());
        rows.append(values);
    }
    return rows;
}

bool InsertAll(QSqlDatabase& db, const QString& table, const QStringList& columns,
               const QList<QVariantList>& rows)
{
    QSqlQuery query(db);
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks.append(QStringLiteral("?"));
    if (!query.prepare(QStringLiteral("insert into %1(%2) values (%3)")
                           .arg(table, columns.join(u','), marks.join(u','))))
        return false;
    for (const QVariantList& row : rows) {
        for (int i = 0; i < row.size(); ++i)
            query.bindValue(i, row[i]);
        if (!query.exec())
            return false;
    }
    return true;
}

} // namespace

QString DatabasePath(const QString& programDirectory)
{
    return QDir(programDirectory).filePath(DatabaseFileName);
}

bool IsSqliteFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArrayView("SQLite format 3\0", 16);
}

bool CreateDatabaseFile(const QString& path)
{
    return BuildDatabaseFile(path, {});
}

std::optional<LegacyDatabase> ReadLegacyDatabase(const QString& path, const std::function<bool()>& keepGoing)
{
    const std::optional<QMap<QString, LegacyTable>> tables = ReadLegacyTables(path, keepGoing);
    if (!tables)
        return std::nullopt;
    const auto bookmarks =
        Rows(*tables, Tables::Bookmarks, QStringList{Columns::Id} + LegacyBookmarkColumns());
    const auto categories = Rows(*tables, Tables::Categories, {Columns::Id, Columns::CategoryName});
    const auto history = Rows(*tables, Tables::History, {Columns::Id, Columns::Address});
    if (!bookmarks || !categories || !history)
        return std::nullopt;
    return LegacyDatabase{*bookmarks, *categories, *history};
}

QStringList LegacyBookmarkColumns()
{
    return {Columns::Name,    Columns::Address,  Columns::Category,     Columns::Remark,
            Columns::Account, Columns::Password, Columns::AccountId,    Columns::PasswordId,
            Columns::IdType,  Columns::ButtonId, Columns::ButtonIdType, Columns::ControlType};
}

std::optional<int> MigrateJetDatabase(const QString& path)
{
    const std::optional<LegacyDatabase> legacy = ReadLegacyDatabase(path);
    if (!legacy)
        return std::nullopt;
    return MigrateJetDatabase(path, *legacy);
}

std::optional<int> MigrateJetDatabase(const QString& path, const LegacyDatabase& legacy)
{
    const auto fill = [&](QSqlDatabase& db) {
        // IDs are kept, and so the order the rows were stored in.
        return InsertAll(db, Tables::Bookmarks, QStringList{Columns::Id} + LegacyBookmarkColumns(),
                         legacy.bookmarks) &&
               InsertAll(db, Tables::Categories, {Columns::Id, Columns::CategoryName}, legacy.categories) &&
               InsertAll(db, Tables::History, {Columns::Id, Columns::Address}, legacy.history);
    };
    if (!BuildDatabaseFile(path, fill, FreeSetAsideName(path)))
        return std::nullopt;
    return int(legacy.bookmarks.size());
}

DatabaseState PrepareDatabase(RecordTable& records, const QString& programDirectory, const IniFile& settings,
                              int* migratedBookmarks, const std::function<bool()>& keepGoing)
{
    const QString path = DatabasePath(programDirectory);
    RemoveLeftovers(path);
    const QFileInfo info(path);
    // A link leading nowhere is not followed into making a file wherever it points.
    if (info.isSymLink() && !info.exists())
        return DatabaseState::Failed;
    bool isNew = false;
    if (info.exists() && info.isFile() && info.size() == 0) {
        // An empty file holds no data of anyone's; it is what an interrupted copy leaves.
        QFile::remove(path);
    }
    if (!QFileInfo::exists(path)) {
        if (!CreateDatabaseFile(path))
            return DatabaseState::Failed;
        isNew = true;
    } else if (HasJetHeader(path)) {
        // The Windows program's database: its rows move into a new one, the old file is kept aside.
        bool stopped = false;
        const std::optional<LegacyDatabase> legacy = ReadLegacyDatabase(path, [&] {
            stopped = keepGoing && !keepGoing();
            return !stopped;
        });
        if (!legacy)
            return stopped ? DatabaseState::Cancelled : DatabaseState::UnreadableLegacy;
        const std::optional<int> bookmarks = MigrateJetDatabase(path, *legacy);
        if (!bookmarks)
            return DatabaseState::Failed;
        if (migratedBookmarks)
            *migratedBookmarks = *bookmarks;
        return records.Open(path) ? DatabaseState::Migrated : DatabaseState::Failed;
    } else if (!IsSqliteFile(path)) {
        return DatabaseState::NotADatabase;
    }

    if (!records.Open(path))
        return DatabaseState::Failed;
    // Another program's SQLite file: refused at once, not at the first failing statement.
    if (!records.HasColumns(Tables::Bookmarks, QStringList{Columns::Id} + LegacyBookmarkColumns()) ||
        !records.HasColumns(Tables::Categories, {Columns::Id, Columns::CategoryName}) ||
        !records.HasColumns(Tables::History, {Columns::Id, Columns::Address})) {
        records.Close();
        return DatabaseState::NotADatabase;
    }
    // It holds passwords, however it came here (a copy, a backup restored).
    if (QFile::permissions(path) & ~(OwnerOnly | QFileDevice::ReadUser | QFileDevice::WriteUser))
        QFile::setPermissions(path, OwnerOnly);

    if (isNew) {
        const QString startAddress = BuiltInTexts::StartAddress();
        settings.Write(Settings::LastBrowserAddress, startAddress);
        records.Insert(Tables::History, Columns::Address, {startAddress});
        return DatabaseState::Created;
    }
    return DatabaseState::Opened;
}
