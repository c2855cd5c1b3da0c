#include "BookmarkOpener.h"

#include "BookmarkListModel.h"
#include "BrowserTexts.h"
#include "BrowserWindow.h"
#include "IdentifierKind.h"
#include "MainWindow.h"
#include "PageDocument.h"
#include "ProgramGlobals.h"
#include "PumpingWait.h"
#include "RuntimeServices.h"
#include "SameSite.h"
#include "StorageNames.h"
#include "TextNumber.h"

#include <QComboBox>
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
    m_services.OpenInDefaultBrowser(SelectedAddress());
}

void BookmarkOpener::OpenInBrowserWindow()
{
    if (!m_browser) {
        m_browser = new BrowserWindow(m_mainWindow, m_globals, m_services);
        m_browser->show();
    }
    const QString address = SelectedAddress();
    if (address.isEmpty())
        return;
    m_browser->组合框_地址->setEditText(address);
    m_browser->GoToAddress();
    AutoLogin(SelectedAddress());
}

void BookmarkOpener::AutoLogin(const QString& address)
{
    PumpingWait(FirstPauseMs);
    m_globals.AutoLoginBusy = true;
    for (int tries = 0;;) {
        if (m_browser && m_browser->ReadyState() == 4)
            break;
        if (++tries > ReadinessPauses) {
            m_globals.AutoLoginBusy = false;
            return;
        }
        PumpingWait(ReadinessPauseMs);
        if (!m_globals.AutoLoginBusy)
            return;
    }

    RecordTable& database = *m_globals.Database;
    if (database.Query(Tables::Bookmarks, QStringLiteral("*"), QStringLiteral("地址=?"), {address}) == 0) {
        database.CloseRecordSet();
        return;
    }
    const QString account = database.ReadText(Columns::Account);
    const QString password = database.ReadText(Columns::Password);
    const QString accountId = database.ReadText(Columns::AccountId);
    const QString passwordId = database.ReadText(Columns::PasswordId);
    const std::optional<IdentifierKind> fieldKind = StoredKind(database.ReadText(Columns::IdType));
    const QString buttonId = database.ReadText(Columns::ButtonId);
    const std::optional<IdentifierKind> buttonKind = StoredKind(database.ReadText(Columns::ButtonIdType));
    const bool isButton = database.ReadText(Columns::ControlType) == ButtonControl;
    database.CloseRecordSet();
    if (!m_browser)
        return;

    // A redirect to another site, or a page that is not the bookmark's at all, gets no password.
    const QUrl page = m_browser->网页框->url();
    if (!IsSameSite(QUrl::fromUserInput(address), page)) {
        m_browser->SetStatusPart(0, BrowserTexts::OtherSiteNoLogin + page.host());
        return;
    }
    if (fieldKind) {
        PageDocument document;
        document.Attach(nullptr, false, m_browser->网页框, true);
        document.SetLoginFieldValue(accountId, *fieldKind, account, false);
        document.SetLoginFieldValue(passwordId, *fieldKind, password, true);
    }
    if (buttonId.isEmpty())
        return;
    PumpingWait(ReadinessPauseMs);
    if (!m_browser || !buttonKind)
        return;
    PageDocument document;
    document.Attach(nullptr, false, m_browser->网页框, true);
    if (isButton)
        document.ClickButton(buttonId, *buttonKind, false);
    else
        document.ClickLink(buttonId, *buttonKind, false);
}

BrowserWindow* BookmarkOpener::Browser() const
{
    return m_browser;
}
