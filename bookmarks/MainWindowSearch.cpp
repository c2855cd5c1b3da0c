// MainWindow: finding bookmarks by part of their name or address.
#include "MainWindow.h"

#include "BookmarkListModel.h"
#include "BookmarkTexts.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"
#include "SearchIndex.h"
#include "StorageNames.h"
#include "WorkProgress.h"

#include <QTreeView>

void MainWindow::FindInNames()
{
    QString text;
    if (m_services.InputBox(BookmarkTexts::FindNamePrompt, {}, {}, text, this))
        ShowMatches(Columns::Name, text);
}

void MainWindow::FindInAddresses()
{
    QString text;
    if (m_services.InputBox(BookmarkTexts::FindAddressPrompt, {}, {}, text, this))
        ShowMatches(Columns::Address, text);
}

std::optional<std::vector<qint64>> MainWindow::MatchingIds(const QString& column, const QString& text)
{
    RecordTable& database = *m_globals.Database;
    if (text.contains(QChar(0))) {
        // The database reads a pattern only up to a NUL; such a text is compared here, whole.
        std::vector<qint64> ids;
        for (const QStringList& row : database.ReadRows(Tables::Bookmarks, {Columns::Id, column}, {})) {
            if (row[1].contains(text, Qt::CaseInsensitive))
                ids.push_back(row[0].toLongLong());
        }
        return ids;
    }
    const SearchIndex::Condition condition = SearchIndex::Matching(database, column, text);
    return database.ReadIds(Tables::Bookmarks, condition.where + QStringLiteral(" order by ID"),
                            condition.args);
}

void MainWindow::ShowMatches(const QString& column, const QString& text)
{
    RecordTable& database = *m_globals.Database;
    if (!text.contains(QChar(0)) && !SearchIndex::Exists(database)) {
        // Once for a collection every row goes into the index: seconds for a million rows, so
        // on a connection of its own beside the window. Cancelled, this search scans.
        WorkProgress progress(this, BookmarkTexts::IndexingBookmarks, m_progressDelayMs);
        progress.RunAside<bool>([path = database.Path()] {
            RecordTable aside;
            return aside.Open(path) && SearchIndex::Ensure(aside);
        });
    }
    std::optional<std::vector<qint64>> ids = MatchingIds(column, text);
    if (!ids) {
        TellListUnread();
        return;
    }
    m_matchColumn = column;
    m_matchText = text;
    ShowRows(std::move(*ids));
    FitColumns();
    // Until a category is chosen, even the one still selected, the list shows matches.
    m_showingMatches = true;
    // An empty result must not look like an empty collection.
    if (m_bookmarks->rowCount() == 0)
        m_services.ShowMessage(BookmarkTexts::NoMatches, MessageStyle::Ok | MessageStyle::InformationIcon, {},
                               this);
}
