#pragma once

#include "ServerAddress.h"
#include "TestServer.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

// A server that takes the connection and never says a word.
class SilentServer : public QTcpServer {
public:
    SilentServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                socket->setParent(this);
        });
    }
    // A database on it, as the dialog would be given it.
    ServerAddress Address() const
    {
        ServerAddress server = TestServer::NewDatabase();
        server.host = QStringLiteral("127.0.0.1");
        server.port = serverPort();
        return server;
    }
    // The looks still waiting on it end.
    void Stop()
    {
        close();
        qDeleteAll(findChildren<QTcpSocket*>());
        QTest::qWait(300);
    }
};
