#include "FileStore.h"

#include "SearchIndex.h"
#include "StorageNames.h"

#include <QFile>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

const QString IndexTable = QStringLiteral("网址索引");
const QString IndexTriggers[] = {QStringLiteral("网址索引_插入"), QStringLiteral("网址索引_删除"),
                                 QStringLiteral("网址索引_修改")};

// Text values are never stored as NULL: an empty entry field gives a null QString, and the
// columns hold text that readers compare with ''.
void BindAll(QSqlQuery& query, const QVariantList& args)
{
    for (int i = 0; i < args.size(); ++i) {
        const QVariant& arg = args[i];
        if (arg.typeId() == QMetaType::QString && arg.toString().isNull())
            query.bindValue(i, QStringLiteral(""));
        else
            query.bindValue(i, arg);
    }
}

QString ValueAsText(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("");
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

// A query's rows through QtSql, read forward.
class QueryCursor : public RecordCursor {
public:
    explicit QueryCursor(std::unique_ptr<QSqlQuery> query)
        : m_query(std::move(query)), m_fields(m_query->record())
    {
    }
    bool Valid() const override { return m_query->isValid(); }
    void Next() override { m_query->next(); }
    QString Text(const QString& field) const override
    {
        const int index = ColumnOf(field);
        return index < 0 ? QStringLiteral("") : ValueAsText(m_query->value(index));
    }

protected:
    int FindColumn(const QString& field) const override { return m_fields.indexOf(field); }

private:
    std::unique_ptr<QSqlQuery> m_query;
    QSqlRecord m_fields;
};

sqlite3* SqliteOf(const QSqlDatabase& db)
{
    const QVariant handle = db.isValid() && db.driver() ? db.driver()->handle() : QVariant();
    return handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
               ? *static_cast<sqlite3* const*>(handle.constData())
               : nullptr;
}

// A statement prepared straight on SQLite, its arguments bound; finalized when it goes.
class DirectStatement {
public:
    DirectStatement(const QSqlDatabase& db, const QString& statement, const QVariantList& args)
    {
        sqlite3* connection = SqliteOf(db);
        m_connection = connection;
        const QByteArray text = statement.toUtf8();
        if (!connection || sqlite3_prepare_v2(connection, text.constData(), int(text.size()), &m_query,
                                              nullptr) != SQLITE_OK)
            return;
        for (int i = 0; i < args.size(); ++i) {
            const QVariant& arg = args[i];
            if (arg.typeId() == QMetaType::LongLong || arg.typeId() == QMetaType::Int) {
                sqlite3_bind_int64(m_query, i + 1, arg.toLongLong());
            } else {
                const QByteArray value = arg.toString().toUtf8();
                sqlite3_bind_text(m_query, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
            }
        }
        m_ready = true;
    }
    ~DirectStatement() { sqlite3_finalize(m_query); }
    DirectStatement(const DirectStatement&) = delete;
    DirectStatement& operator=(const DirectStatement&) = delete;

    bool Next()
    {
        m_last = m_ready ? sqlite3_step(m_query) : SQLITE_ERROR;
        return m_last == SQLITE_ROW;
    }
    // After the last Next: every row was read, rather than a failure ending the reading.
    bool Finished() const { return m_last == SQLITE_DONE; }
    QString Error() const
    {
        return m_connection ? QString::fromUtf8(sqlite3_errmsg(m_connection))
                            : QStringLiteral("no connection");
    }
    qint64 Number(int column) const { return sqlite3_column_int64(m_query, column); }
    QString Text(int column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_query, column));
        return text ? QString::fromUtf8(text, sqlite3_column_bytes(m_query, column)) : QStringLiteral("");
    }

private:
    sqlite3* m_connection = nullptr;
    sqlite3_stmt* m_query = nullptr;
    bool m_ready = false;
    int m_last = SQLITE_OK;
};

} // namespace

FileStore::FileStore() : m_connectionName(NewConnectionName(QStringLiteral("records"))) {}

FileStore::~FileStore()
{
    Close();
    DropConnection(m_db, m_connectionName);
}

bool FileStore::Open(const QString& path)
{
    Close();
    // SQLite would quietly create a missing file; a missing database is a failed open.
    if (!QFile::exists(path))
        return false;
    if (!m_db.isValid())
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(path);
    m_open = m_db.open();
    if (m_open) {
        // SQLite reads the header only at the first statement: a foreign file fails here.
        QSqlQuery probe(m_db);
        m_open = probe.exec(QStringLiteral("select count(*) from sqlite_master"));
        // A category's rows lie scattered over the file; a cache that holds a large collection
        // whole makes switching categories a matter of memory, not of reads. Only speed depends on it.
        probe.exec(QStringLiteral("PRAGMA cache_size = -32768"));
        // A deleted bookmark or a password replaced by its sealed form leaves no readable bytes
        // in the file's free space. Sealing is worth little without it: the file is not used.
        if (m_open && !(probe.exec(QStringLiteral("PRAGMA secure_delete = ON")) && probe.next() &&
                        probe.value(0).toInt() == 1)) {
            m_lastError = QStringLiteral("PRAGMA secure_delete: ") + probe.lastError().text();
            m_open = false;
        }
    }
    if (!m_open)
        m_db.close();
    return m_open;
}

void FileStore::Close()
{
    m_statements.clear();
    if (m_db.isValid())
        m_db.close();
    m_open = false;
    m_inTransaction = false;
}

QString FileStore::Path() const
{
    return m_db.databaseName();
}

void FileStore::NoteFailure(const QSqlError& error)
{
    NoteReason(ReasonOf(error), error.type() == QSqlError::TransactionError);
    m_duplicate = false;
}

bool FileStore::RunSchemaStatement(const QString& statement)
{
    if (!m_open)
        return false;
    QSqlQuery query(m_db);
    if (query.exec(statement))
        return true;
    NoteFailure(query.lastError());
    return false;
}

bool FileStore::Change(const QString& statement, const QVariantList& args, bool readsId)
{
    if (!m_open)
        return false;
    std::unique_ptr<QSqlQuery>& query = m_statements[statement];
    if (!query) {
        if (m_statements.size() > 64) {
            m_statements.clear();
            return Change(statement, args, readsId);
        }
        query = std::make_unique<QSqlQuery>(m_db);
        if (!query->prepare(statement)) {
            NoteFailure(query->lastError());
            m_statements.erase(statement);
            return false;
        }
    }
    BindAll(*query, args);
    const bool ok = query->exec();
    if (!ok)
        NoteFailure(query->lastError());
    m_lastInsertId = ok ? query->lastInsertId().toLongLong() : 0;
    m_rowsChanged = ok ? query->numRowsAffected() : 0;
    query->finish();
    return ok;
}

std::unique_ptr<RecordCursor> FileStore::Select(const QString& statement, const QVariantList& args)
{
    if (!m_open)
        return nullptr;
    auto query = std::make_unique<QSqlQuery>(m_db);
    query->setForwardOnly(true);
    if (!query->prepare(statement)) {
        NoteFailure(query->lastError());
        return nullptr;
    }
    BindAll(*query, args);
    if (!query->exec()) {
        NoteFailure(query->lastError());
        return nullptr;
    }
    query->next();
    return std::make_unique<QueryCursor>(std::move(query));
}

bool FileStore::ForEachRow(const QString& statement, const QVariantList& args, int fieldCount,
                           const std::function<bool(const QStringList&)>& each)
{
    if (!m_open)
        return false;
    DirectStatement query(m_db, statement, args);
    QStringList row;
    while (query.Next()) {
        row.clear();
        for (int i = 0; i < fieldCount; ++i)
            row.append(query.Text(i));
        if (!each(row))
            return false;
    }
    return query.Finished();
}

std::optional<std::vector<qint64>> FileStore::ReadIds(const QString& statement, const QVariantList& args)
{
    if (!m_open)
        return std::nullopt;
    std::vector<qint64> ids;
    DirectStatement query(m_db, statement, args);
    while (query.Next())
        ids.push_back(query.Number(0));
    if (!query.Finished()) {
        NoteFailure(QSqlError(QString(), query.Error()));
        return std::nullopt;
    }
    return ids;
}

bool FileStore::HasColumns(const QString& table, const QStringList& columns) const
{
    if (!m_open)
        return false;
    const QSqlRecord record = m_db.record(table);
    for (const QString& column : columns) {
        if (!record.contains(column))
            return false;
    }
    return !record.isEmpty();
}

bool FileStore::Begin()
{
    if (!m_open)
        return false;
    m_inTransaction = m_db.transaction();
    m_transactionFailed = false;
    if (!m_inTransaction)
        NoteFailure(m_db.lastError());
    return m_inTransaction;
}

bool FileStore::Commit()
{
    if (!m_open)
        return false;
    const bool ok = m_db.commit();
    if (!ok)
        NoteFailure(m_db.lastError());
    // A failed commit leaves the transaction for the caller's Rollback.
    m_inTransaction = !ok;
    return ok;
}

void FileStore::WriteOutChanges()
{
    // The journal keeps the transaction whole until the commit, which then has little left to
    // write: the pages go to the file now, and from the system's cache to the disk.
    sqlite3* connection = m_open && m_inTransaction ? SqliteOf(m_db) : nullptr;
    if (!connection || sqlite3_db_cacheflush(connection) != SQLITE_OK)
        return;
    const int file = ::open(QFile::encodeName(Path()).constData(), O_RDONLY | O_CLOEXEC);
    if (file >= 0) {
        ::fdatasync(file);
        ::close(file);
    }
}

bool FileStore::Rollback()
{
    m_inTransaction = false;
    return m_open && m_db.rollback();
}

bool FileStore::CopyInto(const QString& path)
{
    // VACUUM INTO writes the snapshot of one read transaction.
    return Change(QStringLiteral("vacuum into ?"), {path}, false);
}

bool FileStore::SearchIndexExists()
{
    return HasColumns(IndexTable, {Columns::Name, Columns::Address});
}

bool FileStore::DropSearchIndex()
{
    ForgetStatements();
    for (const QString& trigger : IndexTriggers)
        if (!RunSchemaStatement(QStringLiteral("drop trigger if exists ") + trigger))
            return false;
    return RunSchemaStatement(QStringLiteral("drop table if exists ") + IndexTable);
}

bool FileStore::CreateSearchIndex()
{
    const QString columns = Columns::Name + u',' + Columns::Address;
    const QString newValues = QStringLiteral("new.ID, new.名称, new.地址");
    const QString oldValues = QStringLiteral("'delete', old.ID, old.名称, old.地址");
    const QString insertNew =
        QStringLiteral("insert into 网址索引(rowid, %1) values (%2);").arg(columns, newValues);
    const QString deleteOld =
        QStringLiteral("insert into 网址索引(网址索引, rowid, %1) values (%2);").arg(columns, oldValues);
    const auto trigger = [this](const QString& name, const QString& when, const QString& statements) {
        return RunSchemaStatement(QStringLiteral("create trigger if not exists ") + name + u' ' + when +
                                  QStringLiteral(" begin ") + statements + QStringLiteral(" end"));
    };
    return RunSchemaStatement(
               QStringLiteral("create virtual table if not exists 网址索引 using fts5(%1, content='网址', "
                              "content_rowid='ID', tokenize='trigram')")
                   .arg(columns)) &&
           trigger(IndexTriggers[0], QStringLiteral("after insert on 网址"), insertNew) &&
           trigger(IndexTriggers[1], QStringLiteral("after delete on 网址"), deleteOld) &&
           trigger(IndexTriggers[2], QStringLiteral("after update of ID, 名称, 地址 on 网址"),
                   deleteOld + insertNew) &&
           Change(QStringLiteral("insert into 网址索引(网址索引) values (?)"), {QStringLiteral("rebuild")},
                  true);
}

std::pair<QString, QVariantList> FileStore::Containing(const QString& column, const QString& text)
{
    const SearchIndex::Condition condition =
        SearchIndexExists() ? SearchIndex::Indexed(column, text) : SearchIndex::Literal(column, text);
    return {condition.where, condition.args};
}
