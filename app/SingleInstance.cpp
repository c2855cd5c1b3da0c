#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QByteArray Raise = QByteArrayLiteral("raise\n");
const QByteArray Raised = QByteArrayLiteral("raised\n");
constexpr int AnswerWaitMs = 3000;

// Beside the socket: the user's runtime directory when the session has one.
QString LockPath(const QString& name)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString directory = !runtime.isEmpty() && QDir(runtime).exists() ? runtime : QDir::tempPath();
    return QDir(directory).filePath(name + QStringLiteral(".lock"));
}

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

SingleInstance::~SingleInstance()
{
    if (m_lock >= 0)
        ::close(m_lock);
}

bool SingleInstance::HoldCollection()
{
    if (m_lock >= 0)
        return true;
    // Never through a link another user may have left in a shared temporary directory.
    const int fd = ::open(QFile::encodeName(LockPath(m_name)).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int why = errno;
        m_heldElsewhere = why == EWOULDBLOCK;
        m_error = QString::fromLocal8Bit(std::strerror(why));
        ::close(fd);
        return false;
    }
    m_lock = fd;
    return true;
}

bool SingleInstance::HandOverToRunning() const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
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

bool SingleInstance::Listen()
{
    if (m_server->listen(m_name))
        return true;
    m_error = m_server->errorString();
    return false;
}

SingleInstance::Claim SingleInstance::ClaimCollection()
{
    m_server = new QLocalServer(this);
    // Only this user may ask.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Answer(socket); });
        }
    });
    if (!HoldCollection()) {
        if (!m_heldElsewhere)
            return Claim::Failed;
        return HandOverToRunning() ? Claim::HandedOver : Claim::Busy;
    }
    // Holding the lock, any socket of this name is a crashed run's.
    QLocalServer::removeServer(m_name);
    return Listen() ? Claim::Ours : Claim::Failed;
}

void SingleInstance::ShowOnRequest(QWidget* window)
{
    m_window = window;
    const QList<QPointer<QLocalSocket>> waiting = std::exchange(m_waiting, {});
    for (const QPointer<QLocalSocket>& socket : waiting) {
        if (socket)
            Answer(socket);
    }
}

void SingleInstance::Answer(QLocalSocket* socket)
{
    if (!m_window) {
        if (!m_waiting.contains(socket))
            m_waiting.append(socket);
        return;
    }
    if (!socket->canReadLine() || socket->readLine() != Raise)
        return;
    m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
    socket->write(Raised);
    socket->flush();
}
