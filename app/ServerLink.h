#pragma once

#include "ServerLook.h"
#include "WorkAside.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class IniFile;
class QTimer;
class RecordTable;

// The life of a collection kept on a server, apart from the windows that show it: opening the
// chosen server, noticing that it went away, trying it again as the user acts (now and then, not
// on every key) and following what other machines change. It runs the policies; the window
// listens and shows.
class ServerLink : public QObject {
    Q_OBJECT

public:
    // `settings` names the chosen server.
    ServerLink(RecordTable& database, std::function<IniFile()> settings, QObject* parent = nullptr);
    ~ServerLink() override;

    // How a connection is waited for: without one, the server is asked on the window's thread.
    // With one, a lost connection is opened again only after a look at the server beside the window.
    void SetWaiter(Waiter waiter);

    // Opens the chosen server and watches it; false (LastError on the database) when it does not answer.
    bool OpenChosen();
    // Watches the server open now: its losses and other machines' changes.
    void Watch();
    // Looks whether the server is away; while it is, the user's next click or key tries again.
    void NoteAway();
    bool Away() const { return m_away; }
    // The last look was given up by the user (nothing to tell them).
    bool GivenUp() const { return m_givenUp; }
    // The act that found the server gone said so itself: the loss is not told twice.
    void LossToldByAct() { m_lossTold = true; }

signals:
    // A loss nobody has said yet, with the server's reason.
    void lost(const QString& reason);
    // The server answers again after it was away at start.
    void back();
    // Other machines changed the collection (a burst of changes is one signal).
    void othersChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TryAgain();
    // Looks at the chosen server beside the window first, so that one that does not answer holds
    // nothing; then opens it here. False when it did not answer or the user gave up.
    bool LookThenOpen();
    // The same for a connection lost while open: looked at beside the window, then opened again.
    bool LookThenReconnect();
    // nullopt when the user gave up waiting.
    std::optional<ServerLook> LookBeside(ServerAddress server);

    RecordTable& m_database;
    std::function<IniFile()> m_settings;
    Waiter m_waiter;
    QTimer* m_othersChanged;
    bool m_away = false;
    bool m_looking = false;
    bool m_givenUp = false;
    bool m_lossTold = false;
    qint64 m_lastTryMs = -1;
    qint64 m_pauseMs = 0;
};
