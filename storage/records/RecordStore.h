#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QObject;
class QSqlDatabase;
class QSqlError;

// The rows one query found, read front to back.
class RecordCursor {
public:
    virtual ~RecordCursor() = default;
    // On a row (false before the first when there was none, and after the last).
    virtual bool Valid() const = 0;
    virtual void Next() = 0;
    // The field's text on the current row; "" for NULL or a field the query does not have.
    virtual QString Text(const QString& field) const = 0;

protected:
    // The field's column, looked up once: readers ask for fields by name on every row. -1: none.
    int ColumnOf(const QString& field) const;
    virtual int FindColumn(const QString& field) const = 0;

private:
    mutable QList<std::pair<QString, int>> m_columns;
};

// Where a collection's records are kept: the SQLite file or the PostgreSQL server. Statements
// arrive whole, written with `?` placeholders and their values beside them; what the two
// databases do differently (placeholders, row keys, the order rows come in, the search index,
// lost connections, notices of other machines' changes) is the store's business.
class RecordStore {
public:
    virtual ~RecordStore() = default;

    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;

    // A statement that changes rows (update, delete) or, with `readsId`, an insert whose new
    // row's ID is kept.
    virtual bool Change(const QString& statement, const QVariantList& args, bool readsId) = 0;
    virtual std::unique_ptr<RecordCursor> Select(const QString& statement, const QVariantList& args) = 0;
    // Each row's first `fieldCount` fields as texts. False when `each` stopped it or the reading failed.
    virtual bool ForEachRow(const QString& statement, const QVariantList& args, int fieldCount,
                            const std::function<bool(const QStringList&)>& each) = 0;
    // The one number column of every row.
    virtual std::optional<std::vector<qint64>> ReadIds(const QString& statement,
                                                       const QVariantList& args) = 0;
    virtual bool RunSchemaStatement(const QString& statement) = 0;
    // Statements kept prepared are dropped (a table they name goes).
    virtual void ForgetStatements() = 0;
    virtual bool HasColumns(const QString& table, const QStringList& columns) const = 0;

    // How an insert's statement ends for the store to name the new row's ID.
    virtual QString InsertEnding() const { return {}; }
    virtual QString IdColumnDefinition() const = 0;
    // The condition with the order our tables are read in on this database.
    virtual QString InStoredOrder(const QString& table, const QString& where,
                                  const QStringList& fields) const;

    virtual bool Begin() = 0;
    virtual bool Commit() = 0;
    virtual bool Rollback() = 0;
    // What a long transaction changed so far goes to the file now, so that its commit stays short.
    virtual void WriteOutChanges() {}

    virtual bool CopyInto(const QString& /*path*/) { return false; }
    virtual QString Path() const { return {}; }

    // The search index over names and addresses.
    virtual bool SearchIndexExists() = 0;
    virtual bool CreateSearchIndex() = 0;
    virtual bool DropSearchIndex() = 0;
    // The condition for rows whose `column` contains `text`, through the index where it can.
    virtual std::pair<QString, QVariantList> Containing(const QString& column, const QString& text) = 0;

    // Only a server's connection is lost, and only a server tells of other machines' changes.
    virtual bool ConnectionLost() const { return false; }
    virtual void OnConnectionLost(std::function<void(const QString&)> /*told*/) {}
    virtual bool WatchOtherChanges(QObject* /*context*/, std::function<void()> /*changed*/) { return false; }
    // A lost connection is opened again only by Reconnect, never by the next statement (whose
    // caller may be painting and cannot wait).
    virtual void ReconnectOnlyWhenAsked() {}
    virtual bool Reconnect() { return IsOpen(); }
    // A lost connection stays lost: the server did not answer a look elsewhere, for this reason.
    virtual void KeepLost(const QString& /*reason*/) {}

    QString LastError() const { return m_lastError; }
    bool LastFailureWasDuplicate() const { return m_duplicate; }
    bool InTransaction() const { return m_inTransaction; }
    qint64 LastInsertId() const { return m_lastInsertId; }
    qint64 RowsChanged() const { return m_rowsChanged; }

protected:
    // A failure's reason is kept, except that the commit of a transaction a statement failed in
    // fails too and the statement's reason stays.
    void NoteReason(const QString& reason, bool commitFailure);

    QString m_lastError;
    bool m_transactionFailed = false; // a statement failed since the transaction began
    bool m_duplicate = false;
    bool m_inTransaction = false;
    qint64 m_lastInsertId = 0;
    qint64 m_rowsChanged = 0;
};

// A connection name of a store's own (a store on another thread opens its own connection), and
// its end: closed and out of QtSql's list.
QString NewConnectionName(const QString& kind);
void DropConnection(QSqlDatabase& db, const QString& name);

// " where <condition>", or nothing for none.
QString WherePart(const QString& where);
// The database's first line ("ERROR:  …"), without the context lines and the "(SQLSTATE)" the
// driver adds; the driver's own words when the database said nothing.
QString ReasonOf(const QSqlError& error);
