// MainWindow: the category list and the bookmark list it selects.
#include "MainWindow.h"

#include "FailureExplanation.h"

#include "BookmarkListModel.h"
#include "BookmarkTexts.h"
#include "MessageStyle.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"
#include "SettingsKeys.h"
#include "StorageNames.h"
#include "TextNumber.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTreeView>

void MainWindow::FillCategoryList()
{
    RecordTable& database = *m_globals.Database;
    const int remembered = TextToInteger(m_globals.Settings().Read(Settings::CurrentCategory));

    for (const QStringList& row : database.ReadRows(Tables::Categories, {Columns::CategoryName}, {})) {
        列表框_分类->addItem(row[0]);
        类型框->addItem(row[0]);
    }
    列表框_分类->addItem(BookmarkTexts::ShowAll);

    {
        // ShowCategory runs once, below, not also for the selection made here.
        const QSignalBlocker blocker(列表框_分类);
        const int row = remembered == -1 ? 列表框_分类->count() - 1 : remembered;
        if (row >= 0 && row < 列表框_分类->count())
            列表框_分类->setCurrentRow(row);
    }
    ShowCategory();
}

void MainWindow::ShowCategory()
{
    const int row = SelectedCategoryRow();
    if (row < 0)
        return;
    const QString text = 列表框_分类->item(row)->text();
    if (text != BookmarkTexts::ShowAll)
        类型框->setCurrentText(text);
    FillBookmarkList(text == BookmarkTexts::ShowAll ? QString() : text);
}

void MainWindow::FillBookmarkList(const QString& category)
{
    RecordTable& database = *m_globals.Database;
    std::optional<std::vector<qint64>> ids =
        category.isEmpty() ? database.ReadIds(Tables::Bookmarks)
                           : database.ReadIds(Tables::Bookmarks, QStringLiteral("分类=?"), {category});
    // A list that could not be read is said, not shown empty as if the bookmarks were gone. A
    // collection that did not open was said at start.
    if (!ids && database.IsOpen()) {
        TellListUnread();
        return;
    }
    if (!ids)
        ids.emplace();
    ShowRows(std::move(*ids));
    FitColumns();
    m_showingMatches = false;
}

void MainWindow::TellListUnread()
{
    const RecordTable& database = *m_globals.Database;
    const QString text =
        database.IsServer()
            ? FailureExplanation::Server(BookmarkTexts::CannotReadList, database.LastError())
            : FailureExplanation::WithDetail(BookmarkTexts::CannotReadList, database.LastError());
    m_services.ShowMessage(text, MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
}

void MainWindow::ShowRows(std::vector<qint64> ids)
{
    // Rows are overwritten in place: a selection kept from the previous list would point at
    // other bookmarks, and a delete would take those.
    网址框->clearSelection();
    m_bookmarks->Rewrite(std::move(ids));
}

int MainWindow::CurrentRow() const
{
    const QModelIndex current = 网址框->selectionModel()->currentIndex();
    if (!current.isValid() || !网址框->selectionModel()->isRowSelected(current.row(), {}))
        return -1;
    return current.row();
}

QList<int> MainWindow::SelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : 网址框->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int MainWindow::SelectedCategoryRow() const
{
    const QModelIndexList selected = 列表框_分类->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}
