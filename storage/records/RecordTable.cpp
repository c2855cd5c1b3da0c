#include "RecordTable.h"

#include "FileStore.h"
#include "ServerStore.h"

namespace {

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

} // namespace

RecordTable::RecordTable() = default;

RecordTable::~RecordTable()
{
    Close();
}

bool RecordTable::Open(const QString& path, const QString& /*password*/)
{
    Close();
    auto store = std::make_unique<FileStore>();
    m_server = false;
    const bool opened = store->Open(path);
    m_store = std::move(store);
    return opened;
}

bool RecordTable::OpenServer(const ServerAddress& server)
{
    Close();
    auto store = std::make_unique<ServerStore>();
    m_server = true;
    m_address = server;
    store->OnConnectionLost([this](const QString& reason) {
        if (m_onLost)
            m_onLost(reason);
    });
    if (m_reconnectOnlyWhenAsked)
        store->ReconnectOnlyWhenAsked();
    const bool opened = store->Open(server);
    m_store = std::move(store);
    return opened;
}

void RecordTable::SetServerAway(const ServerAddress& server, const QString& reason)
{
    Close();
    auto store = std::make_unique<ServerStore>();
    store->SetAway(reason);
    m_server = true;
    m_address = server;
    m_address.password.clear();
    m_store = std::move(store);
}

void RecordTable::Close()
{
    ResetRecordSets();
    if (m_store)
        m_store->Close();
}

void RecordTable::ResetRecordSets()
{
    m_recordSets.clear();
    m_current = 0;
}

void RecordTable::OnConnectionLost(std::function<void(const QString& reason)> told)
{
    m_onLost = std::move(told);
}

void RecordTable::ReconnectOnlyWhenAsked()
{
    m_reconnectOnlyWhenAsked = true;
    if (m_store)
        m_store->ReconnectOnlyWhenAsked();
}

bool RecordTable::WatchOtherChanges(QObject* context, std::function<void()> changed)
{
    return IsOpen() && m_store->WatchOtherChanges(context, std::move(changed));
}

QString RecordTable::IdColumnDefinition() const
{
    return m_store ? m_store->IdColumnDefinition() : FileStore::RowKeyColumn();
}

bool RecordTable::RunSchemaStatement(const QString& statement)
{
    return m_store && m_store->RunSchemaStatement(statement);
}

bool RecordTable::HasColumns(const QString& table, const QStringList& columns) const
{
    return IsOpen() && m_store->HasColumns(table, columns);
}

bool RecordTable::Insert(const QString& table, const QString& columns, const QVariantList& values)
{
    return m_store && m_store->Change(QStringLiteral("insert into ") + table + u'(' + columns +
                                          QStringLiteral(") values (") + Placeholders(values.size()) + u')' +
                                          m_store->InsertEnding(),
                                      values, true);
}

bool RecordTable::Exists(const QString& table, const QString& fields, const QString& where,
                         const QVariantList& args)
{
    m_current = 0;
    if (!m_store)
        return false;
    // The condition is always there: a caller's empty condition fails rather than matching every row.
    const auto rows =
        m_store->Select(QStringLiteral("select ") + FieldsOrAll(fields) + QStringLiteral(" from ") + table +
                            QStringLiteral(" where ") + where,
                        args);
    return rows && rows->Valid();
}

bool RecordTable::Update(const QString& table, const QString& assignments, const QString& where,
                         const QVariantList& args)
{
    return m_store && m_store->Change(QStringLiteral("update ") + table + QStringLiteral(" set ") +
                                          assignments + WherePart(where),
                                      args, false);
}

RecordSet RecordTable::Query(const QString& table, const QString& fields, const QString& where,
                             const QVariantList& args)
{
    m_current = 0;
    if (!m_store)
        return 0;
    auto rows = m_store->Select(QStringLiteral("select ") + FieldsOrAll(fields) + QStringLiteral(" from ") +
                                    table + m_store->InStoredOrder(table, where, {fields}),
                                args);
    if (!rows)
        return 0;
    const bool hasRows = rows->Valid();
    m_current = ++m_lastHandle;
    m_recordSets[m_current] = std::move(rows);
    return hasRows ? m_current : 0;
}

RecordCursor* RecordTable::Find(RecordSet recordSet) const
{
    const auto it = m_recordSets.find(recordSet == 0 ? m_current : recordSet);
    return it == m_recordSets.end() ? nullptr : it->second.get();
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
    if (RecordCursor* rows = Find(recordSet))
        rows->Next();
}

QString RecordTable::ReadText(const QString& field, RecordSet recordSet) const
{
    const RecordCursor* rows = Find(recordSet);
    return rows && rows->Valid() ? rows->Text(field) : QStringLiteral("");
}

bool RecordTable::IsAfterLast(RecordSet recordSet) const
{
    const RecordCursor* rows = Find(recordSet);
    return !rows || !rows->Valid();
}

int RecordTable::ReadColumn(QStringList& out, const QString& table, const QString& field,
                            const QString& where, const QVariantList& args)
{
    out.clear();
    if (!m_store)
        return 0;
    const auto rows = m_store->Select(
        QStringLiteral("select * from ") + table + m_store->InStoredOrder(table, where, {}), args);
    if (!rows)
        return 0;
    for (; rows->Valid(); rows->Next())
        out.append(rows->Text(field));
    return int(out.size());
}

bool RecordTable::ForEachRow(const QString& table, const QStringList& fields, const QString& where,
                             const QVariantList& args, const std::function<bool(const QStringList&)>& each)
{
    return m_store &&
           m_store->ForEachRow(QStringLiteral("select ") + fields.join(u',') + QStringLiteral(" from ") +
                                   table + m_store->InStoredOrder(table, where, fields),
                               args, int(fields.size()), each);
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
    if (!m_store)
        return std::nullopt;
    return m_store->ReadIds(
        QStringLiteral("select ID from ") + table + m_store->InStoredOrder(table, where, {}), args);
}

bool RecordTable::Delete(const QString& table, const QString& where, const QVariantList& args)
{
    // An empty condition makes a failing statement, never a silent "delete everything".
    return m_store &&
           m_store->Change(QStringLiteral("delete from ") + table + QStringLiteral(" where ") + where, args,
                           false);
}

bool RecordTable::DeleteAll(const QString& table)
{
    return m_store && m_store->Change(QStringLiteral("delete from ") + table, {}, false);
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
    if (m_store)
        m_store->ForgetStatements();
    return RunSchemaStatement(QStringLiteral("drop trigger if exists ") + name);
}

bool RecordTable::DropTable(const QString& table)
{
    // Statements kept for the table would outlive it.
    if (m_store)
        m_store->ForgetStatements();
    return RunSchemaStatement(QStringLiteral("drop table if exists ") + table);
}

bool RecordTable::CopyInto(const QString& path)
{
    return IsOpen() && m_store->CopyInto(path);
}

bool RecordTable::BeginTransaction()
{
    return m_store && m_store->Begin();
}

bool RecordTable::Commit()
{
    return m_store && m_store->Commit();
}

bool RecordTable::Rollback()
{
    return m_store && m_store->Rollback();
}
