#pragma once

#include <QByteArray>
#include <QString>

// The desktop's Secret Service (GNOME Keyring, KWallet) through QtKeychain, asked and waited for:
// the callers need the answer before they go on. A service that does not answer within the
// timeout counts as a failure.
class SystemKeyring {
public:
    explicit SystemKeyring(QString service = QStringLiteral("qavex"), int timeoutMs = 15000);

    struct Answer {
        bool ok = false;
        bool missing = false; // the service answered: there is no such item
        QByteArray data;
        QString error; // the service's reason, for the user
    };

    Answer Read(const QString& item) const;
    Answer Write(const QString& item, const QByteArray& data) const;
    Answer Remove(const QString& item) const;

private:
    QString m_service;
    int m_timeoutMs;
};
