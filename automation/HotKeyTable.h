#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

class HotKeyService;

// The hot keys registered for the browser window, by name.
class HotKeyTable {
public:
    struct Entry {
        int hotKeyId = 0;
        QString name;
    };

    explicit HotKeyTable(HotKeyService* service = nullptr) : m_service(service) {}
    ~HotKeyTable();
    HotKeyTable(const HotKeyTable&) = default;
    HotKeyTable& operator=(const HotKeyTable&) = default;

    void SetService(HotKeyService* service) { m_service = service; }
    HotKeyService* Service() const { return m_service; }
    void Register(int modifiers, int key, const QString& name);
    void UnregisterAll();
    // The entry stays listed; true when one of that name was found.
    bool Unregister(const QString& name);
    // New owners: whatever was registered for the old ones is released.
    void Bind(QWidget* ownerWindow, QWidget* notifyLabel);
    QString NameOf(int hotKeyId) const;
    const QList<Entry>& Entries() const { return m_entries; }

private:
    HotKeyService* m_service = nullptr;
    QList<Entry> m_entries;
    QPointer<QWidget> m_ownerWindow;
    QPointer<QWidget> m_notifyLabel;
};
