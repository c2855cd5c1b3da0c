#pragma once

#include <QStringList>
#include <QTcpServer>

// A small HTTP server on 127.0.0.1 for browser tests: serves the files of one directory, and
//   /redirect?to=<address>  answers 302 to that address,
//   /never                  never answers, so the page never completes.
// Every request line's path and query is remembered, in order, and the host it was sent to (the
// Host header, which differs from 127.0.0.1 when the engine maps names onto this server).
class LoopbackServer : public QTcpServer {
    Q_OBJECT
public:
    explicit LoopbackServer(QString directory, QObject* parent = nullptr);

    QString Address(const QString& path) const;
    QStringList requests;
    QStringList requestHosts;
    // When each request arrived, in nanoseconds of a steady clock.
    QList<qint64> requestTimes;
    // The requests sent to `host` under any port, path and query each.
    QStringList RequestsTo(const QString& host) const;

private:
    void Answer(QTcpSocket* socket);

    QString m_directory;
};
