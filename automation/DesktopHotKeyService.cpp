#include "DesktopHotKeyService.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace {

xcb_connection_t* X11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t RootWindow(xcb_connection_t* connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// A grab matches the exact modifier state: Caps Lock and Num Lock (usually Mod2) must not stop it.
const quint16 IgnoredLocks[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

} // namespace

DesktopHotKeyService::DesktopHotKeyService(QObject* parent) : HotKeyService(parent)
{
    if (X11Connection() && qGuiApp)
        qGuiApp->installNativeEventFilter(this);
}

DesktopHotKeyService::~DesktopHotKeyService()
{
    for (const Grab& grab : std::as_const(m_grabs))
        ReleaseOnX11(grab);
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
}

bool DesktopHotKeyService::GrabOnX11(Grab& grab, int modifiers, int key)
{
    xcb_connection_t* connection = X11Connection();
    if (!connection)
        return false;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    // Letters are registered by their virtual-key code, which is the upper-case character.
    xcb_keycode_t* keycodes =
        xcb_key_symbols_get_keycode(symbols, xcb_keysym_t(QChar(key).toLower().unicode()));
    xcb_key_symbols_free(symbols);
    if (!keycodes)
        return false;
    grab.keycode = keycodes[0];
    free(keycodes);
    grab.modifiers = (modifiers & ControlModifier) ? XCB_MOD_MASK_CONTROL : 0;
    if (grab.keycode == XCB_NO_SYMBOL)
        return false;

    bool grabbed = true;
    for (quint16 locks : IgnoredLocks) {
        const xcb_void_cookie_t cookie =
            xcb_grab_key_checked(connection, 1, RootWindow(connection), grab.modifiers | locks, grab.keycode,
                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
            // BadAccess: another program holds the combination.
            grabbed = false;
            free(error);
        }
    }
    if (!grabbed)
        ReleaseOnX11(grab);
    return grabbed;
}

void DesktopHotKeyService::ReleaseOnX11(const Grab& grab)
{
    xcb_connection_t* connection = X11Connection();
    if (!connection || grab.keycode == 0)
        return;
    for (quint16 locks : IgnoredLocks)
        xcb_ungrab_key(connection, grab.keycode, RootWindow(connection), grab.modifiers | locks);
    xcb_flush(connection);
}

int DesktopHotKeyService::RegisterHotKey(QWidget* owner, int modifiers, int key)
{
    const int id = m_nextId++;
    Grab grab;
    m_lastGrabSucceeded = GrabOnX11(grab, modifiers, key);
    if (!m_lastGrabSucceeded) {
        grab.keycode = 0;
        // Without the grab the combination still works while qavex has the focus.
        if (owner) {
            const QKeySequence sequence((modifiers & ControlModifier ? Qt::ControlModifier : Qt::NoModifier) |
                                        Qt::Key(key));
            grab.shortcut = new QShortcut(
                sequence, owner, [this, id] { emit hotKeyPressed(id); }, Qt::ApplicationShortcut);
        }
    }
    m_grabs.insert(id, grab);
    return id;
}

void DesktopHotKeyService::UnregisterHotKey(QWidget*, int id)
{
    const auto it = m_grabs.find(id);
    if (it == m_grabs.end())
        return;
    ReleaseOnX11(*it);
    delete it->shortcut.data();
    m_grabs.erase(it);
}

bool DesktopHotKeyService::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) != XCB_KEY_PRESS)
        return false;
    auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
    const quint16 state = press->state & ~(XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2);
    for (auto it = m_grabs.cbegin(); it != m_grabs.cend(); ++it) {
        if (it->keycode != 0 && it->keycode == press->detail && it->modifiers == state) {
            emit hotKeyPressed(it.key());
            return true;
        }
    }
    return false;
}
