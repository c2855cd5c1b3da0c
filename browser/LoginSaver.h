#pragma once

#include "LoginCapture.h"

#include <QObject>
#include <QSet>

#include <optional>

class BrowserWindow;
class MainWindow;
class SaveLoginBar;
struct ProgramGlobals;

// Offers to keep a login the user sent by hand in the browser: in the bookmark of that site, or
// in a new bookmark when the site has none. Asks once, on a bar above the page; never stores
// without a yes.
class LoginSaver : public QObject {
    Q_OBJECT
public:
    LoginSaver(BrowserWindow& browser, SaveLoginBar& bar, MainWindow& mainWindow, ProgramGlobals& globals);

    void Offer(const CapturedLogin& login);

private:
    struct Stored {
        QString address;
        QString name;
        QString account;
        QString password;
    };
    // The bookmark of the login's site: the one of the login page itself first, then one on the
    // same host, then one with the same account.
    std::optional<Stored> BookmarkOfSite(const CapturedLogin& login) const;
    void Answer(bool yes);
    bool StoreInto(const QString& address);
    void MarkLoginInList();

    BrowserWindow& m_browser;
    SaveLoginBar& m_bar;
    MainWindow& m_mainWindow;
    ProgramGlobals& m_globals;
    CapturedLogin m_pending;
    // The bookmark to store into; empty when a new one is to be added.
    QString m_target;
    // Declined this run, by site and account: not asked again.
    QSet<QString> m_declined;
};
