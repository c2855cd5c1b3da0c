#include "DesktopHotKeyService.h"
#include "Requirement.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

extern char** environ;

namespace {

pid_t g_xvfb = 0;

// After the application, which holds a connection to the server, is gone.
void StopXvfb()
{
    if (g_xvfb > 0) {
        kill(g_xvfb, SIGTERM);
        waitpid(g_xvfb, nullptr, 0);
    }
}

// A display of the test's own, so a grab of Ctrl+L meets nobody else's.
void StartXvfb()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        return;
    for (int display = 77; display < 99; ++display) {
        if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)) ||
            QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
            continue;
        const QByteArray name = ":" + QByteArray::number(display);
        const QByteArray path = xvfb.toLocal8Bit();
        char* argv[] = {const_cast<char*>(path.constData()), const_cast<char*>(name.constData()),
                        const_cast<char*>("-nolisten"), const_cast<char*>("tcp"), nullptr};
        if (posix_spawn(&g_xvfb, path.constData(), nullptr, nullptr, argv, environ) != 0)
            return;
        std::atexit(StopXvfb);
        for (int wait = 0; wait < 100 && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display));
             ++wait)
            usleep(50000);
        qputenv("DISPLAY", name);
        qputenv("QT_QPA_PLATFORM", "xcb");
        return;
    }
}

} // namespace

class HotKeyX11Test : public QObject {
    Q_OBJECT

public:
    static void initMain() { StartXvfb(); }

private slots:
    void initTestCase()
    {
        QAVEX_REQUIRE(QGuiApplication::platformName() == QStringLiteral("xcb"),
                      QStringLiteral("no X server for this test (Xvfb missing)"));
        QAVEX_REQUIRE(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
                      QStringLiteral("xdotool missing"));
    }

    void controlLReachesQavexFromAnywhere()
    {
        QWidget owner;
        DesktopHotKeyService service;
        QSignalSpy pressed(&service, &HotKeyService::hotKeyPressed);
        const int id = service.RegisterHotKey(&owner, HotKeyService::ControlModifier, 0x4C);
        QVERIFY(service.LastGrabSucceeded());
        // No window of ours is shown, let alone focused: only the grab can bring the key here.
        QCOMPARE(
            QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+l")}),
            0);
        QTRY_COMPARE(pressed.count(), 1);
        QCOMPARE(pressed[0][0].toInt(), id);

        service.UnregisterHotKey(&owner, id);
        QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+l")});
        QTest::qWait(200);
        QCOMPARE(pressed.count(), 1);
    }

    void combinationHeldByAnotherProgram()
    {
        // Another client grabs Ctrl+L first.
        xcb_connection_t* other = xcb_connect(nullptr, nullptr);
        QVERIFY(!xcb_connection_has_error(other));
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(other);
        xcb_keycode_t* keycodes = xcb_key_symbols_get_keycode(symbols, 'l');
        xcb_grab_key(other, 1, root, XCB_MOD_MASK_CONTROL, keycodes[0], XCB_GRAB_MODE_ASYNC,
                     XCB_GRAB_MODE_ASYNC);
        xcb_flush(other);
        free(keycodes);
        xcb_key_symbols_free(symbols);
        free(xcb_get_input_focus_reply(other, xcb_get_input_focus(other), nullptr));

        QWidget owner;
        DesktopHotKeyService service;
        const int id = service.RegisterHotKey(&owner, HotKeyService::ControlModifier, 0x4C);
        QVERIFY(!service.LastGrabSucceeded());
        QVERIFY(id > 0);
        service.UnregisterHotKey(&owner, id);
        xcb_disconnect(other);
    }
};

QTEST_MAIN(HotKeyX11Test)
#include "HotKeyX11Test.moc"
