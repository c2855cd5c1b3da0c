#include "DatabaseFile.h"

#include "BuiltInTexts.h"
#include "IniFile.h"
#include "RecordTable.h"
#include "SettingsKeys.h"
#include "StorageNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryFile>

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

bool CreateSchema(QSqlDatabase& db)
{
    // Qt reads text as UTF-16: stored so, 100,000 rows are read without converting each value.
    QSqlQuery encoding(db);
    if (!encoding.exec(QStringLiteral("PRAGMA encoding = 'UTF-16le'")))
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
    if (ok)
        return db.commit();
    db.rollback();
    return false;
}

bool CreateSchemaIn(const QString& path)
{
    static int creations = 0;
    const QString connection = QStringLiteral("qavex-create-%1").arg(++creations);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        ok = db.open() && CreateSchema(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
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
    // Built under a temporary name beside the target and moved into place only when complete,
    // so a failure leaves no file and a crash leaves no half-made database under the real name.
    QTemporaryFile temp(path + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        return false;
    temp.close();
    if (!CreateSchemaIn(temp.fileName()))
        return false;
    // rename never replaces: a file that appeared meanwhile is kept and this attempt fails.
    if (!QFile::rename(temp.fileName(), path))
        return false;
    temp.setAutoRemove(false);
    return true;
}

DatabaseState PrepareDatabase(RecordTable& records, const QString& programDirectory, const IniFile& settings)
{
    const QString path = DatabasePath(programDirectory);
    const QFileInfo info(path);
    bool isNew = false;
    if (info.exists() && info.isFile() && info.size() == 0) {
        // An empty file holds no data of anyone's; it is what an interrupted copy leaves.
        QFile::remove(path);
    }
    if (!QFileInfo::exists(path)) {
        if (!CreateDatabaseFile(path))
            return DatabaseState::Failed;
        isNew = true;
    } else if (!IsSqliteFile(path)) {
        return DatabaseState::NotADatabase;
    }

    if (!records.Open(path))
        return DatabaseState::Failed;

    if (isNew) {
        const QString startAddress = BuiltInTexts::StartAddress();
        settings.Write(Settings::LastBrowserAddress, startAddress);
        records.Insert(Tables::History, Columns::Address, {startAddress});
        return DatabaseState::Created;
    }
    return DatabaseState::Opened;
}
