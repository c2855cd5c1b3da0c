#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

// One running qavex per collection: a second start with the same program directory hands over to
// the first, which comes to the front, instead of opening a second writer of its database.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& programDirectory, QObject* parent = nullptr);

    // True when a qavex of this collection runs (its socket takes connections).
    bool IsRunning() const;
    // True when a running qavex of this collection answered and was asked to come to the front.
    bool HandOverToRunning() const;
    // From now on this process answers for the collection (a socket left by a crashed run is taken
    // over) and brings `window` to the front when asked.
    bool Listen(QWidget* window);

    // The socket name of a collection: the same directory gives the same name, another another.
    static QString ServerName(const QString& programDirectory);

private:
    QString m_name;
    QLocalServer* m_server = nullptr;
};
