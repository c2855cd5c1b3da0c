#include "SystemKeyring.h"

#include <qt6keychain/keychain.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <memory>

namespace {

SystemKeyring::Waiter& WindowWaiter()
{
    static SystemKeyring::Waiter waiter;
    return waiter;
}

// The job deletes itself when it finishes; an answer that comes after the timeout lands here
// and is dropped.
SystemKeyring::Answer Wait(QKeychain::Job* job, int timeoutMs)
{
    auto answer = std::make_shared<SystemKeyring::Answer>();
    auto done = std::make_shared<bool>(false);
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, job, [answer, done, &loop](QKeychain::Job* finished) {
        if (*done)
            return;
        *done = true;
        answer->ok = finished->error() == QKeychain::NoError;
        answer->missing = finished->error() == QKeychain::EntryNotFound;
        answer->error = finished->errorString();
        if (auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(finished))
            answer->data = read->binaryData();
        loop.quit();
    });
    job->setAutoDelete(true);
    job->start();
    const SystemKeyring::Waiter& waiter = WindowWaiter();
    if (waiter && QThread::currentThread() == QCoreApplication::instance()->thread()) {
        QElapsedTimer clock;
        clock.start();
        const bool waited = *done || waiter([&] { return *done || clock.elapsed() >= timeoutMs; });
        if (!waited && !*done) {
            *done = true;
            answer->cancelled = true;
            answer->error = QStringLiteral("已取消");
            return *answer;
        }
    } else {
        QTimer::singleShot(timeoutMs, &loop, [&loop] { loop.quit(); });
        if (!*done)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!*done) {
        *done = true;
        answer->error = QStringLiteral("timeout");
    }
    return *answer;
}

} // namespace

void SystemKeyring::SetWaiter(Waiter waiter)
{
    WindowWaiter() = std::move(waiter);
}

SystemKeyring::SystemKeyring(QString service, int timeoutMs)
    : m_service(std::move(service)), m_timeoutMs(timeoutMs)
{
}

SystemKeyring::Answer SystemKeyring::Read(const QString& item) const
{
    auto* job = new QKeychain::ReadPasswordJob(m_service);
    job->setKey(item);
    return Wait(job, m_timeoutMs);
}

SystemKeyring::Answer SystemKeyring::Write(const QString& item, const QByteArray& data) const
{
    auto* job = new QKeychain::WritePasswordJob(m_service);
    job->setKey(item);
    job->setBinaryData(data);
    return Wait(job, m_timeoutMs);
}

SystemKeyring::Answer SystemKeyring::Remove(const QString& item) const
{
    auto* job = new QKeychain::DeletePasswordJob(m_service);
    job->setKey(item);
    return Wait(job, m_timeoutMs);
}
