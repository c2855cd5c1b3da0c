#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QWidget>

namespace {

const QByteArray Raise = QByteArrayLiteral("raise\n");
const QByteArray Raised = QByteArrayLiteral("raised\n");
constexpr int AnswerWaitMs = 3000;

} // namespace

SingleInstance::SingleInstance(const QString& programDirectory, QObject* parent)
    : QObject(parent), m_name(ServerName(programDirectory))
{
}

QString SingleInstance::ServerName(const QString& programDirectory)
{
    const QString canonical = QDir(programDirectory).canonicalPath();
    const QByteArray key = (canonical.isEmpty() ? QDir(programDirectory).absolutePath() : canonical).toUtf8();
    return QStringLiteral("qavex-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

bool SingleInstance::IsRunning() const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    return socket.waitForConnected(AnswerWaitMs);
}

bool SingleInstance::HandOverToRunning() const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    // A socket file left by a crashed run refuses the connection: nobody runs, nothing is obeyed.
    if (!socket.waitForConnected(AnswerWaitMs))
        return false;
    socket.write(Raise);
    if (!socket.waitForBytesWritten(AnswerWaitMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(AnswerWaitMs))
            return false;
    }
    return socket.readLine() == Raised;
}

bool SingleInstance::Listen(QWidget* window)
{
    m_server = new QLocalServer(this);
    // Only this user may ask.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name))
            return false;
    }
    QPointer<QWidget> shown(window);
    connect(m_server, &QLocalServer::newConnection, this, [this, shown] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, socket, [socket, shown] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() != Raise || !shown)
                    return;
                shown->showNormal();
                shown->raise();
                shown->activateWindow();
                socket->write(Raised);
                socket->flush();
            });
        }
    });
    return true;
}
