#pragma once

#include <QList>
#include <QString>

// The system-wide hot keys registered for the browser window, by name.
class HotKeyTable {
public:
    struct Entry {
        int hotKeyId = 0;
        QString name;
    };

    HotKeyTable() = default;
    ~HotKeyTable();

    void UnregisterAll();
    const QList<Entry>& Entries() const { return m_entries; }

private:
    QList<Entry> m_entries;
};
