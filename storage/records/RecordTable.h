#pragma once

#include "RecordStore.h"
#include "ServerAddress.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QObject;

// Handle of a query result; 0 means none.
using RecordSet = int;

// The one way statements reach the collection, wherever it is kept: the SQLite file or the
// PostgreSQL server (a RecordStore each, chosen by Open or OpenServer; the same RecordTable moves
// when the collection does). Statements are built from their parts (table, column list,
// condition, …); every value travels as a bound parameter, so a condition is written with `?`
// placeholders ("地址=?") and its values are passed beside it.
//
// There is a single current record set: a reader finishes its loop and closes it before the next
// Query. Nothing here shows a message; failures read as false, 0 or empty.
class RecordTable {
public:
    RecordTable();
    ~RecordTable();
    RecordTable(const RecordTable&) = delete;
    RecordTable& operator=(const RecordTable&) = delete;

    // Opens an existing SQLite file; never creates one. Databases carry no password here.
    bool Open(const QString& path, const QString& password = {});
    // Opens a collection kept on a PostgreSQL server. A connection that drops is opened again at
    // the next act; the one that found it gone fails and says so.
    bool OpenServer(const ServerAddress& server);
    void Close();
    // The collection is on this server, which did not answer a look taken beside the window: closed,
    // with the reason, as a failed OpenServer leaves it, without trying again here.
    void SetServerAway(const ServerAddress& server, const QString& reason);
    bool IsOpen() const { return m_store && m_store->IsOpen(); }
    bool IsServer() const { return m_server; }
    const ServerAddress& Server() const { return m_address; }
    // The file open now; empty when none is (or when the collection is on a server).
    QString Path() const { return IsOpen() ? m_store->Path() : QString(); }

    // The database's own words for the last failure, for messages.
    QString LastError() const { return m_store ? m_store->LastError() : QString(); }
    // The last failure was a row the server keeps unique (an address stored twice).
    bool LastFailureWasDuplicate() const { return m_store && m_store->LastFailureWasDuplicate(); }
    // The server's connection is gone; the next act tries to open it again.
    bool ConnectionLost() const { return m_store && m_store->ConnectionLost(); }
    bool InTransaction() const { return m_store && m_store->InTransaction(); }
    // Told, with the reason, when the server's connection is found gone: by its socket while idle,
    // by a statement, or by the one attempt per act to open it again.
    void OnConnectionLost(std::function<void(const QString& reason)> told);
    // Called when another program changes a table on the server (LISTEN/NOTIFY); never for our
    // own changes. `context` ends the watch when it goes.
    bool WatchOtherChanges(QObject* context, std::function<void()> changed);
    // From now on a lost connection is opened again only by Reconnect, after its owner looked at
    // the server elsewhere; statements meanwhile fail at once.
    void ReconnectOnlyWhenAsked();
    // Opens a lost connection again (outside a transaction); true when the connection is there.
    bool Reconnect() { return m_store && m_store->Reconnect(); }
    // The lost connection stays lost, for this reason (the server did not answer a look).
    void KeepLost(const QString& reason)
    {
        if (m_store)
            m_store->KeepLost(reason);
    }
    // What a table's ID column is made as: the row key SQLite numbers, or an identity column.
    QString IdColumnDefinition() const;
    // A statement without values that makes or changes tables, indexes and functions.
    bool RunSchemaStatement(const QString& statement);

    // Whether the table is there with at least these columns.
    bool HasColumns(const QString& table, const QStringList& columns) const;
    bool Insert(const QString& table, const QString& columns, const QVariantList& values);
    // The ID the last successful Insert gave its row.
    qint64 LastInsertId() const { return m_store ? m_store->LastInsertId() : 0; }
    // Rows the last update or delete changed: none when the row was gone (deleted elsewhere).
    qint64 RowsChanged() const { return m_store ? m_store->RowsChanged() : 0; }
    bool Exists(const QString& table, const QString& fields, const QString& where,
                const QVariantList& args = {});
    bool Update(const QString& table, const QString& assignments, const QString& where = {},
                const QVariantList& args = {});
    RecordSet Query(const QString& table, const QString& fields, const QString& where = {},
                    const QVariantList& args = {});
    void CloseRecordSet(RecordSet recordSet = 0);
    void MoveNext(RecordSet recordSet = 0);
    QString ReadText(const QString& field, RecordSet recordSet = 0) const;
    bool IsAfterLast(RecordSet recordSet = 0) const;
    int ReadColumn(QStringList& out, const QString& table, const QString& field, const QString& where = {},
                   const QVariantList& args = {});
    // Each row of several fields as texts, in `fields` order, read straight from the database's own
    // library (QtSql costs about a microsecond a value). False when `each` stopped it or the
    // database failed before the last row. The current record set is left alone.
    bool ForEachRow(const QString& table, const QStringList& fields, const QString& where,
                    const QVariantList& args, const std::function<bool(const QStringList&)>& each);
    // The same, kept.
    QList<QStringList> ReadRows(const QString& table, const QStringList& fields, const QString& where,
                                const QVariantList& args = {});
    // The IDs of the rows `where` selects ("" for all), read straight from the database's library:
    // a list of a million rows is read in tens of milliseconds rather than the second QtSql spends.
    // nullopt when the reading failed (see LastError), never an empty list in its place.
    std::optional<std::vector<qint64>> ReadIds(const QString& table, const QString& where = {},
                                               const QVariantList& args = {});
    bool Delete(const QString& table, const QString& where, const QVariantList& args = {});
    bool DeleteAll(const QString& table);
    // A table of our own that older files do not have; `columns` is its column definitions.
    bool CreateTable(const QString& table, const QString& columns);
    bool DropTable(const QString& table);
    // `module` is the module and its arguments: "fts5(…)".
    bool CreateVirtualTable(const QString& table, const QString& module);
    // `statements`: the trigger's body, each statement ending in ';'.
    bool CreateTrigger(const QString& name, const QString& when, const QString& statements);
    bool DropTrigger(const QString& name);

    // A consistent copy of the whole database, written to a new file at `path`.
    bool CopyInto(const QString& path);

    // Many statements as one: all of them are stored, or none.
    bool BeginTransaction();
    bool Commit();
    bool Rollback();
    // Inside a long transaction: what it changed so far is written out, keeping the commit short.
    void WriteOutChanges()
    {
        if (m_store)
            m_store->WriteOutChanges();
    }

    // The store behind, for the search index and what else differs between the databases.
    RecordStore* Store() const { return m_store.get(); }

private:
    RecordCursor* Find(RecordSet recordSet) const;
    void ResetRecordSets();

    std::unique_ptr<RecordStore> m_store;
    bool m_server = false;
    ServerAddress m_address;
    std::function<void(const QString&)> m_onLost;
    bool m_reconnectOnlyWhenAsked = false;
    RecordSet m_current = 0;
    RecordSet m_lastHandle = 0;
    std::map<RecordSet, std::unique_ptr<RecordCursor>> m_recordSets;
};
