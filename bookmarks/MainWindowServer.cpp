// MainWindow: a collection kept on a PostgreSQL server, and moving between it and the local file.
#include "MainWindow.h"

#include "FailureExplanation.h"

#include "BookmarkListModel.h"
#include "BookmarkTexts.h"
#include "CollectionCopy.h"
#include "DatabaseFile.h"
#include "DatabaseLocationDialog.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"
#include "ServerSchema.h"
#include "SettingsKeys.h"
#include "StorageNames.h"
#include "SystemKeyring.h"
#include "WorkProgress.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeView>

#include <unordered_map>
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

bool MainWindow::OpenChosenServer()
{
    RecordTable& database = *m_globals.Database;
    if (!ServerSchema::OpenChosen(database, m_globals.Settings())) {
        // Nothing is written anywhere else: the lists stay empty until the server answers.
        m_services.ShowMessage(FailureExplanation::Server(T::CannotReachServer, database.LastError()),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, T::ErrorTitle, this);
        return false;
    }
    WatchServer();
    return true;
}

void MainWindow::NoteServerAway()
{
    const RecordTable& database = *m_globals.Database;
    const bool away = database.IsServer() && !database.IsOpen();
    if (away == m_serverAway)
        return;
    // The user's next click or key tries the server again.
    m_serverAway = away;
    if (away)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

void MainWindow::TryServerAgain()
{
    // A server that does not answer costs its connect timeout: not on every key.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (m_lastServerTryMs >= 0 && now - m_lastServerTryMs < 3000)
        return;
    m_lastServerTryMs = now;
    if (!ServerSchema::OpenChosen(*m_globals.Database, m_globals.Settings()))
        return;
    NoteServerAway();
    // What the user was typing when the server came back is theirs.
    ReloadCollection(true);
    WatchServer();
}

void MainWindow::WatchServer()
{
    RecordTable& database = *m_globals.Database;
    if (!database.IsServer())
        return;
    database.OnConnectionLost([this](const QString& reason) {
        // Told after the statement's own caller is done, unless that caller said it; one message
        // for one loss, also when it is noticed while the window is idle.
        m_lossReported = false;
        QTimer::singleShot(0, this, [this, reason] {
            if (std::exchange(m_lossReported, false))
                return;
            m_services.ShowMessage(FailureExplanation::Server(T::CannotReachServer, reason),
                                   MessageStyle::Ok | MessageStyle::ErrorIcon, T::ErrorTitle, this);
        });
    });
    if (!m_othersChanged) {
        m_othersChanged = new QTimer(this);
        m_othersChanged->setSingleShot(true);
        // A burst of changes (an import elsewhere) is followed once.
        m_othersChanged->setInterval(150);
        connect(m_othersChanged, &QTimer::timeout, this, &MainWindow::FollowOtherChanges);
    }
    database.WatchOtherChanges(this, [this] { m_othersChanged->start(); });
}

void MainWindow::FollowOtherChanges()
{
    RecordTable& database = *m_globals.Database;
    if (!database.IsOpen())
        return;
    // Our own long work (an import) holds rows the list does not show yet: followed after it.
    if (database.InTransaction()) {
        m_othersChanged->start();
        return;
    }
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

void MainWindow::ChooseDatabaseLocation()
{
    RecordTable& database = *m_globals.Database;
    const IniFile settings = m_globals.Settings();
    const ServerAddress current = database.IsServer() ? database.Server() : ReadServerAddress(settings);
    DatabaseLocationDialog dialog(database.IsServer() ? &current : nullptr, current, m_services, this);
    // A server that cannot be used is said and the dialog opens again with what was typed.
    std::unique_ptr<RecordTable> remote;
    for (;;) {
        if (dialog.exec() != QDialog::Accepted)
            return;
        if (!dialog.ServerChosen())
            break;
        remote = std::make_unique<RecordTable>();
        if (!remote->OpenServer(dialog.Server())) {
            m_services.ShowMessage(FailureExplanation::Server(T::CannotReachServer, remote->LastError()),
                                   MessageStyle::Ok | MessageStyle::ErrorIcon, T::ErrorTitle, this);
            continue;
        }
        if (!ServerSchema::Exists(*remote) && !ServerSchema::IsEmpty(*remote)) {
            m_services.ShowMessage(T::ServerHoldsOtherTables, MessageStyle::Ok | MessageStyle::WarningIcon,
                                   T::ErrorTitle, this);
            continue;
        }
        break;
    }
    if (!dialog.ServerChosen()) {
        if (!database.IsServer() && database.IsOpen())
            return;
        if (!WriteDatabaseLocation(settings, nullptr)) {
            m_services.ShowMessage(T::CannotWriteLocation, MessageStyle::Ok | MessageStyle::ErrorIcon,
                                   T::ErrorTitle, this);
            return;
        }
        database.Close();
        m_globals.Vault->Lock();
        PrepareDatabase(database, m_services.ProgramDirectory(), settings);
        NoteServerAway();
        ReloadCollection();
        m_services.ShowMessage(
            T::NowInLocalFile.arg(QDir::toNativeSeparators(DatabasePath(m_services.ProgramDirectory()))),
            MessageStyle::Ok | MessageStyle::InformationIcon, {}, this);
        return;
    }

    ServerAddress server = dialog.Server();
    if (!ServerSchema::Exists(*remote) && !MakeServerCollection(*remote))
        return;
    // The password goes to the keyring, never into qavex.ini; without one libpq looks in ~/.pgpass.
    bool inKeyring = false;
    if (!server.password.isEmpty()) {
        const SystemKeyring::Answer written =
            SystemKeyring().Write(ServerSchema::KeyringItem(server), server.password.toUtf8());
        if (!written.ok)
            m_services.ShowMessage(FailureExplanation::KeyringServerPassword(written.error),
                                   MessageStyle::Ok | MessageStyle::WarningIcon, T::ErrorTitle, this);
        inKeyring = written.ok;
    }
    if (!WriteDatabaseLocation(settings, &server) ||
        !settings.Write(Settings::ServerPasswordInKeyring,
                        inKeyring ? Settings::TrueText : Settings::FalseText)) {
        m_services.ShowMessage(T::CannotWriteLocation, MessageStyle::Ok | MessageStyle::ErrorIcon,
                               T::ErrorTitle, this);
        return;
    }
    remote.reset();
    database.Close();
    m_globals.Vault->Lock();
    const bool opened = database.OpenServer(server);
    server.password.fill(u'\0');
    if (!opened) {
        m_services.ShowMessage(FailureExplanation::Server(T::CannotReachServer, database.LastError()),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, T::ErrorTitle, this);
    }
    NoteServerAway();
    ReloadCollection();
    WatchServer();
    if (opened)
        m_services.ShowMessage(T::NowOnServer.arg(database.Server().Label()),
                               MessageStyle::Ok | MessageStyle::InformationIcon, {}, this);
}

bool MainWindow::MakeServerCollection(RecordTable& remote)
{
    RecordTable& local = *m_globals.Database;
    const QList<QStringList> count = local.IsOpen()
                                         ? local.ReadRows(Tables::Bookmarks, {QStringLiteral("count(*)")}, {})
                                         : QList<QStringList>();
    const int bookmarks = count.isEmpty() ? 0 : count[0][0].toInt();
    const bool copy =
        bookmarks > 0 && m_services.ShowMessage(T::OfferCopyUp.arg(bookmarks),
                                                MessageStyle::YesNo | MessageStyle::QuestionIcon,
                                                T::QuestionTitle, this) == MessageAnswer::Yes;
    if (copy && local.Exists(Tables::Bookmarks, Columns::Id, QStringLiteral("密码<>''")) &&
        m_globals.Vault->Protection() != PasswordProtection::PrimaryPassword) {
        m_services.ShowMessage(T::CopyUpNeedsPrimaryPassword, MessageStyle::Ok | MessageStyle::WarningIcon,
                               T::ErrorTitle, this);
        return false;
    }
    if (!copy) {
        if (ServerSchema::Create(remote))
            return true;
        m_services.ShowMessage(FailureExplanation::Server(T::CannotMakeServerTables, remote.LastError()),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, T::ErrorTitle, this);
        return false;
    }
    WorkProgress progress(this, T::CopyingUp, m_progressDelayMs);
    const CopiedCollection copied =
        CopyCollection(local, remote, progress.Callback(), ServerSchema::CreateTables);
    if (progress.Cancelled())
        return false;
    if (!copied.ok) {
        m_services.ShowMessage(FailureExplanation::Server(T::CopyUpFailed, remote.LastError()),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, T::ErrorTitle, this);
        return false;
    }
    QString report = T::CopiedUp.arg(copied.bookmarks).arg(copied.categories).arg(copied.history);
    if (copied.repeated > 0)
        report += T::CopiedUpRepeated.arg(copied.repeated);
    m_services.ShowMessage(report, MessageStyle::Ok | MessageStyle::InformationIcon, {}, this);
    return true;
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
