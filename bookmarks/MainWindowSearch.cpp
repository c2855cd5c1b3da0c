// MainWindow: finding bookmarks by part of their name or address.
#include "MainWindow.h"

#include "BookmarkListModel.h"
#include "BookmarkTexts.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"
#include "StorageNames.h"

#include <QTreeView>

namespace {

// The text as typed: % and _ are matched as themselves, not as wildcards.
QString ContainsPattern(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'%', QStringLiteral("\\%"));
    text.replace(u'_', QStringLiteral("\\_"));
    return u'%' + text + u'%';
}

} // namespace

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

void MainWindow::ShowMatches(const QString& column, const QString& text)
{
    if (text.contains(QChar(0))) {
        // The database reads a pattern only up to a NUL; such a text is compared here, whole.
        const int cell =
            column == Columns::Name ? BookmarkListModel::NameColumn : BookmarkListModel::AddressColumn;
        m_globals.Database->Query(Tables::Bookmarks, ShownFields);
        ShowQueriedRows([&](const BookmarkListModel::Row& row) {
            return row.cells[cell].contains(text, Qt::CaseInsensitive);
        });
    } else {
        m_globals.Database->Query(Tables::Bookmarks, ShownFields,
                                  column + QStringLiteral(" like ? escape '\\'"), {ContainsPattern(text)});
        ShowQueriedRows();
    }
    FitColumns();
    // Until a category is chosen, even the one still selected, the list shows matches.
    m_showingMatches = true;
    // An empty result must not look like an empty collection.
    if (m_bookmarks->rowCount() == 0)
        m_services.ShowMessage(BookmarkTexts::NoMatches, MessageStyle::Ok | MessageStyle::InformationIcon, {},
                               this);
}
