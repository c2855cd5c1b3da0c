#pragma once

#include <QObject>

class QWidget;

// System-wide hot keys: a registered key combination reports its identifier however the user's
// focus lies. Registering may fail (another program holds the combination); that is no error.
class HotKeyService : public QObject {
    Q_OBJECT
public:
    static constexpr int ControlModifier = 1;

    using QObject::QObject;
    // modifiers: ControlModifier; key: a Windows virtual-key code (0x41..0x5A are the letters).
    // Returns the identifier the presses will carry.
    virtual int RegisterHotKey(QWidget* owner, int modifiers, int key) = 0;
    virtual void UnregisterHotKey(QWidget* owner, int id) = 0;

signals:
    void hotKeyPressed(int id);
};
