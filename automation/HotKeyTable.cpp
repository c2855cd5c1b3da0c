#include "HotKeyTable.h"

HotKeyTable::~HotKeyTable()
{
    if (!m_entries.isEmpty())
        UnregisterAll();
}

void HotKeyTable::UnregisterAll()
{
    m_entries.clear();
}
