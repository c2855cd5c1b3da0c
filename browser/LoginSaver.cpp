#include "LoginSaver.h"

#include "BookmarkListModel.h"
#include "BrowserTexts.h"
#include "BrowserWindow.h"
#include "ChangeCategoryDialog.h"
#include "MainWindow.h"
#include "PasswordAccess.h"
#include "ProgramGlobals.h"
#include "SameSite.h"
#include "SaveLoginBar.h"
#include "StorageNames.h"

#include <QRegularExpression>

namespace {

const QString ButtonControl = QStringLiteral("按钮");
const QString LinkControl = QStringLiteral("链接");
const QRegularExpression TrailingSlash(QStringLiteral("/+$"));

QString DeclineKey(const CapturedLogin& login)
{
    return RegistrableDomain(login.page.host()) + u'\n' + login.account;
}

} // namespace

LoginSaver::LoginSaver(BrowserWindow& browser, SaveLoginBar& bar, MainWindow& mainWindow,
                       ProgramGlobals& globals)
    : QObject(&browser), m_browser(browser), m_bar(bar), m_mainWindow(mainWindow), m_globals(globals)
{
    connect(&m_bar, &SaveLoginBar::answered, this, &LoginSaver::Answer);
}

std::optional<LoginSaver::Stored> LoginSaver::BookmarkOfSite(const CapturedLogin& login) const
{
    RecordTable& database = *m_globals.Database;
    QStringList addresses;
    database.ReadColumn(addresses, Tables::Bookmarks, Columns::Address, QStringLiteral("地址 like ?"),
                        {u'%' + RegistrableDomain(login.page.host()) + u'%'});
    std::optional<Stored> best;
    int bestScore = -1;
    for (const QString& address : addresses) {
        const QUrl bookmark = QUrl::fromUserInput(address);
        if (!IsSameSite(bookmark, login.page))
            continue;
        if (database.Query(Tables::Bookmarks, QStringLiteral("*"), QStringLiteral("地址=?"), {address}) ==
            0) {
            database.CloseRecordSet();
            continue;
        }
        Stored stored{address, database.ReadText(Columns::Name), database.ReadText(Columns::Account),
                      database.ReadText(Columns::Password)};
        database.CloseRecordSet();
        // Only compared: a locked vault is not opened for it, the user is asked to save instead.
        stored.password = PasswordAccess(*m_globals.Vault, m_mainWindow.Services(), &m_browser)
                              .Reveal(stored.password, PasswordAccess::Asking::Quiet)
                              .value_or(QString());
        const bool sameHost = bookmark.host().compare(login.page.host(), Qt::CaseInsensitive) == 0;
        const bool samePage =
            sameHost && bookmark.path().remove(TrailingSlash) == login.page.path().remove(TrailingSlash);
        const int score = (samePage ? 4 : 0) + (sameHost ? 2 : 0) + (stored.account == login.account ? 1 : 0);
        if (score > bestScore) {
            best = stored;
            bestScore = score;
        }
    }
    return best;
}

void LoginSaver::Offer(const CapturedLogin& login)
{
    if (m_declined.contains(DeclineKey(login)))
        return;
    const std::optional<Stored> bookmark = BookmarkOfSite(login);
    // What the bookmark holds already (the automatic login sending it, say) is not asked about.
    if (bookmark && bookmark->password == login.password &&
        (login.account.isEmpty() || bookmark->account == login.account))
        return;
    m_pending = login;
    m_target = bookmark ? bookmark->address : QString();
    const QString detail =
        (login.account.isEmpty() ? login.page.host()
                                 : QStringLiteral("%1（%2）").arg(login.page.host(), login.account)) +
        (bookmark ? BrowserTexts::IntoBookmark.arg(bookmark->name) : QString());
    if (bookmark)
        m_bar.Ask(BrowserTexts::SaveLoginQuestion, detail, BrowserTexts::SaveLogin,
                  BrowserTexts::DontSaveLogin);
    else
        m_bar.Ask(BrowserTexts::AddBookmarkWithLoginQuestion, detail, BrowserTexts::AddBookmarkWithLogin,
                  BrowserTexts::DontAddBookmark);
}

void LoginSaver::Answer(bool yes)
{
    if (!yes) {
        m_declined.insert(DeclineKey(m_pending));
        return;
    }
    QString address = m_target;
    if (address.isEmpty()) {
        // A new bookmark for the login page, under the category the user chooses.
        address = m_pending.page.toString();
        m_globals.BookmarkFromBrowser = true;
        const QString title = m_pending.title.isEmpty() ? address : m_pending.title;
        ChangeCategoryDialog dialog(m_mainWindow, {[address] { return address; }, [title] { return title; }},
                                    &m_browser);
        dialog.exec();
        if (!m_globals.Database->Exists(Tables::Bookmarks, Columns::Address, QStringLiteral("地址=?"),
                                        {address}))
            return;
    }
    if (StoreInto(address)) {
        MarkLoginInList();
        m_browser.SetStatusPart(0, BrowserTexts::LoginSaved);
    } else {
        m_browser.SetStatusPart(0, BrowserTexts::LoginSaveFailed);
    }
}

bool LoginSaver::StoreInto(const QString& address)
{
    RecordTable& database = *m_globals.Database;
    CapturedLogin login = m_pending;
    if (login.account.isEmpty()) {
        // The password page of a two-step login: the account stays the bookmark's, and the next
        // login finds both pages' fields by itself.
        if (database.Query(Tables::Bookmarks, Columns::Account, QStringLiteral("地址=?"), {address}) != 0)
            login.account = database.ReadText(Columns::Account);
        database.CloseRecordSet();
        login.accountId.clear();
        login.passwordId.clear();
        login.idType.clear();
    }
    const std::optional<QString> password =
        PasswordAccess(*m_globals.Vault, m_mainWindow.Services(), &m_browser).Seal(login.password);
    if (!password)
        return false;
    const bool hasButton = !login.buttonId.isEmpty();
    return database.Update(Tables::Bookmarks,
                           QStringLiteral("账号=?,密码=?,账号标识=?,密码标识=?,标识类型=?,按钮标识=?,"
                                          "按钮标识类型=?,控件类型=?"),
                           QStringLiteral("地址=?"),
                           {login.account, *password, login.accountId, login.passwordId, login.idType,
                            login.buttonId, login.buttonIdType,
                            hasButton ? (login.buttonIsLink ? LinkControl : ButtonControl) : QString(),
                            address});
}

void LoginSaver::MarkLoginInList()
{
    // The rows shown are read again with the login now stored: the mark follows the database.
    m_mainWindow.Bookmarks().Reread();
}
