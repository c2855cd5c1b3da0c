// MainWindow: following what other machines change in a collection kept on a server.
#include "MainWindow.h"

#include "BookmarkListModel.h"
#include "BookmarkTexts.h"
#include "ProgramGlobals.h"
#include "StorageNames.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTreeView>

#include <unordered_set>

namespace T = BookmarkTexts;

namespace {

// The categories as stored, in their order.
QStringList StoredCategories(RecordTable& database)
{
    QStringList names;
    database.ReadColumn(names, Tables::Categories, Columns::CategoryName, QStringLiteral("1=1 order by ID"));
    return names;
}

} // namespace

void MainWindow::FollowOtherChanges()
{
    RecordTable& database = *m_globals.Database;
    // Categories another program added or took away; the one selected stays selected by name.
    const QStringList names = StoredCategories(database);
    QStringList shown;
    for (int row = 0; row + 1 < 列表框_分类->count(); ++row)
        shown.append(列表框_分类->item(row)->text());
    if (names != shown) {
        const int selectedRow = SelectedCategoryRow();
        const QString selected = selectedRow >= 0 ? 列表框_分类->item(selectedRow)->text() : QString();
        const QSignalBlocker blocker(列表框_分类);
        const QString typed = 类型框->currentText();
        列表框_分类->clear();
        类型框->clear();
        列表框_分类->addItems(names);
        类型框->addItems(names);
        类型框->setCurrentText(typed);
        列表框_分类->addItem(T::ShowAll);
        int row = names.indexOf(selected);
        // Renamed elsewhere: the same place in a list of the same length.
        if (row < 0 && selectedRow >= 0 && selectedRow < names.size() && names.size() == shown.size())
            row = selectedRow;
        列表框_分类->setCurrentRow(row >= 0 ? row : 列表框_分类->count() - 1);
        if (row < 0 && selected != T::ShowAll && !m_showingMatches) {
            // The category on show is gone: its bookmarks went elsewhere.
            FillBookmarkList({});
            return;
        }
    }

    // The rows on show again, rewritten in place; the selection stays on the bookmarks it was on.
    std::optional<std::vector<qint64>> read;
    if (m_showingMatches) {
        read = MatchingIds(m_matchColumn, m_matchText);
    } else {
        const int row = SelectedCategoryRow();
        const QString category = row >= 0 ? 列表框_分类->item(row)->text() : T::ShowAll;
        read = category == T::ShowAll
                   ? database.ReadIds(Tables::Bookmarks)
                   : database.ReadIds(Tables::Bookmarks, QStringLiteral("分类=?"), {category});
    }
    // Unread, the rows on show stay: a lost server is told by its own notice.
    if (!read)
        return;
    const std::vector<qint64>& ids = *read;
    QItemSelectionModel* selection = 网址框->selectionModel();
    std::unordered_set<qint64> selectedIds;
    for (const QModelIndex& index : selection->selectedRows())
        selectedIds.insert(m_bookmarks->IdAt(index.row()));
    const QModelIndex current = selection->currentIndex();
    const qint64 currentId = current.isValid() ? m_bookmarks->IdAt(current.row()) : 0;

    m_followingOthers = true;
    selection->clear();
    m_bookmarks->Rewrite(ids);
    m_bookmarks->Reread();
    QItemSelection kept;
    int currentRow = -1;
    for (int row = 0; row < int(ids.size()); ++row) {
        if (selectedIds.count(ids[size_t(row)]))
            kept.select(m_bookmarks->index(row, 0),
                        m_bookmarks->index(row, BookmarkListModel::ColumnCount - 1));
        if (ids[size_t(row)] == currentId)
            currentRow = row;
    }
    if (currentRow >= 0)
        selection->setCurrentIndex(m_bookmarks->index(currentRow, 0), QItemSelectionModel::NoUpdate);
    selection->select(kept, QItemSelectionModel::Select);
    m_followingOthers = false;
    FitColumns();
}

void MainWindow::ReloadCollection(bool keepEntry)
{
    const QString typedCategory = 类型框->currentText();
    m_bookmarks->RemoveAll();
    if (!keepEntry) {
        网站名框->clear();
        地址框->clear();
        备注框->clear();
    }
    {
        const QSignalBlocker blocker(列表框_分类);
        列表框_分类->clear();
        类型框->clear();
    }
    m_showingMatches = false;
    FillCategoryList();
    AddDefaultBookmarkIfEmpty();
    if (keepEntry)
        类型框->setCurrentText(typedCategory);
}
