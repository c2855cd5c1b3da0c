#include "HotKeyTable.h"

#include "HotKeyService.h"

HotKeyTable::~HotKeyTable()
{
    if (!m_entries.isEmpty())
        UnregisterAll();
}

void HotKeyTable::Register(int modifiers, int key, const QString& name)
{
    const int id = m_service ? m_service->RegisterHotKey(m_ownerWindow, modifiers, key) : 0;
    m_entries.append({id, name});
}

void HotKeyTable::UnregisterAll()
{
    for (const Entry& entry : m_entries) {
        if (m_service)
            m_service->UnregisterHotKey(m_ownerWindow, entry.hotKeyId);
    }
    m_entries.clear();
}

bool HotKeyTable::Unregister(const QString& name)
{
    for (const Entry& entry : m_entries) {
        if (entry.name == name) {
            if (m_service)
                m_service->UnregisterHotKey(m_ownerWindow, entry.hotKeyId);
            return true;
        }
    }
    return false;
}

void HotKeyTable::Bind(QWidget* ownerWindow, QWidget* notifyLabel)
{
    m_ownerWindow = ownerWindow;
    m_notifyLabel = notifyLabel;
    if (!m_entries.isEmpty())
        UnregisterAll();
}

QString HotKeyTable::NameOf(int hotKeyId) const
{
    for (const Entry& entry : m_entries) {
        if (entry.hotKeyId == hotKeyId)
            return entry.name;
    }
    return {};
}
