#pragma once

#include "ServerAddress.h"

#include <QMetaObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

// Stands between qavex and a real server, on a thread of its own (the window's thread waits in
// libpq while a statement runs): passes everything through until it goes silent, when it drops
// what it carries and takes every new connection without a word.
class ServerProxy {
public:
    explicit ServerProxy(const ServerAddress& target) : m_target(target)
    {
        m_thread.start();
        m_listener = new QTcpServer;
        m_listener->moveToThread(&m_thread);
        QMetaObject::invokeMethod(
            m_listener, [this] { Listen(); }, Qt::BlockingQueuedConnection);
    }
    ~ServerProxy()
    {
        QMetaObject::invokeMethod(
            m_listener, [this] { delete m_listener; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    ServerProxy(const ServerProxy&) = delete;
    ServerProxy& operator=(const ServerProxy&) = delete;

    // The target, reached through the proxy.
    ServerAddress Address() const
    {
        ServerAddress through = m_target;
        through.host = QStringLiteral("127.0.0.1");
        through.port = m_port;
        return through;
    }
    void GoSilent()
    {
        QMetaObject::invokeMethod(
            m_listener,
            [this] {
                m_silent = true;
                for (QTcpSocket* socket : m_listener->findChildren<QTcpSocket*>())
                    socket->abort();
            },
            Qt::BlockingQueuedConnection);
    }

private:
    void Listen()
    {
        m_listener->listen(QHostAddress::LocalHost);
        m_port = m_listener->serverPort();
        QObject::connect(m_listener, &QTcpServer::newConnection, m_listener, [this] {
            while (QTcpSocket* client = m_listener->nextPendingConnection()) {
                if (m_silent) {
                    // Held open, never read: the client waits for an answer that does not come.
                    client->setParent(m_listener);
                    continue;
                }
                client->setParent(m_listener);
                auto* server = new QTcpSocket(m_listener);
                Pipe(client, server);
                Pipe(server, client);
                server->connectToHost(m_target.host, quint16(m_target.port));
            }
        });
    }
    // What `from` receives goes to `to`; either closing closes the other.
    static void Pipe(QTcpSocket* from, QTcpSocket* to)
    {
        QObject::connect(from, &QTcpSocket::readyRead, to, [from, to] {
            if (to->state() == QAbstractSocket::ConnectedState)
                to->write(from->readAll());
        });
        QObject::connect(to, &QTcpSocket::connected, from, [from, to] { to->write(from->readAll()); });
        QObject::connect(from, &QTcpSocket::disconnected, to, [to] { to->disconnectFromHost(); });
    }

    ServerAddress m_target;
    QThread m_thread;
    QTcpServer* m_listener = nullptr;
    quint16 m_port = 0;
    bool m_silent = false;
};
