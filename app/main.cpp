#include "MainWindow.h"
#include "ProgramDirectory.h"
#include "ProgramGlobals.h"
#include "QtRuntimeServices.h"
#include "StartUp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    AllowWebEngineAsRoot();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qavex"));
    QApplication::setQuitOnLastWindowClosed(false);

    auto globals = std::make_unique<ProgramGlobals>();
    QtRuntimeServices services(ChooseProgramDirectory(QApplication::applicationDirPath()));
    const int exitCode = StartUp([&] { return new MainWindow(*globals, services); });
    globals.reset();
    return exitCode;
}
