#pragma once

#include "HotKeyService.h"

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QPointer>

class QShortcut;

// On X11 the combination is grabbed on the root window, so it reaches qavex whichever program
// has the focus; elsewhere (Wayland, offscreen) it is a shortcut of the application only.
class DesktopHotKeyService : public HotKeyService, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit DesktopHotKeyService(QObject* parent = nullptr);
    ~DesktopHotKeyService() override;

    int RegisterHotKey(QWidget* owner, int modifiers, int key) override;
    void UnregisterHotKey(QWidget* owner, int id) override;
    // Whether the last registration got the system-wide grab.
    bool LastGrabSucceeded() const { return m_lastGrabSucceeded; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab {
        quint8 keycode = 0;
        quint16 modifiers = 0;
        QPointer<QShortcut> shortcut;
    };

    bool GrabOnX11(Grab& grab, int modifiers, int key);
    void ReleaseOnX11(const Grab& grab);

    QHash<int, Grab> m_grabs;
    int m_nextId = 1;
    bool m_lastGrabSucceeded = false;
};
