#include "StartUp.h"

#include "TerminationSignals.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

int StartUp(const std::function<QWidget*()>& loadMainWindow)
{
    if (TerminationSignals::Requested())
        return 0;
    QPointer<QWidget> mainWindow = loadMainWindow();
    if (!mainWindow)
        return 0;
    // Closing the main window ends the program even while a browser window (which has no owner) is open.
    mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(mainWindow, &QObject::destroyed, qApp, &QCoreApplication::quit);
    // A signal during the start (a message box in the window's constructor) ends it here.
    if (!TerminationSignals::Requested()) {
        mainWindow->show();
        QApplication::exec();
    }
    // Every dialog's loop has returned by now: the window goes from the top, never from inside one.
    delete mainWindow.data();
    return 0;
}

void AllowWebEngineAsRoot()
{
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        std::fputs("qavex: running as root, the web page sandbox is turned off\n", stderr);
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
}
