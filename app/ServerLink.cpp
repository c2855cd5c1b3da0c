#include "ServerLink.h"

#include "IniFile.h"
#include "RecordTable.h"
#include "ServerLook.h"
#include "ServerSchema.h"
#include "WorkAside.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QTimer>

#include <optional>
#include <utility>

ServerLink::ServerLink(RecordTable& database, std::function<IniFile()> settings, QObject* parent)
    : QObject(parent), m_database(database), m_settings(std::move(settings)),
      m_othersChanged(new QTimer(this))
{
    m_othersChanged->setSingleShot(true);
    // A burst of changes (an import elsewhere) is followed once.
    m_othersChanged->setInterval(150);
    connect(m_othersChanged, &QTimer::timeout, this, [this] {
        if (!m_database.IsOpen())
            return;
        // Our own long work (an import) holds rows the list does not show yet: followed after it.
        if (m_database.InTransaction()) {
            m_othersChanged->start();
            return;
        }
        emit othersChanged();
    });
}

ServerLink::~ServerLink()
{
    m_database.OnConnectionLost({});
    if (m_away)
        qApp->removeEventFilter(this);
}

namespace {

QString GivenUpReason()
{
    return QStringLiteral("连接已取消");
}

} // namespace

void ServerLink::SetWaiter(Waiter waiter)
{
    m_waiter = std::move(waiter);
    m_database.ReconnectOnlyWhenAsked();
}

bool ServerLink::OpenChosen()
{
    if (!LookThenOpen())
        return false;
    Watch();
    return true;
}

std::optional<ServerLook> ServerLink::LookBeside(ServerAddress server)
{
    return RunAsideStoppable<ServerLook>(
        [server = std::move(server)](const std::atomic<bool>& stop) mutable {
            ServerLook look = LookAtServer(server, &stop);
            server.password.fill(u'\0');
            return look;
        },
        m_waiter);
}

bool ServerLink::LookThenOpen()
{
    m_givenUp = false;
    bool keyringGivenUp = false;
    ServerAddress server = ServerSchema::ChosenServer(m_settings(), &keyringGivenUp);
    if (keyringGivenUp) {
        m_givenUp = true;
        m_database.SetServerAway(server, GivenUpReason());
        return false;
    }
    if (m_waiter) {
        const std::optional<ServerLook> look = LookBeside(server);
        m_givenUp = !look;
        if (!look || !look->reached) {
            // Given up, or not there: the collection stays closed with the reason, as a failed open.
            m_database.SetServerAway(server, look ? look->error : GivenUpReason());
            server.password.fill(u'\0');
            return false;
        }
    }
    return ServerSchema::OpenAt(m_database, std::move(server));
}

bool ServerLink::LookThenReconnect()
{
    m_givenUp = false;
    if (m_waiter) {
        const std::optional<ServerLook> look = LookBeside(m_database.Server());
        m_givenUp = !look;
        if (!look || !look->reached) {
            m_database.KeepLost(look ? look->error : GivenUpReason());
            return false;
        }
    }
    return m_database.Reconnect();
}

void ServerLink::Watch()
{
    if (!m_database.IsServer())
        return;
    m_database.OnConnectionLost([this](const QString& reason) {
        // The next click or key tries again, at once.
        m_lastTryMs = -1;
        NoteAway();
        // Told after the statement's own caller is done, unless that caller said it; one message
        // for one loss, also when it is noticed while the window is idle.
        m_lossTold = false;
        QTimer::singleShot(0, this, [this, reason] {
            if (!std::exchange(m_lossTold, false))
                emit lost(reason);
        });
    });
    m_database.WatchOtherChanges(this, [this] { m_othersChanged->start(); });
}

void ServerLink::NoteAway()
{
    const bool away = m_database.IsServer() && (!m_database.IsOpen() || m_database.ConnectionLost());
    if (away == m_away)
        return;
    m_away = away;
    if (away)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool ServerLink::eventFilter(QObject* watched, QEvent* event)
{
    // A key or click in a dialog standing modal (the loss's own message among them) answers that
    // dialog: not an act on the collection to connect for.
    if (m_away && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) &&
        !QApplication::activeModalWidget())
        TryAgain();
    return QObject::eventFilter(watched, event);
}

void ServerLink::TryAgain()
{
    // A click on the progress of the look under way is not another try.
    if (m_looking)
        return;
    // A server that holds a connection without answering costs its connect timeout: not on every
    // key, counted from the end of the last try; one the user gave up waiting for is left alone
    // for a while longer. One that refuses at once is tried at every act.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (m_lastTryMs >= 0 && now - m_lastTryMs < m_pauseMs)
        return;
    m_looking = true;
    // Lost while open: the same connection again, and what others changed meanwhile is followed.
    const bool lostWhileOpen = m_database.IsOpen();
    const bool opened = lostWhileOpen ? LookThenReconnect() : LookThenOpen();
    m_looking = false;
    const qint64 end = QDateTime::currentMSecsSinceEpoch();
    m_pauseMs = m_givenUp ? 30000 : end - now > 1000 ? 3000 : 0;
    m_lastTryMs = end;
    if (!opened)
        return;
    NoteAway();
    if (lostWhileOpen) {
        m_othersChanged->start();
        return;
    }
    emit back();
    Watch();
}
