#include "BookmarkOpener.h"

#include "BookmarkListModel.h"
#include "BookmarkTexts.h"
#include "BrowserTexts.h"
#include "BrowserWindow.h"
#include "IdentifierKind.h"
#include "LoginFinder.h"
#include "MainWindow.h"
#include "PasswordAccess.h"
#include "ProgramGlobals.h"
#include "PumpingWait.h"
#include "RuntimeServices.h"
#include "SealedText.h"
#include "StorageNames.h"
#include "TerminationSignals.h"
#include "TextNumber.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QWebEngineView>

namespace {

constexpr int FirstPauseMs = 500;
constexpr int ReadinessPauseMs = 100;
constexpr int ReadinessPauses = 100;
const QString ButtonControl = QStringLiteral("按钮");

// The stored identifier type as a kind, when it is one of the five.
std::optional<IdentifierKind> StoredKind(const QString& stored)
{
    return KindFromStoredDigit(QString::number(TextToInteger(stored)));
}

} // namespace

BookmarkOpener::BookmarkOpener(MainWindow& mainWindow, ProgramGlobals& globals, RuntimeServices& services)
    : QObject(&mainWindow), m_mainWindow(mainWindow), m_globals(globals), m_services(services)
{
    connect(&mainWindow, &MainWindow::openBookmarkRequested, this, &BookmarkOpener::OpenSelectedBookmark);
}

BookmarkOpener::~BookmarkOpener()
{
    // The browser has no owner window, but it does not outlive the program's main window.
    delete m_browser.data();
}

QString BookmarkOpener::SelectedAddress() const
{
    const int row = m_mainWindow.CurrentRow();
    return row < 0 ? QString() : m_mainWindow.Bookmarks().Cell(row, BookmarkListModel::AddressColumn);
}

void BookmarkOpener::OpenSelectedBookmark(int mode)
{
    if (m_mainWindow.CurrentRow() < 0) {
        m_services.ShowMessage(BrowserTexts::SelectBookmarkToOpen, MessageStyle::Ok, {}, &m_mainWindow);
        return;
    }
    if (mode == 1) {
        OpenInBrowserWindow();
        return;
    }
    if (!m_services.OpenInDefaultBrowser(SelectedAddress()))
        m_services.ShowMessage(BrowserTexts::NoDefaultBrowser, MessageStyle::Ok | MessageStyle::ErrorIcon,
                               BookmarkTexts::ErrorTitle, &m_mainWindow);
}

void BookmarkOpener::OpenInBrowserWindow()
{
    if (!m_browser)
        m_browser = new BrowserWindow(m_mainWindow, m_globals, m_services);
    // Every time, not only when it is made: behind the main window or minimised, the page would
    // load where nobody sees it.
    if (m_browser->isMinimized())
        m_browser->showNormal();
    m_browser->show();
    m_browser->raise();
    m_browser->activateWindow();
    const QString address = SelectedAddress();
    if (address.isEmpty())
        return;
    m_browser->组合框_地址->setEditText(address);
    m_browser->GoToAddress();
    AutoLogin(SelectedAddress());
}

void BookmarkOpener::AutoLogin(const QString& address)
{
    // The primary password is asked while the page loads, before the wait for its form starts.
    if (!UnlockForLogin(address))
        return;
    PumpingWait(FirstPauseMs);
    const QDeadlineTimer formDeadline(LoginFinder::FieldWaitMs);
    // A login opened later owns the page; this one then stops where it is.
    const int generation = ++m_loginGeneration;
    m_globals.AutoLoginBusy = true;
    for (int tries = 0;;) {
        if (m_browser && m_browser->ReadyState() == 4)
            break;
        if (++tries > ReadinessPauses) {
            m_globals.AutoLoginBusy = false;
            if (m_browser && generation == m_loginGeneration && HasLoginData(address))
                m_browser->SetStatusPart(0, BrowserTexts::LoginPageTimedOut);
            return;
        }
        PumpingWait(ReadinessPauseMs);
        if (!m_globals.AutoLoginBusy || TerminationSignals::Requested())
            return;
    }

    std::optional<LoginFields> login = StoredLogin(address);
    if (!login || !m_browser || generation != m_loginGeneration)
        return;
    const std::optional<QString> password =
        PasswordAccess(*m_globals.Vault, m_services, m_browser).Reveal(login->password);
    if (!password) {
        if (m_browser)
            m_browser->SetStatusPart(0, BrowserTexts::PasswordUnavailable);
        return;
    }
    login->password = *password;
    LoginFinder finder(*m_browser->网页框, QUrl::fromUserInput(address), *login, [this, generation] {
        return m_browser && m_globals.AutoLoginBusy && generation == m_loginGeneration &&
               !TerminationSignals::Requested();
    });
    const LoginFinder::Outcome outcome = finder.Run(formDeadline);
    if (m_browser && outcome != LoginFinder::Outcome::Cancelled)
        m_browser->SetStatusPart(0, OutcomeText(outcome, finder.Page()));
}

std::optional<LoginFields> BookmarkOpener::StoredLogin(const QString& address) const
{
    RecordTable& database = *m_globals.Database;
    if (database.Query(Tables::Bookmarks, QStringLiteral("*"), QStringLiteral("地址=?"), {address}) == 0) {
        database.CloseRecordSet();
        return std::nullopt;
    }
    LoginFields login;
    login.account = database.ReadText(Columns::Account);
    login.password = database.ReadText(Columns::Password);
    login.accountId = database.ReadText(Columns::AccountId);
    login.passwordId = database.ReadText(Columns::PasswordId);
    login.fieldKind = StoredKind(database.ReadText(Columns::IdType));
    login.buttonId = database.ReadText(Columns::ButtonId);
    login.buttonKind = StoredKind(database.ReadText(Columns::ButtonIdType));
    login.buttonIsLink = database.ReadText(Columns::ControlType) != ButtonControl;
    database.CloseRecordSet();
    // A bookmark without login data is only shown.
    if (login.account.isEmpty() && login.password.isEmpty() && !login.IsIdentified() &&
        login.buttonId.isEmpty())
        return std::nullopt;
    return login;
}

bool BookmarkOpener::UnlockForLogin(const QString& address)
{
    const std::optional<LoginFields> login = StoredLogin(address);
    PasswordAccess access(*m_globals.Vault, m_services, m_browser);
    if (!login || !IsSealedText(login->password) || access.Unlock())
        return true;
    // Said as it happened: not the data's fault when the primary password was mistyped or not given.
    if (m_browser)
        m_browser->SetStatusPart(
            0, access.Declined()                                 ? BrowserTexts::PrimaryPasswordNotGiven
               : access.LastError() == VaultError::WrongPassword ? BrowserTexts::WrongPrimaryPassword
               : access.LastError() == VaultError::Cancelled     ? BrowserTexts::KeyringWaitCancelled
                                                                 : BrowserTexts::PasswordUnavailable);
    return false;
}

bool BookmarkOpener::HasLoginData(const QString& address) const
{
    return StoredLogin(address).has_value();
}

QString BookmarkOpener::OutcomeText(LoginFinder::Outcome outcome, const QUrl& page)
{
    switch (outcome) {
    case LoginFinder::Outcome::Submitted:
        return BrowserTexts::LoggedIn;
    case LoginFinder::Outcome::Filled:
        return BrowserTexts::LoginFilled;
    case LoginFinder::Outcome::NotFound:
        return BrowserTexts::LoginFormNotFound;
    case LoginFinder::Outcome::Unusable:
        return BrowserTexts::LoginFieldsUnusable;
    case LoginFinder::Outcome::NoControl:
        return BrowserTexts::LoginControlNotFound;
    case LoginFinder::Outcome::Refused:
        return BrowserTexts::LoginRefusedByPage;
    case LoginFinder::Outcome::OtherSite:
        return BrowserTexts::OtherSiteNoLogin + page.host();
    case LoginFinder::Outcome::Hidden:
        return BrowserTexts::LoginFieldHidden;
    case LoginFinder::Outcome::TooLong:
        return BrowserTexts::LoginTooLong;
    case LoginFinder::Outcome::SignUpOnly:
        return BrowserTexts::LoginSignUpOnly;
    case LoginFinder::Outcome::ChangeOnly:
        return BrowserTexts::LoginChangeOnly;
    case LoginFinder::Outcome::CodeAsked:
        return BrowserTexts::CodeAsked;
    case LoginFinder::Outcome::NotSent:
        return BrowserTexts::LoginNotSent;
    case LoginFinder::Outcome::Cancelled:
        break;
    }
    return {};
}

BrowserWindow* BookmarkOpener::Browser() const
{
    return m_browser;
}
