#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QWidget;

// One running qavex per collection: a second start with the same program directory hands over to
// the first, which comes to the front, instead of opening a second writer of its database. Who
// owns the collection is decided by a lock the system drops when its holder ends, however it
// ends; the socket only carries the request to come to the front.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        Ours,       // this process answers for the collection now
        HandedOver, // a running qavex of it answered and comes to the front
        Busy,       // a running qavex of it takes connections but did not answer
        Failed,     // no socket could be made; Error() says why
    };

    explicit SingleInstance(const QString& programDirectory, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Holds the collection for this process until it ends (a window, or a command-line import).
    // False when another qavex holds it.
    bool HoldCollection();
    // After HoldCollection failed: whether another qavex holds it (rather than no lock could be made).
    bool HeldElsewhere() const { return m_heldElsewhere; }
    // Holds the collection and listens, before anything of it is opened; when another qavex holds
    // it, that one is asked to come to the front instead, however slow it is to answer.
    Claim ClaimCollection();
    // From now on a request to come to the front (also one that came while the window was being
    // made) brings `window` to the front.
    void ShowOnRequest(QWidget* window);
    QString Error() const { return m_error; }

    // The socket name of a collection: the same directory gives the same name, another another.
    static QString ServerName(const QString& programDirectory);

private:
    bool HandOverToRunning() const;
    bool Listen();
    void Answer(QLocalSocket* socket);

    QString m_name;
    QString m_error;
    int m_lock = -1;
    bool m_heldElsewhere = false;
    QLocalServer* m_server = nullptr;
    QPointer<QWidget> m_window;
    QList<QPointer<QLocalSocket>> m_waiting;
};
