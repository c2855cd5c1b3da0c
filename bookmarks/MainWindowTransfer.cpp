// MainWindow: exporting and importing the "|" text files.
#include "MainWindow.h"

#include "FailureExplanation.h"
#include "PasswordAccess.h"
#include "ServerLink.h"

#include "BookmarkHtmlFile.h"
#include "BookmarkListModel.h"
#include "BookmarkTexts.h"
#include "BookmarkTransfer.h"
#include "BrowserImportDialog.h"
#include "DatabaseFile.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"
#include "SafeFile.h"
#include "StorageNames.h"
#include "WorkProgress.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QSet>

void MainWindow::ExportData()
{
    QString path;
    if (!m_services.ChooseFile(FileDialogMode::Save, BookmarkTexts::SaveTitle, BookmarkTexts::ExportFilter,
                               path, this))
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".txt");

    WorkProgress progress(this, BookmarkTexts::ExportingBookmarks, m_progressDelayMs);
    const BookmarkTransfer::Exported exported =
        BookmarkTransfer::Export(*m_globals.Database, path, progress.Callback());
    if (exported.failed) {
        m_services.ShowMessage(BookmarkTexts::CannotReadBookmarks, MessageStyle::Ok | MessageStyle::ErrorIcon,
                               BookmarkTexts::ErrorTitle, this);
        return;
    }
    if (exported.cancelled || !progress.Step(exported.count, exported.count)) {
        m_services.ShowMessage(BookmarkTexts::ExportCancelled,
                               MessageStyle::Ok | MessageStyle::InformationIcon, {}, this);
        return;
    }
    if (exported.count == 0) {
        m_services.ShowMessage(BookmarkTexts::NothingToExport,
                               MessageStyle::Ok | MessageStyle::InformationIcon, {}, this);
        return;
    }
    const QByteArray& bytes = exported.bytes;
    // Written whole or not at all: an export that fails half-way must not leave a cut file behind.
    if (!WriteFileSafely(path, bytes)) {
        m_services.ShowMessage(BookmarkTexts::CannotWriteFile + QDir::toNativeSeparators(path),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
        return;
    }
    m_services.ShowMessage(BookmarkTexts::Exported.arg(exported.count),
                           MessageStyle::Ok | MessageStyle::InformationIcon, {}, this);
}

void MainWindow::ImportData()
{
    QString path;
    if (!m_services.ChooseFile(FileDialogMode::Open, {}, BookmarkTexts::ImportFilter, path, this))
        return;
    if (path.endsWith(QStringLiteral(".mdb"), Qt::CaseInsensitive)) {
        MergeLegacyDatabase(path);
        return;
    }
    // Reading a large bookmark file and parsing it take seconds and report no steps: aside.
    WorkProgress reading(this, BookmarkTexts::ImportingBookmarks, m_progressDelayMs);
    std::optional<std::optional<BookmarkHtmlFile::Contents>> read =
        reading.RunAside<std::optional<BookmarkHtmlFile::Contents>>(
            [path]() -> std::optional<BookmarkHtmlFile::Contents> {
                QFile file(path);
                if (!file.open(QIODevice::ReadOnly))
                    return std::nullopt;
                return BookmarkTransfer::Parse(path, file.readAll());
            });
    if (read && !*read) {
        m_services.ShowMessage(BookmarkTexts::CannotReadFile + QDir::toNativeSeparators(path),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
        return;
    }
    if (!read) {
        ImportResult cancelled;
        cancelled.cancelled = true;
        ReportImport(cancelled, 0);
        return;
    }
    BookmarkHtmlFile::Contents contents = std::move(**read);
    ImportResult result = ImportLines(contents.lines, reading);
    ReportImport(result, contents.notPages, contents.skipped);
    ReleaseAside(std::move(contents), std::move(result));
}

void MainWindow::ImportFromBrowsers()
{
    // A profile's files are read beside the window: they may be large, slow or made to hang.
    // "取消" stops the reading where it is, through the flag it looks at.
    const auto cancelled = std::make_shared<std::atomic<bool>>(false);
    const auto aside = [&]<typename Result>(std::function<Result()> work) {
        WorkProgress reading(this, BookmarkTexts::ReadingBrowserBookmarks, m_progressDelayMs);
        std::optional<Result> result = reading.RunAside<Result>(std::move(work));
        if (!result)
            *cancelled = true;
        return result;
    };
    const std::optional<QList<BrowserProfile>> profiles = aside(std::function<QList<BrowserProfile>()>(
        [home = QDir::homePath(), cancelled] { return FindBrowserProfiles(home, cancelled.get()); }));
    if (!profiles)
        return;
    if (profiles->isEmpty()) {
        m_services.ShowMessage(BookmarkTexts::NoBrowserBookmarks,
                               MessageStyle::Ok | MessageStyle::InformationIcon, {}, this);
        return;
    }
    BrowserImportDialog dialog(*profiles, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    using Read = QList<std::pair<BrowserProfile, std::optional<BookmarkHtmlFile::Contents>>>;
    const std::optional<Read> read =
        aside(std::function<Read()>([chosen = dialog.ChosenProfiles(), cancelled] {
            Read all;
            for (const BrowserProfile& profile : chosen)
                all.append({profile, ReadBrowserProfile(profile, cancelled.get())});
            return all;
        }));
    if (!read) {
        ImportResult stopped;
        stopped.cancelled = true;
        ReportImport(stopped, 0);
        return;
    }
    BookmarkHtmlFile::Contents all;
    for (const auto& [profile, contents] : *read) {
        if (!contents) {
            m_services.ShowMessage(BookmarkTexts::BrowserProfileUnreadable.arg(
                                       profile.browser + QStringLiteral(" – ") + profile.name),
                                   MessageStyle::Ok | MessageStyle::WarningIcon, BookmarkTexts::ErrorTitle,
                                   this);
            continue;
        }
        all.lines += contents->lines;
        all.notPages += contents->notPages;
    }
    ReportImport(ImportLines(all.lines), all.notPages);
}

void MainWindow::ReportImport(const ImportResult& result, int notPages,
                              const QList<BookmarkTextFile::Skipped>& skipped)
{
    if (result.cancelled) {
        m_services.ShowMessage(BookmarkTexts::ImportCancelled,
                               MessageStyle::Ok | MessageStyle::InformationIcon, {}, this);
        return;
    }
    if (!result.stored) {
        const RecordTable& database = *m_globals.Database;
        if (database.IsServer() && (database.ConnectionLost() || !database.IsOpen())) {
            m_serverLink->LossToldByAct();
            m_services.ShowMessage(
                FailureExplanation::WithDetail(BookmarkTexts::ImportLostServer, database.LastError()),
                MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
            return;
        }
        ReportRefusedChange(BookmarkTexts::AddFailed);
        return;
    }
    const QString report = BookmarkTransfer::Report(result, notPages, skipped);
    const bool lost = result.refused > 0 || result.categoriesRefused > 0 || !skipped.isEmpty();
    m_services.ShowMessage(
        report, MessageStyle::Ok | (lost ? MessageStyle::WarningIcon : MessageStyle::InformationIcon), {},
        this);
}

MainWindow::ImportResult MainWindow::ImportLines(const QList<BookmarkTextFile::Line>& lines)
{
    WorkProgress progress(this, BookmarkTexts::ImportingBookmarks, m_progressDelayMs);
    return ImportLines(lines, progress);
}

MainWindow::ImportResult MainWindow::ImportLines(const QList<BookmarkTextFile::Line>& lines,
                                                 WorkProgress& progress)
{
    ImportResult result = BookmarkTransfer::Store(*m_globals.Database, lines, progress.Callback());
    for (const QString& category : result.newCategories)
        ShowNewCategory(category);
    // The list shows what the selected category holds: after a search, the category highlighted
    // is read again; otherwise the new rows of that category (all of them under "显示全部") come
    // at its end, in the order they were stored, without reading the list again.
    const int row = SelectedCategoryRow();
    const QString selected = row >= 0 ? 列表框_分类->item(row)->text() : QString();
    const bool all = selected == BookmarkTexts::ShowAll;
    if (result.added > 0 && m_showingMatches && row >= 0) {
        FillBookmarkList(all ? QString() : selected);
        return result;
    }
    // The first screens' texts come with them; the rest, read when shown, by ID only (a million
    // rows copied whole would hold the window).
    constexpr qsizetype WithTexts = 1000;
    QList<BookmarkListModel::Row> shown;
    std::vector<qint64> later;
    for (const BookmarkTransfer::StoredLine& added : result.addedRows) {
        const BookmarkTextFile::Line& line = added.line;
        if (!all && row >= 0 && line.category != selected)
            continue;
        if (shown.size() < WithTexts)
            shown.append({{line.name, line.address, line.category, line.remark}, false, added.id});
        else
            later.push_back(added.id);
    }
    m_bookmarks->AppendRows(std::move(shown));
    m_bookmarks->AppendIds(later);
    FitColumns();
    return result;
}

void MainWindow::MergeLegacyDatabase(const QString& path)
{
    // The reader process may take seconds on a damaged file: the window turns meanwhile, and 取消
    // ends the reader with nothing merged.
    std::optional<LegacyDatabase> legacy;
    {
        WorkProgress reading(this, BookmarkTexts::ReadingLegacyDatabase, m_progressDelayMs);
        legacy = ReadLegacyDatabase(path, [&reading] { return reading.Step(0, 0); });
        if (reading.Cancelled()) {
            m_services.ShowMessage(BookmarkTexts::ImportCancelled,
                                   MessageStyle::Ok | MessageStyle::InformationIcon, {}, this);
            return;
        }
    }
    if (!legacy) {
        m_services.ShowMessage(BookmarkTexts::NotALegacyDatabase + QDir::toNativeSeparators(path),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
        return;
    }
    RecordTable& database = *m_globals.Database;
    const auto known = [&](const QString& table, const QString& column) {
        QStringList values;
        database.ReadColumn(values, table, column);
        return QSet<QString>(values.begin(), values.end());
    };
    QSet<QString> addresses = known(Tables::Bookmarks, Columns::Address);
    QSet<QString> categories = known(Tables::Categories, Columns::CategoryName);
    QSet<QString> history = known(Tables::History, Columns::Address);

    // The old file's passwords are plain; a protected collection takes them sealed. The primary
    // password is asked before the transaction, not in the middle of it.
    PasswordAccess passwords(*m_globals.Vault, m_services, this);
    const int passwordColumn = 1 + int(LegacyBookmarkColumns().indexOf(Columns::Password));
    const bool anyPassword =
        std::any_of(legacy->bookmarks.begin(), legacy->bookmarks.end(),
                    [&](const QVariantList& row) { return !row[passwordColumn].toString().isEmpty(); });
    if (anyPassword && !passwords.Unlock())
        return;
    if (!database.BeginTransaction())
        return;
    bool ok = true;
    QList<BookmarkListModel::Row> added;
    for (const QVariantList& row : legacy->bookmarks) {
        // Columns: ID, 名称, 地址, 分类, 备注, 账号, …
        const QString address = row[2].toString();
        if (addresses.contains(address))
            continue;
        QVariantList values = row.mid(1);
        if (const QString plain = row[passwordColumn].toString(); !plain.isEmpty()) {
            const std::optional<QString> stored = passwords.Seal(plain);
            ok = ok && stored.has_value();
            values[passwordColumn - 1] = stored.value_or(QString());
        }
        ok = ok && database.Insert(Tables::Bookmarks, LegacyBookmarkColumns().join(u','), values);
        addresses.insert(address);
        added.append({{row[1].toString(), address, row[3].toString(), row[4].toString()},
                      !row[5].toString().isEmpty(),
                      database.LastInsertId()});
    }
    QStringList newCategories;
    for (const QVariantList& row : legacy->categories) {
        const QString name = row[1].toString();
        if (categories.contains(name))
            continue;
        ok = ok && database.Insert(Tables::Categories, Columns::CategoryName, {row[1]});
        categories.insert(name);
        newCategories.append(name);
    }
    int newHistory = 0;
    for (const QVariantList& row : legacy->history) {
        if (history.contains(row[1].toString()))
            continue;
        ok = ok && database.Insert(Tables::History, Columns::Address, {row[1]});
        history.insert(row[1].toString());
        ++newHistory;
    }
    if (!ok || !database.Commit()) {
        database.Rollback();
        ReportRefusedChange(BookmarkTexts::AddFailed);
        return;
    }
    const int bookmarks = int(added.size());
    m_bookmarks->AppendRows(std::move(added));
    for (const QString& category : newCategories)
        ShowNewCategory(category);
    FitColumns();
    m_services.ShowMessage(
        BookmarkTexts::LegacyMerged.arg(bookmarks).arg(newCategories.size()).arg(newHistory),
        MessageStyle::Ok | MessageStyle::InformationIcon, {}, this);
}
