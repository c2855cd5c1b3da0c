#include "DatabaseLocationSwitch.h"

#include "FailureExplanation.h"

#include "BookmarkTexts.h"
#include "CollectionCopy.h"
#include "DatabaseFile.h"
#include "DatabaseLocationDialog.h"
#include "MessageStyle.h"
#include "PasswordVault.h"
#include "ProgramGlobals.h"
#include "RecordTable.h"
#include "RuntimeServices.h"
#include "ServerLink.h"
#include "ServerLook.h"
#include "ServerSchema.h"
#include "SettingsKeys.h"
#include "StorageNames.h"
#include "SystemKeyring.h"
#include "WorkProgress.h"

#include <QDir>

#include <memory>

namespace T = BookmarkTexts;

DatabaseLocationSwitch::DatabaseLocationSwitch(ProgramGlobals& globals, RuntimeServices& services,
                                               ServerLink& link, QWidget* window, int progressDelayMs,
                                               std::function<void()> reload)
    : m_globals(globals), m_services(services), m_link(link), m_window(window),
      m_progressDelayMs(progressDelayMs), m_reload(std::move(reload))
{
}

void DatabaseLocationSwitch::Choose()
{
    RecordTable& database = *m_globals.Database;
    const IniFile settings = m_globals.Settings();
    const ServerAddress current = database.IsServer() ? database.Server() : ReadServerAddress(settings);
    DatabaseLocationDialog dialog(database.IsServer() ? &current : nullptr, current, m_services, m_window);
    dialog.SetProgressDelay(m_progressDelayMs);
    // A server that cannot be used is said and the dialog opens again with what was typed.
    std::unique_ptr<RecordTable> remote;
    for (;;) {
        if (dialog.exec() != QDialog::Accepted)
            return;
        if (!dialog.ServerChosen())
            break;
        // Looked at beside the window first: a server that never answers shows progress and takes
        // 取消, after which the dialog comes back with what was typed.
        WorkProgress progress(m_window, T::ConnectingToServer, m_progressDelayMs);
        const std::optional<ServerLook> look =
            progress.RunAsideStoppable<ServerLook>([server = dialog.Server()](const std::atomic<bool>& stop) {
                return LookAtServer(server, &stop);
            });
        if (!look)
            continue;
        if (!look->reached) {
            m_services.ShowMessage(FailureExplanation::Server(T::CannotReachServer, look->error),
                                   MessageStyle::Ok | MessageStyle::ErrorIcon, T::ErrorTitle, m_window);
            continue;
        }
        if (look->holds == ServerLook::Holds::OtherTables) {
            m_services.ShowMessage(T::ServerHoldsOtherTables, MessageStyle::Ok | MessageStyle::WarningIcon,
                                   T::ErrorTitle, m_window);
            continue;
        }
        // It answered a moment ago: this connection is the window's own, on its thread.
        remote = std::make_unique<RecordTable>();
        if (!remote->OpenServer(dialog.Server())) {
            m_services.ShowMessage(FailureExplanation::Server(T::CannotReachServer, remote->LastError()),
                                   MessageStyle::Ok | MessageStyle::ErrorIcon, T::ErrorTitle, m_window);
            continue;
        }
        break;
    }
    if (!dialog.ServerChosen()) {
        if (!database.IsServer() && database.IsOpen())
            return;
        if (!WriteDatabaseLocation(settings, nullptr)) {
            m_services.ShowMessage(T::CannotWriteLocation, MessageStyle::Ok | MessageStyle::ErrorIcon,
                                   T::ErrorTitle, m_window);
            return;
        }
        database.Close();
        m_globals.Vault->Lock();
        PrepareDatabase(database, m_services.ProgramDirectory(), settings);
        m_link.NoteAway();
        m_reload();
        m_services.ShowMessage(
            T::NowInLocalFile.arg(QDir::toNativeSeparators(DatabasePath(m_services.ProgramDirectory()))),
            MessageStyle::Ok | MessageStyle::InformationIcon, {}, m_window);
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
                                   MessageStyle::Ok | MessageStyle::WarningIcon, T::ErrorTitle, m_window);
        inKeyring = written.ok;
    }
    if (!WriteDatabaseLocation(settings, &server) ||
        !settings.Write(Settings::ServerPasswordInKeyring,
                        inKeyring ? Settings::TrueText : Settings::FalseText)) {
        m_services.ShowMessage(T::CannotWriteLocation, MessageStyle::Ok | MessageStyle::ErrorIcon,
                               T::ErrorTitle, m_window);
        return;
    }
    remote.reset();
    database.Close();
    m_globals.Vault->Lock();
    const bool opened = database.OpenServer(server);
    server.password.fill(u'\0');
    if (!opened) {
        m_services.ShowMessage(FailureExplanation::Server(T::CannotReachServer, database.LastError()),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, T::ErrorTitle, m_window);
    }
    m_link.NoteAway();
    m_reload();
    m_link.Watch();
    if (opened)
        m_services.ShowMessage(T::NowOnServer.arg(database.Server().Label()),
                               MessageStyle::Ok | MessageStyle::InformationIcon, {}, m_window);
}

bool DatabaseLocationSwitch::MakeServerCollection(RecordTable& remote)
{
    RecordTable& local = *m_globals.Database;
    const QList<QStringList> count = local.IsOpen()
                                         ? local.ReadRows(Tables::Bookmarks, {QStringLiteral("count(*)")}, {})
                                         : QList<QStringList>();
    const int bookmarks = count.isEmpty() ? 0 : count[0][0].toInt();
    const bool copy =
        bookmarks > 0 && m_services.ShowMessage(T::OfferCopyUp.arg(bookmarks),
                                                MessageStyle::YesNo | MessageStyle::QuestionIcon,
                                                T::QuestionTitle, m_window) == MessageAnswer::Yes;
    if (copy && local.Exists(Tables::Bookmarks, Columns::Id, QStringLiteral("密码<>''")) &&
        m_globals.Vault->Protection() != PasswordProtection::PrimaryPassword) {
        m_services.ShowMessage(T::CopyUpNeedsPrimaryPassword, MessageStyle::Ok | MessageStyle::WarningIcon,
                               T::ErrorTitle, m_window);
        return false;
    }
    if (!copy) {
        if (ServerSchema::Create(remote))
            return true;
        m_services.ShowMessage(FailureExplanation::Server(T::CannotMakeServerTables, remote.LastError()),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, T::ErrorTitle, m_window);
        return false;
    }
    WorkProgress progress(m_window, T::CopyingUp, m_progressDelayMs);
    const CopiedCollection copied =
        CopyCollection(local, remote, progress.Callback(), ServerSchema::CreateTables);
    if (progress.Cancelled())
        return false;
    if (!copied.ok) {
        m_services.ShowMessage(FailureExplanation::Server(T::CopyUpFailed, remote.LastError()),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, T::ErrorTitle, m_window);
        return false;
    }
    QString report = T::CopiedUp.arg(copied.bookmarks).arg(copied.categories).arg(copied.history);
    if (copied.repeated > 0)
        report += T::CopiedUpRepeated.arg(copied.repeated);
    m_services.ShowMessage(report, MessageStyle::Ok | MessageStyle::InformationIcon, {}, m_window);
    return true;
}
