// MainWindow: renaming and deleting categories, moving bookmarks to another one.
#include "MainWindow.h"

#include "BookmarkListModel.h"
#include "BookmarkTexts.h"
#include "ChangeCategoryDialog.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"
#include "StorageNames.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTreeView>

void MainWindow::RenameCategory()
{
    const int row = SelectedCategoryRow();
    if (row < 0) {
        m_services.ShowMessage(BookmarkTexts::SelectCategoryToRename, MessageStyle::Ok, {}, this);
        return;
    }
    const QString oldName = 列表框_分类->item(row)->text();
    if (oldName == BookmarkTexts::ShowAll)
        return;
    QString newName;
    if (!m_services.InputBox(BookmarkTexts::NewCategoryPrompt, {}, {}, newName, this) || newName.isEmpty())
        return;

    if (newName == oldName)
        return;
    RecordTable& database = *m_globals.Database;
    // A name already in the list takes the bookmarks in: one category of that name, not two.
    const bool merging =
        database.Exists(Tables::Categories, Columns::CategoryName, QStringLiteral("分类名=?"), {newName});
    // Bookmarks and category change together or not at all.
    if (!database.BeginTransaction() ||
        !database.Update(Tables::Bookmarks, QStringLiteral("分类=?"), QStringLiteral("分类=?"),
                         {newName, oldName}) ||
        !(merging ? database.Delete(Tables::Categories, QStringLiteral("分类名=?"), {oldName})
                  : database.Update(Tables::Categories, QStringLiteral("分类名=?"),
                                    QStringLiteral("分类名=?"), {newName, oldName})) ||
        !database.Commit()) {
        database.Rollback();
        m_services.ShowMessage(BookmarkTexts::RenameCategoryFailed,
                               MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
        return;
    }
    const int offered = 类型框->findText(oldName);
    if (merging) {
        if (offered >= 0)
            类型框->removeItem(offered);
        类型框->setCurrentText(newName);
        const QSignalBlocker blocker(列表框_分类);
        delete 列表框_分类->takeItem(row);
        const QList<QListWidgetItem*> found = 列表框_分类->findItems(newName, Qt::MatchExactly);
        if (!found.isEmpty())
            列表框_分类->setCurrentItem(found.first());
        ShowCategory();
        return;
    }
    列表框_分类->item(row)->setText(newName);
    if (offered >= 0)
        类型框->setItemText(offered, newName);
    if (类型框->currentText() == oldName)
        类型框->setCurrentText(newName);
    // Only the rows of the renamed category show the new name ("显示全部" holds others too).
    m_bookmarks->Reread();
}

void MainWindow::DeleteCategory()
{
    const int row = SelectedCategoryRow();
    if (row < 0) {
        m_services.ShowMessage(BookmarkTexts::SelectCategoryToDelete, MessageStyle::Ok, {}, this);
        return;
    }
    const QString name = 列表框_分类->item(row)->text();
    if (name == BookmarkTexts::ShowAll)
        return;
    RecordTable& database = *m_globals.Database;
    QStringList going;
    database.ReadColumn(going, Tables::Bookmarks, Columns::Address, QStringLiteral("分类=?"), {name});
    if (m_services.ShowMessage(BookmarkTexts::ConfirmDeleteCategory + u'\n' +
                                   BookmarkTexts::CategoryBookmarksGoToo.arg(going.size()),
                               MessageStyle::YesNo | MessageStyle::QuestionIcon,
                               BookmarkTexts::QuestionTitleColon, this) != MessageAnswer::Yes)
        return;

    if (!database.BeginTransaction() ||
        !database.Delete(Tables::Bookmarks, QStringLiteral("分类=?"), {name}) ||
        !database.Delete(Tables::Categories, QStringLiteral("分类名=?"), {name}) || !database.Commit()) {
        database.Rollback();
        m_services.ShowMessage(BookmarkTexts::DeleteCategoryFailed,
                               MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
        return;
    }
    m_bookmarks->RemoveAll();
    ForgetDeletedEntry(going);
    const int offered = 类型框->findText(name);
    if (offered >= 0)
        类型框->removeItem(offered);
    // No other category is chosen in its place: the list stays empty until the user picks one.
    const QSignalBlocker blocker(列表框_分类);
    delete 列表框_分类->takeItem(row);
    列表框_分类->clearSelection();
}

void MainWindow::OpenChangeCategoryDialog()
{
    if (CurrentRow() < 0) {
        m_services.ShowMessage(BookmarkTexts::SelectRecordsToMove, MessageStyle::Ok, {}, this);
        return;
    }
    m_globals.BookmarkFromBrowser = false;
    ChangeCategoryDialog dialog(*this, {}, this);
    dialog.exec();
}
