#pragma once

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <signal.h>

// The session's real Secret Service stopped (SIGSTOP) while this lives: what is asked of it meanwhile
// is answered only once it goes on, as by a service that is slow or waits to be unlocked.
class FrozenKeyring {
public:
    FrozenKeyring()
    {
        const QDBusReply<uint> pid =
            QDBusConnection::sessionBus().interface()->servicePid(QStringLiteral("org.freedesktop.secrets"));
        if (pid.isValid() && pid.value() > 0 && ::kill(pid_t(pid.value()), SIGSTOP) == 0)
            m_pid = pid_t(pid.value());
    }
    ~FrozenKeyring() { GoOn(); }
    FrozenKeyring(const FrozenKeyring&) = delete;
    FrozenKeyring& operator=(const FrozenKeyring&) = delete;

    bool Frozen() const { return m_pid > 0; }
    void GoOn()
    {
        if (m_pid > 0)
            ::kill(m_pid, SIGCONT);
        m_pid = 0;
    }

private:
    pid_t m_pid = 0;
};
