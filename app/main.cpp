#include "BookmarkOpener.h"
#include "DesktopHotKeyService.h"
#include "MainWindow.h"
#include "ProgramDirectory.h"
#include "ProgramGlobals.h"
#include "QtRuntimeServices.h"
#include "StartUp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    AllowWebEngineAsRoot();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qavex"));
    QApplication::setQuitOnLastWindowClosed(false);
    // The interface is Chinese whatever the locale: Qt's own dialogs and buttons too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    // Made before the globals: the hot-key table releases its keys through it at exit.
    DesktopHotKeyService hotKeys;
    auto globals = std::make_unique<ProgramGlobals>();
    globals->ElementHotkey->SetService(&hotKeys);
    QtRuntimeServices services(ChooseProgramDirectory(QApplication::applicationDirPath()));
    const int exitCode = StartUp([&] {
        auto* mainWindow = new MainWindow(*globals, services);
        new BookmarkOpener(*mainWindow, *globals, services);
        return mainWindow;
    });
    globals.reset();
    return exitCode;
}
