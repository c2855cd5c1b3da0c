#include "LoopbackServer.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

#include <chrono>

LoopbackServer::LoopbackServer(QString directory, QObject* parent)
    : QTcpServer(parent), m_directory(std::move(directory))
{
    listen(QHostAddress::LocalHost);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString LoopbackServer::Address(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
}

void LoopbackServer::Answer(QTcpSocket* socket)
{
    if (!socket->canReadLine())
        return;
    const QList<QByteArray> requestLine = socket->readLine().trimmed().split(' ');
    QString host;
    for (const QByteArray& header : socket->readAll().split('\n')) {
        if (header.toLower().startsWith("host:"))
            host = QString::fromUtf8(header.mid(5).trimmed()).section(u':', 0, 0);
    }
    if (requestLine.size() < 2)
        return;
    const QUrl target(QString::fromUtf8(requestLine[1]));
    requests.append(target.toString());
    requestHosts.append(host);
    requestTimes.append(std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count());
    if (target.path() == QStringLiteral("/never"))
        return;

    QByteArray head;
    QByteArray body;
    if (target.path() == QStringLiteral("/redirect")) {
        head = "302 Found\r\nLocation: " +
               QUrlQuery(target).queryItemValue(QStringLiteral("to"), QUrl::FullyDecoded).toUtf8();
    } else {
        const QString path = QDir(m_directory).filePath(target.path().mid(1));
        QFile file(path);
        // Styles and pictures are taken only with their own types.
        const QString type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
        head = type == QStringLiteral("text/css") || type.startsWith(QStringLiteral("image/"))
                   ? "200 OK\r\nContent-Type: " + type.toUtf8()
                   : QByteArray("200 OK\r\nContent-Type: text/html; charset=utf-8");
        body = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<html><body>ok</body></html>");
    }
    socket->write("HTTP/1.1 " + head + "\r\nConnection: close\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\n\r\n" + body);
    socket->disconnectFromHost();
}

QStringList LoopbackServer::RequestsTo(const QString& host) const
{
    QStringList sent;
    for (qsizetype i = 0; i < requests.size(); ++i) {
        if (requestHosts.value(i) == host)
            sent.append(requests[i]);
    }
    return sent;
}
