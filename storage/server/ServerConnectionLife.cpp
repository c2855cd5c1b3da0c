// ServerStore: the connection's life — a loss noticed while idle, the one try per act to open it
// again, and the notices of other machines' changes.
#include "ServerStore.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QSqlError>
#include <QTimer>

#include <libpq-fe.h>

namespace {

// The channel the server's triggers announce changed tables on.
const QByteArray ChangeChannel = "qavex_changes";

} // namespace

void ServerStore::WatchConnection()
{
    m_connectionWatch.reset();
    // A look from a thread beside the window has no event loop to watch with, nor need of one.
    PGconn* connection = Connection();
    if (!connection || PQsocket(connection) < 0 || !QAbstractEventDispatcher::instance())
        return;
    m_connectionWatch = std::make_unique<QSocketNotifier>(PQsocket(connection), QSocketNotifier::Read);
    QObject::connect(m_connectionWatch.get(), &QSocketNotifier::activated, m_connectionWatch.get(), [this] {
        PGconn* watched = Connection();
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

bool ServerStore::OpenAgain()
{
    m_statements.clear();
    m_connectionWatch.reset();
    m_db.close();
    if (!m_db.open()) {
        m_lastError = ReasonOf(m_db.lastError());
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

bool ServerStore::Usable()
{
    if (!m_open)
        return false;
    // A connection lost inside a transaction stays lost until the transaction is given up:
    // statements after it must not be stored without those before.
    return !m_lost || (!m_reconnectOnlyWhenAsked && !m_inTransaction &&
                       (!m_mayReconnect || *m_mayReconnect) && OpenAgain());
}

bool ServerStore::Reconnect()
{
    if (!m_open || m_inTransaction)
        return false;
    return !m_lost || OpenAgain();
}

void ServerStore::KeepLost(const QString& reason)
{
    if (m_lost && !reason.isEmpty())
        m_lastError = reason;
}

void ServerStore::LoseConnection(const QString& reason)
{
    m_lost = true;
    if (!reason.isEmpty())
        m_lastError = reason;
    ArmReconnect();
    if (m_onLost)
        m_onLost(m_lastError);
}

void ServerStore::ArmReconnect()
{
    // The rest of what the user asked fails too; the connection is opened again only for what
    // is asked after control went back to the windows, so one act never half succeeds.
    m_mayReconnect = std::make_shared<bool>(false);
    QTimer::singleShot(0, QCoreApplication::instance(), [mayReconnect = std::weak_ptr<bool>(m_mayReconnect)] {
        if (const auto flag = mayReconnect.lock())
            *flag = true;
    });
}

bool ServerStore::WatchOtherChanges(QObject* context, std::function<void()> changed)
{
    if (!m_open)
        return false;
    m_onOtherChanges = std::move(changed);
    m_watcher = context;
    return Subscribe();
}

void ServerStore::TakeNotices()
{
    // A notice that came in with a statement's answer is already off the socket, so the socket's
    // watch would not hear of it until the next one arrives: it is taken here.
    PGconn* connection = m_onOtherChanges ? Connection() : nullptr;
    if (!connection)
        return;
    bool others = false;
    while (PGnotify* notice = PQnotifies(connection)) {
        others = others || (ChangeChannel == notice->relname && notice->be_pid != PQbackendPID(connection));
        PQfreemem(notice);
    }
    // The store may be replaced (the collection moved) before the window's loop gets to it.
    if (others && m_watcher)
        QTimer::singleShot(0, m_watcher.data(), [this, alive = std::weak_ptr<bool>(m_alive)] {
            if (alive.lock() && m_onOtherChanges)
                m_onOtherChanges();
        });
}

bool ServerStore::Subscribe()
{
    // Listened for here rather than through the driver: the connection's socket is watched by one
    // notifier only (WatchConnection), which takes the notices and notices a loss alike.
    PGconn* connection = Connection();
    if (!connection)
        return false;
    const Answer answer(PQexec(connection, ("listen " + ChangeChannel).constData()), &PQclear);
    return PQresultStatus(answer.get()) == PGRES_COMMAND_OK;
}
