#include "BookmarkOpener.h"
#include "BookmarkTexts.h"
#include "ChineseInterface.h"
#include "CommandLine.h"
#include "DesktopHotKeyService.h"
#include "LauncherAbi.h"
#include "MainWindow.h"
#include "ProgramDirectory.h"
#include "ProgramGlobals.h"
#include "QtRuntimeServices.h"
#include "SingleInstance.h"
#include "StartUp.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>

#include <cstdlib>

namespace {

int StartQavex(LauncherArguments* arguments)
{
    int& argc = arguments->argc;
    char** argv = arguments->argv;
    if (CommandLine::AsksForVerb(argc, argv)) {
        // No window and no display needed. The launcher ends with 0 whatever a program returns;
        // a verb's status is for scripts, so the process ends here with it.
        int status = 0;
        {
            QCoreApplication app(argc, argv);
            UseChineseInterface();
            status = CommandLine::Run(QCoreApplication::arguments().mid(1),
                                      ChooseProgramDirectory(QCoreApplication::applicationDirPath()));
        }
        std::exit(status);
    }
    AllowWebEngineAsRoot();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qavex"));
    QApplication::setDesktopFileName(QStringLiteral("org.qavex.qavex"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/org.qavex.qavex.svg")));
    QApplication::setQuitOnLastWindowClosed(false);
    // Before anything can show a message: a signal at any later moment ends qavex in order.
    TerminationSignals termination;
    UseChineseInterface();

    // Made before the globals: the hot-key table releases its keys through it at exit.
    DesktopHotKeyService hotKeys;
    auto globals = std::make_unique<ProgramGlobals>();
    globals->ElementHotkey->SetService(&hotKeys);
    QString copiedFrom;
    QtRuntimeServices services(ChooseProgramDirectory(QApplication::applicationDirPath(), &copiedFrom));
    // A second qavex on the same collection brings the first to the front and ends; it never
    // becomes a second writer of the collection, however slow the first is to answer.
    SingleInstance instance(services.ProgramDirectory());
    switch (instance.ClaimCollection()) {
    case SingleInstance::Claim::Ours:
        break;
    case SingleInstance::Claim::HandedOver:
        return 0;
    case SingleInstance::Claim::Busy:
        services.ShowMessage(BookmarkTexts::CollectionAnswersNot,
                             MessageStyle::Ok | MessageStyle::WarningIcon, {}, nullptr);
        return 0;
    case SingleInstance::Claim::Failed:
        services.ShowMessage(BookmarkTexts::InstanceCheckFailed.arg(instance.Error()),
                             MessageStyle::Ok | MessageStyle::WarningIcon, {}, nullptr);
        break;
    }
    const int exitCode = StartUp([&] {
        auto* mainWindow = new MainWindow(*globals, services);
        instance.ShowOnRequest(mainWindow);
        new BookmarkOpener(*mainWindow, *globals, services);
        if (!copiedFrom.isEmpty()) {
            QTimer::singleShot(0, mainWindow, [&services, mainWindow, copiedFrom] {
                services.ShowMessage(BookmarkTexts::CollectionCopied.arg(
                                         QDir::toNativeSeparators(copiedFrom),
                                         QDir::toNativeSeparators(services.ProgramDirectory())),
                                     MessageStyle::Ok | MessageStyle::InformationIcon, {}, mainWindow);
            });
        }
        return mainWindow;
    });
    globals.reset();
    return exitCode;
}

} // namespace

// The launcher's handshake: the start routine for the version this library understands.
extern "C" Q_DECL_EXPORT StartRoutine GetNewSock(int version)
{
    return version == LauncherHandshake ? &StartQavex : nullptr;
}
