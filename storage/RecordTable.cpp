#include "RecordTable.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

QString WherePart(const QString& where) {
    return where.isEmpty() ? QString() : QStringLiteral(" where ") + where;
}

QString FieldsOrAll(const QString& fields) {
    return fields.isEmpty() ? QStringLiteral("*") : fields;
}

QString Placeholders(qsizetype count) {
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks.append(QStringLiteral("?"));
    return marks.join(u',');
}

QString ValueAsText(const QVariant& value) {
    if (value.isNull())
        return QStringLiteral("");
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

} // namespace

RecordTable::RecordTable() {
    static int connections = 0;
    m_connectionName = QStringLiteral("qavex-records-%1").arg(++connections);
}

RecordTable::~RecordTable() {
    Close();
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
}

bool RecordTable::Open(const QString& path, const QString& /*password*/) {
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
    }
    if (!m_open)
        m_db.close();
    return m_open;
}

void RecordTable::Close() {
    m_recordSets.clear();
    m_current = 0;
    if (m_db.isValid())
        m_db.close();
    m_open = false;
}

bool RecordTable::Execute(const QString& statement, const QVariantList& args) {
    if (!m_open)
        return false;
    QSqlQuery query(m_db);
    if (!query.prepare(statement))
        return false;
    for (const QVariant& arg : args)
        query.addBindValue(arg);
    return query.exec();
}

std::unique_ptr<QSqlQuery> RecordTable::Select(const QString& statement, const QVariantList& args) {
    if (!m_open)
        return nullptr;
    auto query = std::make_unique<QSqlQuery>(m_db);
    query->setForwardOnly(true);
    if (!query->prepare(statement))
        return nullptr;
    for (const QVariant& arg : args)
        query->addBindValue(arg);
    if (!query->exec())
        return nullptr;
    query->next();
    return query;
}

QSqlQuery* RecordTable::Find(RecordSet recordSet) const {
    const auto it = m_recordSets.find(recordSet == 0 ? m_current : recordSet);
    return it == m_recordSets.end() ? nullptr : it->second.get();
}

bool RecordTable::Insert(const QString& table, const QString& columns, const QVariantList& values) {
    return Execute(QStringLiteral("insert into ") + table + u'(' + columns + QStringLiteral(") values (") +
                       Placeholders(values.size()) + u')',
                   values);
}

bool RecordTable::Exists(const QString& table, const QString& fields, const QString& where,
                         const QVariantList& args) {
    // The condition is always there: a caller's empty condition fails rather than matching every row.
    const auto query = Select(QStringLiteral("select ") + FieldsOrAll(fields) + QStringLiteral(" from ") +
                                  table + QStringLiteral(" where ") + where,
                              args);
    m_current = 0;
    return query && query->isValid();
}

bool RecordTable::Update(const QString& table, const QString& assignments, const QString& where,
                         const QVariantList& args) {
    return Execute(
        QStringLiteral("update ") + table + QStringLiteral(" set ") + assignments + WherePart(where), args);
}

RecordSet RecordTable::Query(const QString& table, const QString& fields, const QString& where,
                             const QVariantList& args) {
    auto query = Select(QStringLiteral("select ") + FieldsOrAll(fields) + QStringLiteral(" from ") + table +
                            WherePart(where),
                        args);
    if (!query) {
        m_current = 0;
        return 0;
    }
    const bool hasRows = query->isValid();
    m_current = ++m_lastHandle;
    m_recordSets[m_current] = std::move(query);
    return hasRows ? m_current : 0;
}

void RecordTable::CloseRecordSet(RecordSet recordSet) {
    const RecordSet target = recordSet == 0 ? m_current : recordSet;
    m_recordSets.erase(target);
    if (target == m_current)
        m_current = 0;
}

void RecordTable::MoveNext(RecordSet recordSet) {
    if (QSqlQuery* query = Find(recordSet))
        query->next();
}

QString RecordTable::ReadText(const QString& field, RecordSet recordSet) const {
    QSqlQuery* query = Find(recordSet);
    if (!query || !query->isValid())
        return QStringLiteral("");
    const int index = query->record().indexOf(field);
    return index < 0 ? QStringLiteral("") : ValueAsText(query->value(index));
}

bool RecordTable::IsAfterLast(RecordSet recordSet) const {
    QSqlQuery* query = Find(recordSet);
    return !query || !query->isValid();
}

int RecordTable::ReadColumn(QStringList& out, const QString& table, const QString& field,
                            const QString& where, const QVariantList& args) {
    out.clear();
    const auto query = Select(QStringLiteral("select * from ") + table + WherePart(where), args);
    if (!query)
        return 0;
    const int index = query->record().indexOf(field);
    for (; query->isValid(); query->next())
        out.append(index < 0 ? QStringLiteral("") : ValueAsText(query->value(index)));
    return int(out.size());
}

bool RecordTable::Delete(const QString& table, const QString& where, const QVariantList& args) {
    // An empty condition makes a failing statement, never a silent "delete everything".
    return Execute(QStringLiteral("delete from ") + table + QStringLiteral(" where ") + where, args);
}

bool RecordTable::DeleteAll(const QString& table) {
    return Execute(QStringLiteral("delete from ") + table, {});
}

bool RecordTable::BeginTransaction() {
    return m_open && m_db.transaction();
}

bool RecordTable::Commit() {
    return m_open && m_db.commit();
}

bool RecordTable::Rollback() {
    return m_open && m_db.rollback();
}
