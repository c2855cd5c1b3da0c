// RecordTable: a collection kept on a PostgreSQL server (QPSQL, with libpq itself where QtSql
// costs round trips), its lost connections and the notices of other programs' changes.
#include "RecordTable.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QVariant>
#include <QtEndian>

#include <libpq-fe.h>

#include <algorithm>
#include <cstring>

namespace {

const QString ServerDriver = QStringLiteral("QPSQL");
// The channel the server's triggers announce changed tables on.
const QString ChangeChannel = QStringLiteral("qavex_changes");
// SQLSTATE of a row a unique index refuses.
const QString UniqueViolation = QStringLiteral("23505");

// The server's text type holds no NUL; the driver would cut the statement short at one.
const QString NulRefused = QStringLiteral("text with a NUL character cannot be stored on the server");

bool HoldsNul(const QVariantList& args)
{
    for (const QVariant& arg : args) {
        if (arg.typeId() == QMetaType::QString && arg.toString().contains(QChar(0)))
            return true;
    }
    return false;
}

PGconn* ServerConnection(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    // Qt names the type by libpq's struct: "pg_conn*".
    return handle.isValid() && qstrcmp(handle.typeName(), "pg_conn*") == 0
               ? *static_cast<PGconn* const*>(handle.constData())
               : nullptr;
}

// The server's first line ("ERROR:  …"), without the context lines and the "(SQLSTATE)" the
// driver adds; the driver's own words when the server said nothing.
QString Reason(const QSqlError& error)
{
    static const QRegularExpression stateCode(QStringLiteral("\\s*\\([0-9A-Z]{5}\\)\\s*$|^\\s*\\(\\)\\s*$"));
    const QString text = error.databaseText().remove(stateCode).section(u'\n', 0, 0).trimmed();
    return text.isEmpty() ? error.driverText().trimmed() : text;
}

} // namespace

bool RecordTable::RefusedByServer(const QVariantList& args)
{
    if (!m_server || !HoldsNul(args))
        return false;
    m_lastError = NulRefused;
    return true;
}

bool RecordTable::OpenServer(const ServerAddress& server)
{
    Close();
    UseDriver(ServerDriver);
    m_server = true;
    m_address = server;
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
        m_lastError = Reason(m_db.lastError());
        m_db.close();
        return false;
    }
    WatchConnection();
    return true;
}

void RecordTable::WatchConnection()
{
    m_connectionWatch.reset();
    PGconn* connection = ServerConnection(m_db);
    if (!connection || PQsocket(connection) < 0)
        return;
    m_connectionWatch = std::make_unique<QSocketNotifier>(PQsocket(connection), QSocketNotifier::Read);
    QObject::connect(m_connectionWatch.get(), &QSocketNotifier::activated, m_connectionWatch.get(), [this] {
        PGconn* watched = ServerConnection(m_db);
        // What arrived is read here; notices among it are taken as an answer's would be.
        if (watched && PQconsumeInput(watched) == 1 && PQstatus(watched) == CONNECTION_OK) {
            TakeNotices();
            return;
        }
        // The server closed it (a restart) or the keepalives gave up: told now, not at the next act.
        m_connectionWatch->setEnabled(false);
        if (!m_lost)
            LoseConnection(watched ? QString::fromUtf8(PQerrorMessage(watched)).trimmed() : QString());
    });
}

bool RecordTable::Reconnect()
{
    m_recordSets.clear();
    m_statements.clear();
    m_current = 0;
    m_connectionWatch.reset();
    m_db.close();
    if (!m_db.open()) {
        m_lastError = Reason(m_db.lastError());
        m_db.close();
        // One attempt for one act: its caller says why. Not told as a new loss, which would also
        // come from rows read for painting, one message after another.
        ArmReconnect();
        return false;
    }
    m_lost = false;
    WatchConnection();
    if (m_onOtherChanges)
        Subscribe();
    return true;
}

bool RecordTable::Usable()
{
    if (!m_open)
        return false;
    // A connection lost inside a transaction stays lost until the transaction is given up:
    // statements after it must not be stored without those before.
    return !m_lost || (!m_inTransaction && (!m_mayReconnect || *m_mayReconnect) && Reconnect());
}

void RecordTable::NoteFailure(const QSqlError& error)
{
    // The commit of a transaction a statement failed in fails too: the statement's reason stays.
    if (!(m_transactionFailed && m_lastError.size() > 0 && error.type() == QSqlError::TransactionError))
        m_lastError = Reason(error);
    m_transactionFailed = m_inTransaction;
    m_duplicate = error.nativeErrorCode() == UniqueViolation;
    if (!m_server || m_lost)
        return;
    PGconn* connection = ServerConnection(m_db);
    if (connection && PQstatus(connection) != CONNECTION_BAD)
        return;
    LoseConnection(m_lastError);
}

void RecordTable::LoseConnection(const QString& reason)
{
    m_lost = true;
    if (!reason.isEmpty())
        m_lastError = reason;
    ArmReconnect();
    if (m_onLost)
        m_onLost(m_lastError);
}

void RecordTable::ArmReconnect()
{
    // The rest of what the user asked fails too; the connection is opened again only for what
    // is asked after control went back to the windows, so one act never half succeeds.
    m_mayReconnect = std::make_shared<bool>(false);
    QTimer::singleShot(0, QCoreApplication::instance(), [mayReconnect = std::weak_ptr<bool>(m_mayReconnect)] {
        if (const auto flag = mayReconnect.lock())
            *flag = true;
    });
}

bool RecordTable::WatchOtherChanges(QObject* context, std::function<void()> changed)
{
    if (!m_open || !m_server)
        return false;
    m_onOtherChanges = std::move(changed);
    m_watcher = context;
    return Subscribe();
}

void RecordTable::TakeNotices()
{
    // A notice that came in with a statement's answer is already off the socket, so the driver
    // would not hear of it until the next one arrives: it is taken here.
    PGconn* connection = m_onOtherChanges ? ServerConnection(m_db) : nullptr;
    if (!connection)
        return;
    bool others = false;
    while (PGnotify* notice = PQnotifies(connection)) {
        others = others || (ChangeChannel == QLatin1String(notice->relname) &&
                            notice->be_pid != PQbackendPID(connection));
        PQfreemem(notice);
    }
    if (others && m_watcher)
        QTimer::singleShot(0, m_watcher.data(), [this] {
            if (m_onOtherChanges)
                m_onOtherChanges();
        });
}

bool RecordTable::Subscribe()
{
    // Listened for here rather than through the driver: the connection's socket is watched by one
    // notifier only (WatchConnection), which takes the notices and notices a loss alike.
    PGconn* connection = ServerConnection(m_db);
    if (!connection)
        return false;
    const ServerAnswer answer(PQexec(connection, ("listen " + ChangeChannel).toUtf8().constData()), &PQclear);
    return PQresultStatus(answer.get()) == PGRES_COMMAND_OK;
}

QString RecordTable::IdColumnDefinition() const
{
    return m_server ? QStringLiteral("ID bigint generated by default as identity primary key")
                    : QStringLiteral("ID INTEGER PRIMARY KEY");
}

RecordTable::ServerAnswer RecordTable::AskServer(const QString& statement, const QVariantList& args,
                                                 bool binary)
{
    // Straight through libpq, one trip: QtSql prepares, executes and frees a statement in three,
    // and makes a QVariant of every value.
    ServerAnswer answer(nullptr, &PQclear);
    PGconn* connection = ServerConnection(m_db);
    if (!connection || RefusedByServer(args))
        return answer;
    // libpq numbers its parameters.
    QByteArray numbered;
    int parameter = 0;
    bool quoted = false;
    for (const char c : statement.toUtf8()) {
        if (c == '\'')
            quoted = !quoted;
        if (c == '?' && !quoted)
            numbered += '$' + QByteArray::number(++parameter);
        else
            numbered += c;
    }
    std::vector<QByteArray> values;
    std::vector<const char*> pointers;
    for (const QVariant& arg : args)
        values.push_back(arg.toString().toUtf8());
    for (const QByteArray& value : values)
        pointers.push_back(value.constData());
    answer.reset(PQexecParams(connection, numbered.constData(), int(pointers.size()), nullptr,
                              pointers.data(), nullptr, nullptr, binary ? 1 : 0));
    if (PQresultStatus(answer.get()) != PGRES_TUPLES_OK) {
        m_lastError = QString::fromUtf8(PQresultErrorMessage(answer.get())).trimmed();
        m_duplicate = false;
        answer.reset();
        if (!m_lost && PQstatus(connection) == CONNECTION_BAD)
            NoteFailure(QSqlError(QString(), m_lastError));
        return answer;
    }
    TakeNotices();
    return answer;
}

std::optional<std::vector<qint64>> RecordTable::ReadServerIds(const QString& statement,
                                                              const QVariantList& args)
{
    std::vector<qint64> ids;
    const ServerAnswer answer = AskServer(statement, args, true);
    if (!answer || PQnfields(answer.get()) != 1 || PQfsize(answer.get(), 0) != 8)
        return std::nullopt;
    const int rows = PQntuples(answer.get());
    ids.reserve(size_t(rows));
    for (int row = 0; row < rows; ++row) {
        quint64 value = 0;
        std::memcpy(&value, PQgetvalue(answer.get(), row, 0), sizeof value);
        ids.push_back(qint64(qFromBigEndian(value)));
    }
    return ids;
}

bool RecordTable::ForEachServerRow(const QString& statement, const QVariantList& args, int fieldCount,
                                   const std::function<bool(const QStringList&)>& each)
{
    const ServerAnswer answer = AskServer(statement, args, false);
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
