#include "ServerLook.h"

#include "RecordTable.h"
#include "ServerSchema.h"
#include "StorageNames.h"

#include <QElapsedTimer>

#include <libpq-fe.h>
#include <poll.h>

#include <memory>

namespace {

constexpr qint64 ConnectTimeoutMs = 5000;

// Whether the server answers a connection at all, asked without blocking so that the look can be
// stopped while a server that never answers keeps it waiting; the reason when it does not.
bool Answers(const ServerAddress& server, const std::atomic<bool>* stop, QString& reason)
{
    const QByteArray host = server.host.toUtf8(), port = QByteArray::number(server.port),
                     database = server.database.toUtf8(), user = server.user.toUtf8(),
                     password = server.password.toUtf8();
    const char* keys[] = {"host", "port", "dbname", "user", "password", "application_name", nullptr};
    const char* values[] = {host.constData(),
                            port.constData(),
                            database.constData(),
                            user.constData(),
                            password.isEmpty() ? nullptr : password.constData(),
                            "qavex",
                            nullptr};
    const std::unique_ptr<PGconn, void (*)(PGconn*)> connection(PQconnectStartParams(keys, values, 0),
                                                                &PQfinish);
    if (!connection) {
        reason = QStringLiteral("out of memory");
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    PostgresPollingStatusType state = PGRES_POLLING_WRITING;
    while (PQstatus(connection.get()) != CONNECTION_BAD && state != PGRES_POLLING_OK &&
           state != PGRES_POLLING_FAILED) {
        if (stop && *stop) {
            reason = QStringLiteral("连接已取消");
            return false;
        }
        if (clock.elapsed() >= ConnectTimeoutMs) {
            reason = QStringLiteral("timeout expired");
            return false;
        }
        pollfd ready{PQsocket(connection.get()), short(state == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        if (::poll(&ready, 1, 50) > 0)
            state = PQconnectPoll(connection.get());
    }
    if (state == PGRES_POLLING_OK && PQstatus(connection.get()) == CONNECTION_OK)
        return true;
    reason = QString::fromUtf8(PQerrorMessage(connection.get())).section(u'\n', 0, 0).trimmed();
    return false;
}

} // namespace

ServerLook LookAtServer(ServerAddress server, const std::atomic<bool>* stop)
{
    ServerLook look;
    if (!Answers(server, stop, look.error)) {
        server.password.fill(u'\0');
        return look;
    }
    RecordTable probe;
    look.reached = probe.OpenServer(server);
    server.password.fill(u'\0');
    if (!look.reached) {
        look.error = probe.LastError();
        return look;
    }
    if (ServerSchema::Exists(probe)) {
        look.holds = ServerLook::Holds::Collection;
        const QList<QStringList> count = probe.ReadRows(Tables::Bookmarks, {QStringLiteral("count(*)")}, {});
        look.bookmarks = count.isEmpty() ? 0 : count[0][0].toLongLong();
    } else if (!ServerSchema::IsEmpty(probe)) {
        look.holds = ServerLook::Holds::OtherTables;
    }
    return look;
}
