// MainWindow: the entry panel, and deleting and clearing bookmarks.
#include "MainWindow.h"

#include "FailureExplanation.h"
#include "Placement.h"
#include "ServerLink.h"

#include "AccountDialog.h"
#include "BookmarkListModel.h"
#include "BookmarkTexts.h"
#include "DatabaseBackup.h"
#include "DatabaseFile.h"
#include "PasswordAccess.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"
#include "SearchIndex.h"
#include "StorageNames.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTreeView>

namespace {

const QString AddressIs = QStringLiteral("地址=?");

const QString ShortColumns = QStringLiteral("名称,地址,分类,备注");
const QString AllColumns =
    QStringLiteral("名称,地址,分类,备注,账号,密码,账号标识,密码标识,标识类型,按钮标识,按钮标识类型,控件类型");

} // namespace

BookmarkRecord MainWindow::EnteredBookmark() const
{
    BookmarkRecord bookmark;
    bookmark.name = 网站名框->text();
    bookmark.address = 地址框->text();
    bookmark.category = 类型框->currentText();
    bookmark.remark = 备注框->text();
    return bookmark;
}

void MainWindow::AddFromEntryPanel()
{
    const BookmarkRecord bookmark = EnteredBookmark();
    if (bookmark.name.isEmpty() || bookmark.address.isEmpty() || bookmark.category.isEmpty()) {
        m_services.ShowMessage(BookmarkTexts::MissingFields, MessageStyle::Ok, {}, this);
        return;
    }
    if (m_globals.Database->Exists(Tables::Bookmarks, Columns::Address, AddressIs, {bookmark.address})) {
        m_services.ShowMessage(BookmarkTexts::AlreadyBookmarked, MessageStyle::Ok | MessageStyle::ErrorIcon,
                               BookmarkTexts::ErrorTitle, this);
        return;
    }
    if (!AddBookmark(bookmark))
        return;
    网站名框->clear();
    地址框->clear();
    网站名框->setFocus();
}

bool MainWindow::AddBookmark(const BookmarkRecord& b)
{
    // Login data is stored only together with an account.
    const bool hasLogin = !b.account.isEmpty();
    const std::optional<QString> password =
        hasLogin ? PasswordAccess(*m_globals.Vault, m_services, this).Seal(b.password) : QString();
    if (!password)
        return false;
    const bool stored = hasLogin
                            ? m_globals.Database->Insert(Tables::Bookmarks, AllColumns,
                                                         {b.name, b.address, b.category, b.remark, b.account,
                                                          *password, b.accountId, b.passwordId, b.idType,
                                                          b.buttonId, b.buttonIdType, b.controlType})
                            : m_globals.Database->Insert(Tables::Bookmarks, ShortColumns,
                                                         {b.name, b.address, b.category, b.remark});
    if (!stored) {
        ReportRefusedChange(BookmarkTexts::AddFailed);
        return false;
    }
    m_bookmarks->AppendRow(
        {{b.name, b.address, b.category, b.remark}, hasLogin, m_globals.Database->LastInsertId()});
    FitColumns();
    EnsureCategory(b.category);
    return true;
}

void MainWindow::ReportRefusedChange(const QString& failure)
{
    const RecordTable& database = *m_globals.Database;
    // A server away is said at every act that needed it; the watch's message for a loss this act
    // found is this one.
    if (database.IsServer() && (database.ConnectionLost() || !database.IsOpen())) {
        m_serverLink->LossToldByAct();
        m_services.ShowMessage(
            FailureExplanation::Server(BookmarkTexts::CannotReachServer, database.LastError()),
            MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
        return;
    }
    // Another machine stored the same address a moment before; the server keeps one.
    if (database.LastFailureWasDuplicate()) {
        m_services.ShowMessage(BookmarkTexts::AlreadyBookmarked, MessageStyle::Ok | MessageStyle::ErrorIcon,
                               BookmarkTexts::ErrorTitle, this);
        return;
    }
    // The server's own reason (a role that may not insert, say) follows ours.
    const QString reason = database.IsServer() ? database.LastError() : QString();
    m_services.ShowMessage(FailureExplanation::WithDetail(failure, reason),
                           MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
}

bool MainWindow::ReportGoneRow()
{
    if (m_globals.Database->RowsChanged() > 0)
        return false;
    // Deleted on another machine a moment before: what the user typed stays to be added again.
    m_services.ShowMessage(BookmarkTexts::BookmarkGone, MessageStyle::Ok | MessageStyle::WarningIcon,
                           BookmarkTexts::ErrorTitle, this);
    return true;
}

void MainWindow::EnsureCategory(const QString& category)
{
    RecordTable& database = *m_globals.Database;
    if (database.Exists(Tables::Categories, Columns::CategoryName, QStringLiteral("分类名=?"), {category}))
        return;
    if (database.Insert(Tables::Categories, Columns::CategoryName, {category}))
        ShowNewCategory(category);
}

void MainWindow::ShowNewCategory(const QString& category)
{
    // Before "显示全部"; after a clear the list has none, and names go at the end in their order.
    // The selection moves along with the rows it is on; nothing asks for the bookmarks again.
    const QSignalBlocker blocker(列表框_分类);
    const int count = 列表框_分类->count();
    if (count > 0 && 列表框_分类->item(count - 1)->text() == BookmarkTexts::ShowAll)
        列表框_分类->insertItem(count - 1, category);
    else
        列表框_分类->addItem(category);
    类型框->addItem(category);
}

void MainWindow::ModifyCurrentBookmark()
{
    const int row = CurrentRow();
    if (row < 0) {
        m_services.ShowMessage(BookmarkTexts::SelectRecordToModify, MessageStyle::Ok, {}, this);
        return;
    }
    const BookmarkRecord bookmark = EnteredBookmark();
    if (bookmark.name.isEmpty() || bookmark.address.isEmpty()) {
        m_services.ShowMessage(BookmarkTexts::NameAndAddressRequired, MessageStyle::Ok, {}, this);
        return;
    }
    const QString oldAddress = m_bookmarks->Cell(row, BookmarkListModel::AddressColumn);
    const QString oldCategory = m_bookmarks->Cell(row, BookmarkListModel::CategoryColumn);
    const auto [thisRow, key] = RowKey(row);
    // Two bookmarks of one address could no longer be told apart by it.
    if (bookmark.address != oldAddress &&
        m_globals.Database->Exists(Tables::Bookmarks, Columns::Address,
                                   QStringLiteral("地址=? and not (") + thisRow + u')',
                                   {bookmark.address, key})) {
        m_services.ShowMessage(BookmarkTexts::AlreadyBookmarked, MessageStyle::Ok, {}, this);
        return;
    }
    if (!m_globals.Database->Update(
            Tables::Bookmarks, QStringLiteral("名称=?,地址=?,分类=?,备注=?"), thisRow,
            {bookmark.name, bookmark.address, bookmark.category, bookmark.remark, key})) {
        ReportRefusedChange(BookmarkTexts::ModifyFailed);
        return;
    }
    if (ReportGoneRow())
        return;
    ShowModifiedBookmark(row, oldCategory, bookmark, m_bookmarks->RowAt(row).hasLogin);
}

std::pair<QString, QVariant> MainWindow::RowKey(int row) const
{
    const BookmarkListModel::Row& shown = m_bookmarks->RowAt(row);
    if (shown.id > 0)
        return {QStringLiteral("ID=?"), shown.id};
    return {AddressIs, shown.cells[BookmarkListModel::AddressColumn]};
}

void MainWindow::ShowModifiedBookmark(int row, const QString& oldCategory, const BookmarkRecord& b,
                                      bool hasLogin)
{
    if (b.category == oldCategory) {
        m_bookmarks->SetRow(
            row, {{b.name, b.address, b.category, b.remark}, hasLogin, m_bookmarks->RowAt(row).id});
        FitColumns();
    } else {
        // The bookmark no longer belongs to the category on show.
        m_bookmarks->RemoveRow(row);
        EnsureCategory(b.category);
    }
}

void MainWindow::LoadCurrentBookmark()
{
    const int row = CurrentRow();
    // A change made elsewhere leaves what the user is typing alone.
    if (row < 0 || m_followingOthers)
        return;
    if (m_accountDialog) {
        m_accountDialog->Refill();
        return;
    }
    网站名框->setText(m_bookmarks->Cell(row, BookmarkListModel::NameColumn));
    地址框->setText(m_bookmarks->Cell(row, BookmarkListModel::AddressColumn));
    类型框->setCurrentText(m_bookmarks->Cell(row, BookmarkListModel::CategoryColumn));
    备注框->setText(m_bookmarks->Cell(row, BookmarkListModel::RemarkColumn));
}

void MainWindow::OpenAccountDialog()
{
    if (!m_accountDialog)
        m_accountDialog = new AccountDialog(*this);
    ShowInFront(m_accountDialog);
}

void MainWindow::DeleteSelectedBookmarks()
{
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty()) {
        m_services.ShowMessage(BookmarkTexts::SelectBookmarksToDelete, MessageStyle::Ok, {}, this);
        return;
    }
    if (m_services.ShowMessage(BookmarkTexts::ConfirmDelete, MessageStyle::YesNo | MessageStyle::QuestionIcon,
                               BookmarkTexts::QuestionTitle, this) != MessageAnswer::Yes)
        return;

    RecordTable& database = *m_globals.Database;
    const bool inTransaction = database.BeginTransaction();
    QList<int> deleted; // descending
    QStringList addresses;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        const auto [thisRow, key] = RowKey(*it);
        if (database.Delete(Tables::Bookmarks, thisRow, {key})) {
            deleted.append(*it);
            addresses.append(m_bookmarks->Cell(*it, BookmarkListModel::AddressColumn));
        }
    }
    if (inTransaction && !database.Commit()) {
        database.Rollback();
        deleted.clear();
    }
    if (deleted.size() < rows.size())
        ReportRefusedChange(BookmarkTexts::DeleteFailed);
    if (deleted.isEmpty())
        return;
    m_bookmarks->RemoveRows(deleted);
    ForgetDeletedEntry(addresses);
}

void MainWindow::ForgetDeletedEntry(const QStringList& deletedAddresses)
{
    // Modify would otherwise write to a bookmark that is no longer there.
    if (!地址框->text().isEmpty() && deletedAddresses.contains(地址框->text())) {
        网站名框->clear();
        地址框->clear();
        备注框->clear();
    }
}

void MainWindow::ClearAllData()
{
    RecordTable& database = *m_globals.Database;
    // Said before it happens: how much goes, and where the copy will be. "否" is the default.
    const QStringList count = database.ReadRows(Tables::Bookmarks, {QStringLiteral("count(*)")}, {}).value(0);
    const QString backup =
        QDir::toNativeSeparators(BackupPath(BackupBase(database, m_services.ProgramDirectory())));
    if (m_services.ShowMessage(
            BookmarkTexts::ConfirmClear + u'\n' +
                BookmarkTexts::ClearWhatGoes.arg(count.value(0, QStringLiteral("0")), backup),
            MessageStyle::YesNo | MessageStyle::QuestionIcon | MessageStyle::SecondIsDefault,
            BookmarkTexts::QuestionTitle, this) != MessageAnswer::Yes)
        return;
    // What is cleared by mistake can be had back from the copy.
    if (!BackUpDatabase(database, BackupBase(database, m_services.ProgramDirectory()))) {
        m_services.ShowMessage(database.IsServer() ? BookmarkTexts::ServerBackupFailed
                                                   : BookmarkTexts::BackupFailed,
                               MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
        return;
    }
    // The search index is emptied at once rather than row by row.
    const bool indexed = SearchIndex::Exists(database);
    if (!database.BeginTransaction() || (indexed && !SearchIndex::Drop(database)) ||
        !database.DeleteAll(Tables::Bookmarks) || !database.DeleteAll(Tables::Categories) ||
        (indexed && !SearchIndex::Create(database)) || !database.Commit()) {
        database.Rollback();
        m_services.ShowMessage(BookmarkTexts::ClearFailed, MessageStyle::Ok | MessageStyle::ErrorIcon,
                               BookmarkTexts::ErrorTitle, this);
        return;
    }
    m_bookmarks->RemoveAll();
    网站名框->clear();
    地址框->clear();
    备注框->clear();
    // The categories are gone from the database: none stays on offer, and the list keeps its way
    // back to every bookmark added from now on.
    类型框->clear();
    const QSignalBlocker blocker(列表框_分类);
    列表框_分类->clear();
    列表框_分类->addItem(BookmarkTexts::ShowAll);
    列表框_分类->setCurrentRow(0);
    m_showingMatches = false;
}
