#include "ServerStore.h"

#include "SearchIndex.h"
#include "StorageNames.h"

#include <QSocketNotifier>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <QtEndian>

#include <libpq-fe.h>

#include <algorithm>
#include <cstring>

namespace {

// SQLSTATE of a row a unique index refuses.
const QByteArray UniqueViolation = "23505";

// The server's text type holds no NUL; it would cut the value short at one.
const QString NulRefused = QStringLiteral("text with a NUL character cannot be stored on the server");

bool HoldsNul(const QVariantList& args)
{
    for (const QVariant& arg : args) {
        if (arg.typeId() == QMetaType::QString && arg.toString().contains(QChar(0)))
            return true;
    }
    return false;
}

QString FirstLine(const char* message)
{
    return QString::fromUtf8(message).section(u'\n', 0, 0).trimmed();
}

// A whole answer's rows, fields found by name as the server spells them (small letters for
// names it was not given in quotes).
class AnswerCursor : public RecordCursor {
public:
    explicit AnswerCursor(std::unique_ptr<pg_result, void (*)(pg_result*)> answer)
        : m_answer(std::move(answer)), m_rows(PQntuples(m_answer.get()))
    {
    }
    bool Valid() const override { return m_row < m_rows; }
    void Next() override
    {
        if (m_row < m_rows)
            ++m_row;
    }
    QString Text(const QString& field) const override
    {
        const int column = ColumnOf(field);
        if (column < 0 || PQgetisnull(m_answer.get(), m_row, column))
            return QStringLiteral("");
        return QString::fromUtf8(PQgetvalue(m_answer.get(), m_row, column),
                                 PQgetlength(m_answer.get(), m_row, column));
    }

protected:
    int FindColumn(const QString& field) const override
    {
        for (int column = 0; column < PQnfields(m_answer.get()); ++column) {
            if (field.compare(QString::fromUtf8(PQfname(m_answer.get(), column)), Qt::CaseInsensitive) == 0)
                return column;
        }
        return -1;
    }

private:
    std::unique_ptr<pg_result, void (*)(pg_result*)> m_answer;
    int m_rows = 0;
    int m_row = 0;
};

} // namespace

ServerStore::ServerStore() : m_connectionName(NewConnectionName(QStringLiteral("server"))) {}

ServerStore::~ServerStore()
{
    Close();
    DropConnection(m_db, m_connectionName);
}

bool ServerStore::Open(const ServerAddress& server)
{
    Close();
    if (!m_db.isValid())
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
    m_db.setHostName(server.host);
    m_db.setPort(server.port);
    m_db.setDatabaseName(server.database);
    m_db.setUserName(server.user);
    m_db.setPassword(server.password);
    // A server that does not answer is a failure within seconds, not a window that hangs; a
    // network that drops silently is noticed by the keepalives within a minute.
    m_db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=qavex;keepalives=1;"
                                          "keepalives_idle=30;keepalives_interval=10;keepalives_count=3"));
    m_open = m_db.open();
    if (!m_open) {
        m_lastError = ReasonOf(m_db.lastError());
        m_db.close();
        return false;
    }
    WatchConnection();
    return true;
}

void ServerStore::Close()
{
    m_connectionWatch.reset();
    // Prepared statements are taken down while their connection is there.
    m_statements.clear();
    if (m_db.isValid())
        m_db.close();
    m_open = false;
    m_lost = false;
    m_inTransaction = false;
}

pg_conn* ServerStore::Connection() const
{
    if (!m_db.isValid() || !m_db.driver())
        return nullptr;
    const QVariant handle = m_db.driver()->handle();
    // Qt names the type by libpq's struct: "pg_conn*".
    return handle.isValid() && qstrcmp(handle.typeName(), "pg_conn*") == 0
               ? *static_cast<PGconn* const*>(handle.constData())
               : nullptr;
}

QString ServerStore::InStoredOrder(const QString& table, const QString& where,
                                   const QStringList& fields) const
{
    // The server returns rows in no set order (a changed row moves), where SQLite follows the row
    // key: our tables are read in the order of their IDs, as the file gives them.
    const bool ours = table == Tables::Bookmarks || table == Tables::Categories || table == Tables::History;
    const bool aggregate =
        std::any_of(fields.begin(), fields.end(), [](const QString& field) { return field.contains(u'('); });
    if (!ours || aggregate || where.contains(QStringLiteral("order by"), Qt::CaseInsensitive))
        return WherePart(where);
    return WherePart(where) + QStringLiteral(" order by ID");
}

bool ServerStore::Refused(const QVariantList& args)
{
    if (!HoldsNul(args))
        return false;
    m_lastError = NulRefused;
    m_duplicate = false;
    return true;
}

const ServerStore::Prepared* ServerStore::Prepare(const QString& statement)
{
    const auto known = m_statements.find(statement);
    if (known != m_statements.end())
        return &known->second;
    if (m_statements.size() > 64)
        m_statements.clear();
    // QtSql turns the placeholders into the server's and prepares the statement under a name of
    // its own; the newest prepared statement of this session is that one.
    auto holder = std::make_unique<QSqlQuery>(m_db);
    if (!holder->prepare(statement)) {
        NoteReason(ReasonOf(holder->lastError()), false);
        m_duplicate = false;
        if (!m_lost && PQstatus(Connection()) == CONNECTION_BAD)
            LoseConnection(m_lastError);
        return nullptr;
    }
    // QtSql numbers the statements it prepares with one rising hexadecimal count.
    const Answer named = RunPlain("select name from pg_prepared_statements order by length(name) desc, "
                                  "name desc limit 1");
    if (!named || PQntuples(named.get()) != 1)
        return nullptr;
    Prepared& prepared = m_statements[statement];
    prepared.holder = std::move(holder);
    prepared.name = QByteArray(PQgetvalue(named.get(), 0, 0));
    return &prepared;
}

ServerStore::Answer ServerStore::RunPlain(const QByteArray& statement)
{
    Answer answer(PQexec(Connection(), statement.constData()), &PQclear);
    const ExecStatusType status = PQresultStatus(answer.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        NoteAnswerFailure(answer.get());
        answer.reset();
    }
    return answer;
}

ServerStore::Answer ServerStore::Run(const QString& statement, const QVariantList& args, bool binary)
{
    Answer answer(nullptr, &PQclear);
    if (!Usable() || Refused(args))
        return answer;
    const Prepared* prepared = Prepare(statement);
    if (!prepared)
        return answer;
    // Text values are never stored as NULL: an empty entry field gives a null QString, and the
    // columns hold text that readers compare with ''.
    std::vector<QByteArray> values;
    std::vector<const char*> pointers;
    values.reserve(size_t(args.size()));
    for (const QVariant& arg : args) {
        const bool null = arg.isNull() && arg.typeId() != QMetaType::QString;
        values.push_back(null ? QByteArray() : arg.toString().toUtf8());
        pointers.push_back(null ? nullptr : values.back().constData());
    }
    answer.reset(PQexecPrepared(Connection(), prepared->name.constData(), int(pointers.size()),
                                pointers.data(), nullptr, nullptr, binary ? 1 : 0));
    const ExecStatusType status = PQresultStatus(answer.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        NoteAnswerFailure(answer.get());
        answer.reset();
    }
    TakeNotices();
    return answer;
}

void ServerStore::NoteAnswerFailure(pg_result* answer, bool commitFailure)
{
    PGconn* connection = Connection();
    const QString reason = answer && *PQresultErrorMessage(answer) ? FirstLine(PQresultErrorMessage(answer))
                                                                   : FirstLine(PQerrorMessage(connection));
    NoteReason(reason, commitFailure);
    const char* state = answer ? PQresultErrorField(answer, PG_DIAG_SQLSTATE) : nullptr;
    m_duplicate = state && UniqueViolation == state;
    if (!m_lost && (!connection || PQstatus(connection) == CONNECTION_BAD))
        LoseConnection(m_lastError);
}

bool ServerStore::Change(const QString& statement, const QVariantList& args, bool readsId)
{
    const Answer answer = Run(statement, args, false);
    // The server names the new row's ID in the insert's answer ("returning ID").
    if (readsId)
        m_lastInsertId = answer && PQntuples(answer.get()) > 0
                             ? QByteArray(PQgetvalue(answer.get(), 0, 0)).toLongLong()
                             : 0;
    m_rowsChanged = answer ? QByteArray(PQcmdTuples(answer.get())).toLongLong() : 0;
    return bool(answer);
}

std::unique_ptr<RecordCursor> ServerStore::Select(const QString& statement, const QVariantList& args)
{
    Answer answer = Run(statement, args, false);
    if (!answer)
        return nullptr;
    return std::make_unique<AnswerCursor>(std::move(answer));
}

bool ServerStore::ForEachRow(const QString& statement, const QVariantList& args, int fieldCount,
                             const std::function<bool(const QStringList&)>& each)
{
    const Answer answer = Run(statement, args, false);
    if (!answer)
        return false;
    PGresult* rows = answer.get();
    const int count = PQntuples(rows);
    const int columns = std::min(PQnfields(rows), fieldCount);
    QStringList row;
    for (int r = 0; r < count; ++r) {
        row.clear();
        for (int column = 0; column < columns; ++column)
            row.append(QString::fromUtf8(PQgetvalue(rows, r, column), PQgetlength(rows, r, column)));
        if (!each(row))
            return false;
    }
    return true;
}

std::optional<std::vector<qint64>> ServerStore::ReadIds(const QString& statement, const QVariantList& args)
{
    const Answer answer = Run(statement, args, true);
    if (!answer || PQnfields(answer.get()) != 1 || PQfsize(answer.get(), 0) != 8)
        return std::nullopt;
    const int rows = PQntuples(answer.get());
    std::vector<qint64> ids;
    ids.reserve(size_t(rows));
    for (int row = 0; row < rows; ++row) {
        quint64 value = 0;
        std::memcpy(&value, PQgetvalue(answer.get(), row, 0), sizeof value);
        ids.push_back(qint64(qFromBigEndian(value)));
    }
    return ids;
}

bool ServerStore::RunSchemaStatement(const QString& statement)
{
    if (!Usable())
        return false;
    const Answer answer = RunPlain(statement.toUtf8());
    TakeNotices();
    return bool(answer);
}

bool ServerStore::HasColumns(const QString& table, const QStringList& columns) const
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

bool ServerStore::Begin()
{
    if (!Usable())
        return false;
    m_inTransaction = bool(RunPlain("begin"));
    m_transactionFailed = false;
    return m_inTransaction;
}

bool ServerStore::Commit()
{
    if (!m_open || m_lost)
        return false;
    Answer answer(PQexec(Connection(), "commit"), &PQclear);
    // A transaction a statement failed in ends with the server's "ROLLBACK" to a commit.
    const bool ok = PQresultStatus(answer.get()) == PGRES_COMMAND_OK &&
                    std::strcmp(PQcmdStatus(answer.get()), "ROLLBACK") != 0;
    if (!ok)
        NoteAnswerFailure(PQresultStatus(answer.get()) == PGRES_COMMAND_OK ? nullptr : answer.get(), true);
    // Notices held back during the transaction come with the commit's answer.
    TakeNotices();
    // A commit that failed on the server ended the transaction.
    m_inTransaction = false;
    return ok;
}

bool ServerStore::Rollback()
{
    m_inTransaction = false;
    if (!m_open || m_lost)
        return false;
    const Answer answer(PQexec(Connection(), "rollback"), &PQclear);
    return PQresultStatus(answer.get()) == PGRES_COMMAND_OK;
}

std::pair<QString, QVariantList> ServerStore::Containing(const QString& column, const QString& text)
{
    // The server's LIKE tells case apart everywhere: both sides are folded for ASCII only, and the
    // trigram index holds the folded column.
    QString folded = text;
    for (QChar& c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    const SearchIndex::Condition literal = SearchIndex::Literal(SearchIndex::AsciiFolded(column), folded);
    return {literal.where, literal.args};
}
