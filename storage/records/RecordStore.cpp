#include "RecordStore.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>

#include <atomic>

QString WherePart(const QString& where)
{
    return where.isEmpty() ? QString() : QStringLiteral(" where ") + where;
}

QString ReasonOf(const QSqlError& error)
{
    static const QRegularExpression stateCode(QStringLiteral("\\s*\\([0-9A-Z]{5}\\)\\s*$|^\\s*\\(\\)\\s*$"));
    const QString text = error.databaseText().remove(stateCode).section(u'\n', 0, 0).trimmed();
    return text.isEmpty() ? error.driverText().trimmed() : text;
}

void RecordStore::NoteReason(const QString& reason, bool commitFailure)
{
    if (!(m_transactionFailed && !m_lastError.isEmpty() && commitFailure))
        m_lastError = reason;
    m_transactionFailed = m_inTransaction;
}

QString RecordStore::InStoredOrder(const QString& /*table*/, const QString& where,
                                   const QStringList& /*fields*/) const
{
    return WherePart(where);
}

int RecordCursor::ColumnOf(const QString& field) const
{
    for (const auto& [name, column] : m_columns) {
        if (name == field)
            return column;
    }
    const int column = FindColumn(field);
    m_columns.append({field, column});
    return column;
}

QString NewConnectionName(const QString& kind)
{
    static std::atomic<int> connections = 0;
    return QStringLiteral("qavex-%1-%2").arg(kind).arg(++connections);
}

void DropConnection(QSqlDatabase& db, const QString& name)
{
    if (db.isValid())
        db.close();
    db = QSqlDatabase();
    if (QSqlDatabase::contains(name))
        QSqlDatabase::removeDatabase(name);
}
