#include "ForeignDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include <sqlite3.h>

namespace {

// How often, in virtual-machine steps, a running statement looks at the clock and the cancel flag.
constexpr int ProgressSteps = 10000;
// No value of a bookmark's is anywhere near this; a hostile file's may be.
constexpr int LongestValueBytes = 1 << 20;

qint64 Now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace

ForeignDatabase::ForeignDatabase(const QString& path, const std::atomic<bool>* cancelled, Limits limits)
    : m_cancelled(cancelled), m_limits(limits)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > m_limits.fileBytes ||
        QFileInfo(path + QStringLiteral("-wal")).size() > m_limits.fileBytes)
        return;
    QTemporaryDir copy;
    copy.setAutoRemove(false);
    if (!copy.isValid())
        return;
    m_copyDirectory = copy.path();
    const QString copied = copy.filePath(QStringLiteral("copy.sqlite"));
    if (!QFile::copy(path, copied))
        return;
    // Its owner's recent changes are in the journal: folded into the copy before it is frozen.
    if (QFile::copy(path + QStringLiteral("-wal"), copied + QStringLiteral("-wal"))) {
        sqlite3* folding = nullptr;
        if (sqlite3_open_v2(QFile::encodeName(copied).constData(), &folding, SQLITE_OPEN_READWRITE,
                            nullptr) == SQLITE_OK) {
            sqlite3_db_config(folding, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
            sqlite3_wal_checkpoint_v2(folding, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
        }
        sqlite3_close_v2(folding);
    }
    QUrl uri = QUrl::fromLocalFile(copied);
    uri.setQuery(QStringLiteral("mode=ro&immutable=1"));
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(uri.toEncoded().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) !=
        SQLITE_OK) {
        sqlite3_close_v2(db);
        return;
    }
    m_db = db;
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_limit(m_db, SQLITE_LIMIT_LENGTH, LongestValueBytes);
    sqlite3_exec(m_db, "pragma query_only = on; pragma temp_store = memory", nullptr, nullptr, nullptr);
    sqlite3_progress_handler(m_db, ProgressSteps, &ForeignDatabase::Progress, this);
}

ForeignDatabase::~ForeignDatabase()
{
    sqlite3_close_v2(m_db);
    if (!m_copyDirectory.isEmpty())
        QDir(m_copyDirectory).removeRecursively();
}

int ForeignDatabase::Progress(void* self)
{
    const auto* database = static_cast<ForeignDatabase*>(self);
    return (database->m_cancelled && database->m_cancelled->load()) || Now() > database->m_deadline ? 1 : 0;
}

bool ForeignDatabase::HasTable(const QString& table, const QStringList& columns)
{
    bool ordinary = false;
    ForEachRow(QStringLiteral("select type, sql from sqlite_schema where name = '%1'").arg(table),
               [&](const QStringList& row) {
                   ordinary =
                       row[0] == QStringLiteral("table") &&
                       !row[1].trimmed().startsWith(QStringLiteral("create virtual"), Qt::CaseInsensitive);
               });
    if (!ordinary)
        return false;
    QStringList present;
    ForEachRow(QStringLiteral("select name from pragma_table_info('%1')").arg(table),
               [&](const QStringList& row) { present.append(row[0]); });
    for (const QString& column : columns) {
        if (!present.contains(column, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

bool ForeignDatabase::ForEachRow(const QString& statement,
                                 const std::function<void(const QStringList&)>& each)
{
    if (!m_db)
        return false;
    m_deadline = Now() + m_limits.timeMs;
    sqlite3_stmt* query = nullptr;
    const QByteArray text = statement.toUtf8();
    if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &query, nullptr) != SQLITE_OK) {
        sqlite3_finalize(query);
        return false;
    }
    const int columns = sqlite3_column_count(query);
    qint64 rows = 0;
    int step = SQLITE_ROW;
    QStringList row;
    while ((step = sqlite3_step(query)) == SQLITE_ROW) {
        if (++rows > m_limits.rows)
            break;
        row.clear();
        for (int column = 0; column < columns; ++column) {
            const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(query, column));
            row.append(value ? QString::fromUtf8(value, sqlite3_column_bytes(query, column)) : QString());
        }
        each(row);
    }
    sqlite3_finalize(query);
    return step == SQLITE_DONE;
}
