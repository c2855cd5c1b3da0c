#include "ServerLink.h"

#include "IniFile.h"
#include "RecordTable.h"
#include "ServerLook.h"
#include "ServerSchema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QTimer>

#include <mutex>
#include <thread>
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

bool ServerLink::OpenChosen()
{
    if (!LookThenOpen())
        return false;
    Watch();
    return true;
}

bool ServerLink::LookThenOpen()
{
    m_givenUp = false;
    ServerAddress server = ServerSchema::ChosenServer(m_settings());
    if (m_waiter) {
        struct Shared {
            std::mutex mutex;
            bool done = false;
            ServerLook look;
        };
        auto shared = std::make_shared<Shared>();
        std::thread([shared, server]() mutable {
            ServerLook look = LookAtServer(server);
            server.password.fill(u'\0');
            const std::lock_guard lock(shared->mutex);
            shared->look = std::move(look);
            shared->done = true;
        }).detach();
        const bool answered = m_waiter([shared] {
            const std::lock_guard lock(shared->mutex);
            return shared->done;
        });
        const std::lock_guard lock(shared->mutex);
        m_givenUp = !answered;
        if (!answered || !shared->look.reached) {
            // Given up, or not there: the collection stays closed with the reason, as a failed open.
            m_database.SetServerAway(server, answered ? shared->look.error : QStringLiteral("连接已取消"));
            server.password.fill(u'\0');
            return false;
        }
    }
    return ServerSchema::OpenAt(m_database, std::move(server));
}

void ServerLink::Watch()
{
    if (!m_database.IsServer())
        return;
    m_database.OnConnectionLost([this](const QString& reason) {
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
    const bool away = m_database.IsServer() && !m_database.IsOpen();
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
    if (m_away && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress))
        TryAgain();
    return QObject::eventFilter(watched, event);
}

void ServerLink::TryAgain()
{
    // A click on the progress of the look under way is not another try.
    if (m_looking)
        return;
    // A server that does not answer costs its connect timeout: not on every key, counted from the
    // end of the last try; one the user gave up waiting for is left alone for a while longer.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (m_lastTryMs >= 0 && now - m_lastTryMs < m_pauseMs)
        return;
    m_looking = true;
    const bool opened = LookThenOpen();
    m_looking = false;
    m_lastTryMs = QDateTime::currentMSecsSinceEpoch();
    m_pauseMs = m_givenUp ? 30000 : 3000;
    if (!opened)
        return;
    NoteAway();
    emit back();
    Watch();
}
