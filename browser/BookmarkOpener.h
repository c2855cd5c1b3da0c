#pragma once

#include <QObject>
#include <QPointer>

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
    // Waits for the page of `address`, then types the stored account and password and clicks
    // the stored control, on pages of the bookmark's own site only.
    void AutoLogin(const QString& address);

    BrowserWindow* Browser() const;

private:
    QString SelectedAddress() const;

    MainWindow& m_mainWindow;
    ProgramGlobals& m_globals;
    RuntimeServices& m_services;
    QPointer<BrowserWindow> m_browser;
};
