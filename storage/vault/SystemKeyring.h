#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The desktop's Secret Service (GNOME Keyring, KWallet) through QtKeychain, asked and waited for:
// the callers need the answer before they go on. A service that does not answer within the
// timeout counts as a failure. On the window's thread the wait goes through the waiter the window
// gives (progress and 取消 there); elsewhere a local loop waits.
class SystemKeyring {
public:
    explicit SystemKeyring(QString service = QStringLiteral("qavex"), int timeoutMs = 15000);

    struct Answer {
        bool ok = false;
        bool missing = false; // the service answered: there is no such item
        QByteArray data;
        QString error;          // the service's reason, for the user
        bool cancelled = false; // the user stopped waiting
    };

    // Waits for `finished` while the windows stay live; false when the user gave up. Given by the
    // window for the thread it runs on; none (empty) takes it back.
    using Waiter = std::function<bool(const std::function<bool()>& finished)>;
    static void SetWaiter(Waiter waiter);

    Answer Read(const QString& item) const;
    Answer Write(const QString& item, const QByteArray& data) const;
    Answer Remove(const QString& item) const;

private:
    QString m_service;
    int m_timeoutMs;
};
