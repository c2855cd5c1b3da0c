#pragma once

#include <QObject>
#include <QUrl>
#include <QVariantMap>

class QWebEnginePage;

// A login the user sent by hand on a page, as the page's capture script saw it.
struct CapturedLogin {
    QUrl page;
    QString title;
    QString account;
    QString password;
    // Identifiers that find the fields and the button again; empty when they have none that is
    // unique, and then the next login finds them by itself.
    QString accountId;
    QString passwordId;
    QString idType;
    QString buttonId;
    QString buttonIdType;
    bool buttonIsLink = false;
};

// Listens on one page for login forms the user sends, through a web channel that only qavex's
// isolated script world can reach.
class LoginCapture : public QObject {
    Q_OBJECT
public:
    explicit LoginCapture(QWebEnginePage* page);

    // Called by the page's capture script.
    Q_INVOKABLE void loginSubmitted(const QVariantMap& login);

signals:
    void captured(const CapturedLogin& login);
};
