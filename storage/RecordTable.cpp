#include "RecordTable.h"

#include <QFile>
#include <QSocketNotifier>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>

namespace {

QString WherePart(const QString& where)
{
    return where.isEmpty() ? QString() : QStringLiteral(" where ") + where;
}

QString FieldsOrAll(const QString& fields)
{
    return fields.isEmpty() ? QStringLiteral("*") : fields;
}

QString Placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks.append(QStringLiteral("?"));
    return marks.join(u',');
}

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

const QString SqliteDriver = QStringLiteral("QSQLITE");

// The server returns rows in no set order (a changed row moves), where SQLite follows the row key:
// our tables are read in the order of their IDs, as the file gives them.
QString StoredOrder(bool server, const QString& table, const QString& where, const QStringList& fields = {})
{
    const bool ours = table == QStringLiteral("网址") || table == QStringLiteral("分类") ||
                      table == QStringLiteral("历史地址");
    const bool aggregate =
        std::any_of(fields.begin(), fields.end(), [](const QString& field) { return field.contains(u'('); });
    if (!server || !ours || aggregate || where.contains(QStringLiteral("order by"), Qt::CaseInsensitive))
        return WherePart(where);
    return WherePart(where) + QStringLiteral(" order by ID");
}

} // namespace

RecordTable::RecordTable()
{
    // A long piece of work may open a connection of its own on another thread.
    static std::atomic<int> connections = 0;
    m_connectionName = QStringLiteral("qavex-records-%1").arg(++connections);
}

RecordTable::~RecordTable()
{
    Close();
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
}

bool RecordTable::Open(const QString& path, const QString& /*password*/)
{
    Close();
    // SQLite would quietly create a missing file; a missing database is a failed open.
    if (!QFile::exists(path))
        return false;
    UseDriver(SqliteDriver);
    m_server = false;
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

void RecordTable::UseDriver(const QString& driver)
{
    if (m_db.isValid() && m_db.driverName() == driver)
        return;
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
    m_db = QSqlDatabase::addDatabase(driver, m_connectionName);
}

bool RecordTable::RunSchemaStatement(const QString& statement)
{
    if (!Usable())
        return false;
    // Not prepared: the server prepares only queries and changes of rows.
    QSqlQuery query(m_db);
    if (query.exec(statement))
        return true;
    NoteFailure(query.lastError());
    return false;
}

void RecordTable::Close()
{
    m_connectionWatch.reset();
    m_recordSets.clear();
    m_statements.clear();
    m_current = 0;
    if (m_db.isValid())
        m_db.close();
    m_open = false;
    m_lost = false;
    m_inTransaction = false;
}

bool RecordTable::CopyInto(const QString& path)
{
    if (m_server)
        return false;
    // VACUUM INTO writes the snapshot of one read transaction.
    return Execute(QStringLiteral("vacuum into ?"), {path});
}

bool RecordTable::Execute(const QString& statement, const QVariantList& args, bool readsId)
{
    if (!Usable())
        return false;
    std::unique_ptr<QSqlQuery>& query = m_statements[statement];
    if (!query) {
        if (m_statements.size() > 64) {
            m_statements.clear();
            return Execute(statement, args, readsId);
        }
        query = std::make_unique<QSqlQuery>(m_db);
        if (!query->prepare(statement)) {
            NoteFailure(query->lastError());
            m_statements.erase(statement);
            return false;
        }
    }
    if (RefusedByServer(args))
        return false;
    BindAll(*query, args);
    const bool ok = query->exec();
    if (!ok)
        NoteFailure(query->lastError());
    if (m_server)
        TakeNotices();
    if (m_server) {
        // The server names the new row's ID in the insert's answer ("returning ID").
        if (readsId)
            m_lastInsertId = ok && query->next() ? query->value(0).toLongLong() : 0;
    } else {
        m_lastInsertId = ok ? query->lastInsertId().toLongLong() : 0;
    }
    m_rowsChanged = ok ? query->numRowsAffected() : 0;
    query->finish();
    return ok;
}

int RecordTable::Result::IndexOf(const QString& field) const
{
    for (const auto& [name, index] : lookups) {
        if (name == field)
            return index;
    }
    const int index = fields.indexOf(field);
    lookups.append({field, index});
    return index;
}

RecordTable::Result RecordTable::Select(const QString& statement, const QVariantList& args)
{
    if (!Usable())
        return {};
    auto query = std::make_unique<QSqlQuery>(m_db);
    // The server's driver reads a forward-only result row by row off the connection, and the
    // next statement would throw the rest away: there the result is taken whole.
    query->setForwardOnly(!m_server);
    if (RefusedByServer(args))
        return {};
    if (!query->prepare(statement)) {
        NoteFailure(query->lastError());
        return {};
    }
    BindAll(*query, args);
    if (!query->exec()) {
        NoteFailure(query->lastError());
        return {};
    }
    if (m_server)
        TakeNotices();
    query->next();
    QSqlRecord fields = query->record();
    return {std::move(query), std::move(fields), {}};
}

const RecordTable::Result* RecordTable::Find(RecordSet recordSet) const
{
    const auto it = m_recordSets.find(recordSet == 0 ? m_current : recordSet);
    return it == m_recordSets.end() ? nullptr : &it->second;
}

bool RecordTable::HasColumns(const QString& table, const QStringList& columns) const
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

bool RecordTable::Insert(const QString& table, const QString& columns, const QVariantList& values)
{
    return Execute(QStringLiteral("insert into ") + table + u'(' + columns + QStringLiteral(") values (") +
                       Placeholders(values.size()) + u')' +
                       (m_server ? QStringLiteral(" returning ID") : QString()),
                   values, true);
}

bool RecordTable::Exists(const QString& table, const QString& fields, const QString& where,
                         const QVariantList& args)
{
    // The condition is always there: a caller's empty condition fails rather than matching every row.
    const Result query = Select(QStringLiteral("select ") + FieldsOrAll(fields) + QStringLiteral(" from ") +
                                    table + QStringLiteral(" where ") + where,
                                args);
    m_current = 0;
    return query.query && query.query->isValid();
}

bool RecordTable::Update(const QString& table, const QString& assignments, const QString& where,
                         const QVariantList& args)
{
    return Execute(
        QStringLiteral("update ") + table + QStringLiteral(" set ") + assignments + WherePart(where), args);
}

RecordSet RecordTable::Query(const QString& table, const QString& fields, const QString& where,
                             const QVariantList& args)
{
    auto query = Select(QStringLiteral("select ") + FieldsOrAll(fields) + QStringLiteral(" from ") + table +
                            StoredOrder(m_server, table, where, {fields}),
                        args);
    if (!query.query) {
        m_current = 0;
        return 0;
    }
    const bool hasRows = query.query->isValid();
    m_current = ++m_lastHandle;
    m_recordSets[m_current] = std::move(query);
    return hasRows ? m_current : 0;
}

void RecordTable::CloseRecordSet(RecordSet recordSet)
{
    const RecordSet target = recordSet == 0 ? m_current : recordSet;
    m_recordSets.erase(target);
    if (target == m_current)
        m_current = 0;
}

void RecordTable::MoveNext(RecordSet recordSet)
{
    if (const Result* result = Find(recordSet))
        result->query->next();
}

QString RecordTable::ReadText(const QString& field, RecordSet recordSet) const
{
    const Result* result = Find(recordSet);
    if (!result || !result->query->isValid())
        return QStringLiteral("");
    const int index = result->IndexOf(field);
    return index < 0 ? QStringLiteral("") : ValueAsText(result->query->value(index));
}

bool RecordTable::IsAfterLast(RecordSet recordSet) const
{
    const Result* result = Find(recordSet);
    return !result || !result->query->isValid();
}

int RecordTable::ReadColumn(QStringList& out, const QString& table, const QString& field,
                            const QString& where, const QVariantList& args)
{
    out.clear();
    const Result result =
        Select(QStringLiteral("select * from ") + table + StoredOrder(m_server, table, where), args);
    if (!result.query)
        return 0;
    const int index = result.fields.indexOf(field);
    for (QSqlQuery& query = *result.query; query.isValid(); query.next())
        out.append(index < 0 ? QStringLiteral("") : ValueAsText(query.value(index)));
    return int(out.size());
}

bool RecordTable::CreateTable(const QString& table, const QString& columns)
{
    return RunSchemaStatement(QStringLiteral("create table if not exists ") + table + u'(' + columns + u')');
}

bool RecordTable::CreateVirtualTable(const QString& table, const QString& module)
{
    return RunSchemaStatement(QStringLiteral("create virtual table if not exists ") + table +
                              QStringLiteral(" using ") + module);
}

bool RecordTable::CreateTrigger(const QString& name, const QString& when, const QString& statements)
{
    return RunSchemaStatement(QStringLiteral("create trigger if not exists ") + name + u' ' + when +
                              QStringLiteral(" begin ") + statements + QStringLiteral(" end"));
}

bool RecordTable::DropTrigger(const QString& name)
{
    m_statements.clear();
    return RunSchemaStatement(QStringLiteral("drop trigger if exists ") + name);
}

bool RecordTable::DropTable(const QString& table)
{
    // Statements kept for the table would outlive it.
    m_statements.clear();
    return RunSchemaStatement(QStringLiteral("drop table if exists ") + table);
}

namespace {

// A statement prepared straight on SQLite, its arguments bound; finalized when it goes.
class DirectStatement {
public:
    DirectStatement(const QSqlDatabase& db, const QString& statement, const QVariantList& args)
    {
        const QVariant handle = db.driver()->handle();
        sqlite3* connection = handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
                                  ? *static_cast<sqlite3* const*>(handle.constData())
                                  : nullptr;
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

bool RecordTable::ForEachRow(const QString& table, const QStringList& fields, const QString& where,
                             const QVariantList& args, const std::function<bool(const QStringList&)>& each)
{
    if (!Usable())
        return false;
    const QString statement = QStringLiteral("select ") + fields.join(u',') + QStringLiteral(" from ") +
                              table + StoredOrder(m_server, table, where, fields);
    if (m_server)
        return ForEachServerRow(statement, args, int(fields.size()), each);
    DirectStatement query(m_db, statement, args);
    QStringList row;
    while (query.Next()) {
        row.clear();
        for (int i = 0; i < fields.size(); ++i)
            row.append(query.Text(i));
        if (!each(row))
            return false;
    }
    return query.Finished();
}

QList<QStringList> RecordTable::ReadRows(const QString& table, const QStringList& fields,
                                         const QString& where, const QVariantList& args)
{
    QList<QStringList> rows;
    ForEachRow(table, fields, where, args, [&rows](const QStringList& row) {
        rows.append(row);
        return true;
    });
    return rows;
}

std::optional<std::vector<qint64>> RecordTable::ReadIds(const QString& table, const QString& where,
                                                        const QVariantList& args)
{
    std::vector<qint64> ids;
    if (!Usable())
        return std::nullopt;
    if (m_server)
        return ReadServerIds(QStringLiteral("select ID from ") + table + StoredOrder(true, table, where),
                             args);
    const QString statement = QStringLiteral("select ID from ") + table + WherePart(where);
    DirectStatement query(m_db, statement, args);
    while (query.Next())
        ids.push_back(query.Number(0));
    if (!query.Finished()) {
        NoteFailure(QSqlError(QString(), query.Error()));
        return std::nullopt;
    }
    return ids;
}

bool RecordTable::Delete(const QString& table, const QString& where, const QVariantList& args)
{
    // An empty condition makes a failing statement, never a silent "delete everything".
    return Execute(QStringLiteral("delete from ") + table + QStringLiteral(" where ") + where, args);
}

bool RecordTable::DeleteAll(const QString& table)
{
    return Execute(QStringLiteral("delete from ") + table, {});
}

bool RecordTable::BeginTransaction()
{
    if (!Usable())
        return false;
    m_inTransaction = m_db.transaction();
    m_transactionFailed = false;
    if (!m_inTransaction)
        NoteFailure(m_db.lastError());
    return m_inTransaction;
}

bool RecordTable::Commit()
{
    if (!m_open || m_lost)
        return false;
    const bool ok = m_db.commit();
    if (!ok)
        NoteFailure(m_db.lastError());
    // Notices held back during the transaction come with the commit's answer.
    if (m_server)
        TakeNotices();
    // A failed commit on the server ends the transaction; SQLite's stays for the caller's Rollback.
    m_inTransaction = !ok && !m_server;
    return ok;
}

bool RecordTable::Rollback()
{
    m_inTransaction = false;
    return m_open && !m_lost && m_db.rollback();
}
