#include "ServerSchema.h"

#include "IniFile.h"
#include "RecordTable.h"
#include "SearchIndex.h"
#include "SettingsKeys.h"
#include "StorageNames.h"
#include "SystemKeyring.h"

namespace {

QString TextColumns(const QStringList& names)
{
    QStringList columns;
    for (const QString& name : names)
        columns.append(name + QStringLiteral(" text"));
    return columns.join(u',');
}

// The trigger function every change of 网址 and 分类 runs once per statement.
const QString NotifyFunction =
    QStringLiteral("create or replace function qavex_notify() returns trigger language plpgsql as "
                   "$$ begin perform pg_notify('qavex_changes', TG_TABLE_NAME); return null; end $$");

} // namespace

namespace ServerSchema {

bool Exists(RecordTable& records)
{
    // One question rather than one per table: each is a trip to the server.
    const QList<QStringList> count =
        records.ReadRows(QStringLiteral("pg_catalog.pg_tables"), {QStringLiteral("count(*)")},
                         QStringLiteral("schemaname = current_schema() and tablename in (?, ?, ?)"),
                         {Tables::Bookmarks, Tables::Categories, Tables::History});
    return count.size() == 1 && count[0][0] == u'3';
}

bool IsEmpty(RecordTable& records)
{
    const QList<QStringList> count = records.ReadRows(
        QStringLiteral("pg_catalog.pg_class c join pg_catalog.pg_namespace n on n.oid = c.relnamespace"),
        {QStringLiteral("count(*)")},
        QStringLiteral("n.nspname = current_schema() and c.relkind in ('r', 'v', 'm', 'p', 'f')"));
    return count.size() == 1 && count[0][0] == u'0';
}

bool CreateTables(RecordTable& records)
{
    using namespace Columns;
    const QString id = records.IdColumnDefinition() + u',';
    const QStringList statements = {
        // Trusted since PostgreSQL 13: the database's owner may add it.
        QStringLiteral("create extension if not exists pg_trgm"),
        QStringLiteral("create table %1 (%2)").arg(Tables::History, id + TextColumns({Address})),
        QStringLiteral("create table %1 (%2)")
            .arg(Tables::Bookmarks,
                 id + TextColumns({Name, Address, Category, Remark, Account, Password, AccountId, PasswordId,
                                   IdType, ButtonId, ButtonIdType, ControlType})),
        QStringLiteral("create table %1 (%2)").arg(Tables::Categories, id + TextColumns({CategoryName})),
        // Two machines adding the same address, or the same new category, at once store it once.
        QStringLiteral("create unique index 网址_地址 on 网址(地址)"),
        QStringLiteral("create unique index 分类_分类名 on 分类(分类名)"),
        QStringLiteral("create index 网址_分类 on 网址(分类)"),
        QStringLiteral("create index 历史地址_地址 on 历史地址(地址)"),
        QStringLiteral("create index 网址_名称_三元 on 网址 using gin (%1 gin_trgm_ops)")
            .arg(SearchIndex::AsciiFolded(Name)),
        QStringLiteral("create index 网址_地址_三元 on 网址 using gin (%1 gin_trgm_ops)")
            .arg(SearchIndex::AsciiFolded(Address)),
        NotifyFunction,
        QStringLiteral("create trigger 网址_通知 after insert or update or delete or truncate on 网址 "
                       "for each statement execute function qavex_notify()"),
        QStringLiteral("create trigger 分类_通知 after insert or update or delete or truncate on 分类 "
                       "for each statement execute function qavex_notify()"),
    };
    for (const QString& statement : statements) {
        if (!records.RunSchemaStatement(statement))
            return false;
    }
    return true;
}

bool Create(RecordTable& records)
{
    if (!records.BeginTransaction())
        return false;
    if (CreateTables(records) && records.Commit())
        return true;
    records.Rollback();
    return false;
}

QString KeyringItem(const ServerAddress& server)
{
    return QStringLiteral("server-") + server.Label();
}

ServerAddress ChosenServer(const IniFile& settings, bool* cancelled)
{
    ServerAddress server = ReadServerAddress(settings);
    if (settings.Read(Settings::ServerPasswordInKeyring) == Settings::TrueText) {
        const SystemKeyring::Answer answer = SystemKeyring().Read(KeyringItem(server));
        if (answer.ok)
            server.password = QString::fromUtf8(answer.data);
        if (cancelled)
            *cancelled = answer.cancelled;
    }
    return server;
}

bool OpenAt(RecordTable& records, ServerAddress server)
{
    const bool opened = records.OpenServer(server) && (Exists(records) || Create(records));
    server.password.fill(u'\0');
    if (!opened)
        records.Close(); // the reason stays in LastError()
    return opened;
}

bool OpenChosen(RecordTable& records, const IniFile& settings)
{
    return OpenAt(records, ChosenServer(settings));
}

} // namespace ServerSchema
