#pragma once

#include "RecordStore.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <map>
#include <memory>

class QSqlError;

// A collection in an SQLite file: changes through QtSql's prepared statements, kept by their
// text; long reads straight through SQLite's own library; the search index an FTS5 table.
class FileStore : public RecordStore {
public:
    FileStore();
    ~FileStore() override;

    // Opens an existing file; never creates one.
    bool Open(const QString& path);

    bool IsOpen() const override { return m_open; }
    void Close() override;
    bool Change(const QString& statement, const QVariantList& args, bool readsId) override;
    std::unique_ptr<RecordCursor> Select(const QString& statement, const QVariantList& args) override;
    bool ForEachRow(const QString& statement, const QVariantList& args, int fieldCount,
                    const std::function<bool(const QStringList&)>& each) override;
    std::optional<std::vector<qint64>> ReadIds(const QString& statement, const QVariantList& args) override;
    bool RunSchemaStatement(const QString& statement) override;
    void ForgetStatements() override { m_statements.clear(); }
    bool HasColumns(const QString& table, const QStringList& columns) const override;
    QString IdColumnDefinition() const override { return RowKeyColumn(); }
    // The row key SQLite numbers itself.
    static QString RowKeyColumn() { return QStringLiteral("ID INTEGER PRIMARY KEY"); }
    bool Begin() override;
    bool Commit() override;
    void WriteOutChanges() override;
    bool Rollback() override;
    bool CopyInto(const QString& path) override;
    QString Path() const override;
    bool SearchIndexExists() override;
    bool CreateSearchIndex() override;
    bool DropSearchIndex() override;
    std::pair<QString, QVariantList> Containing(const QString& column, const QString& text) override;

private:
    void NoteFailure(const QSqlError& error);

    QString m_connectionName;
    QSqlDatabase m_db;
    bool m_open = false;
    // Prepared statements by text: a delete or insert repeated for many rows is parsed once.
    std::map<QString, std::unique_ptr<QSqlQuery>> m_statements;
};
