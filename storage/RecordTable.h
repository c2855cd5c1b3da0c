#pragma once

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QSqlQuery;

// Handle of a query result; 0 means none.
using RecordSet = int;

// The one way statements reach the database. Statements are built from their parts (table, column
// list, condition, …); every value travels as a bound parameter, so a condition is written with
// `?` placeholders ("地址=?") and its values are passed beside it. Values never become SQL text.
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
    void Close();
    bool IsOpen() const { return m_open; }
    // The file open now; empty when none is.
    QString Path() const { return m_open ? m_db.databaseName() : QString(); }

    // Whether the table is there with at least these columns.
    bool HasColumns(const QString& table, const QStringList& columns) const;
    bool Insert(const QString& table, const QString& columns, const QVariantList& values);
    // The ID the last successful Insert gave its row.
    qint64 LastInsertId() const { return m_lastInsertId; }
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
    // Each row of several fields as texts, in `fields` order, read straight from SQLite (QtSql
    // costs about a microsecond a value). False when `each` stopped it or the database failed
    // before the last row. The current record set is left alone.
    bool ForEachRow(const QString& table, const QStringList& fields, const QString& where,
                    const QVariantList& args, const std::function<bool(const QStringList&)>& each);
    // The same, kept.
    QList<QStringList> ReadRows(const QString& table, const QStringList& fields, const QString& where,
                                const QVariantList& args = {});
    // The IDs of the rows `where` selects ("" for all), read straight from SQLite: a list of a
    // million rows is read in tens of milliseconds rather than the second QtSql spends per value.
    std::vector<qint64> ReadIds(const QString& table, const QString& where = {},
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

private:
    bool Execute(const QString& statement, const QVariantList& args);
    struct Result {
        std::unique_ptr<QSqlQuery> query;
        QSqlRecord fields; // looked up once: readers ask for fields by name on every row
        mutable QList<std::pair<QString, int>> lookups;
        int IndexOf(const QString& field) const;
    };

    Result Select(const QString& statement, const QVariantList& args);
    const Result* Find(RecordSet recordSet) const;

    QString m_connectionName;
    QSqlDatabase m_db;
    bool m_open = false;
    RecordSet m_current = 0;
    RecordSet m_lastHandle = 0;
    qint64 m_lastInsertId = 0;
    std::map<RecordSet, Result> m_recordSets;
    // Prepared statements by text: a delete or insert repeated for many rows is parsed once.
    std::map<QString, std::unique_ptr<QSqlQuery>> m_statements;
};
