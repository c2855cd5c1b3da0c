#pragma once

#include "LoginFinder.h"

#include <QObject>
#include <QPointer>

#include <optional>

class BrowserWindow;
class MainWindow;
class RuntimeServices;
struct ProgramGlobals;

// Opens the bookmark chosen in the main window: in the desktop's browser, or in the built-in one,
// where a bookmark with login data is logged in.
class BookmarkOpener : public QObject {
    Q_OBJECT
public:
    BookmarkOpener(MainWindow& mainWindow, ProgramGlobals& globals, RuntimeServices& services);
    ~BookmarkOpener() override;

    // mode 1: the built-in browser; any other: the desktop's default browser.
    void OpenSelectedBookmark(int mode);
    void OpenInBrowserWindow();
    // Waits for the page of `address`, then for its login form, types the stored account and
    // password and presses the stored (or the form's own) control, on pages of the bookmark's own
    // site only. The browser's status bar tells how it ended.
    void AutoLogin(const QString& address);

    BrowserWindow* Browser() const;

private:
    QString SelectedAddress() const;
    // The bookmark's login data; none when it has nothing to type or press.
    // The login as stored: a protected password still sealed.
    std::optional<LoginFields> StoredLogin(const QString& address) const;
    // False when the password is sealed and the vault stays locked (the user was told).
    bool UnlockForLogin(const QString& address);
    bool HasLoginData(const QString& address) const;
    static QString OutcomeText(LoginFinder::Outcome outcome, const QUrl& page);

    MainWindow& m_mainWindow;
    ProgramGlobals& m_globals;
    RuntimeServices& m_services;
    QPointer<BrowserWindow> m_browser;
    int m_loginGeneration = 0;
};
