#include "CheckBoxGroup.h"

#include "PageBridge.h"

int CheckBoxGroup::GetCount() const
{
    if (m_elements.IsEmpty())
        return 0;
    return PageBridge::Call(m_elements.page, QStringLiteral("count"), {m_elements.handle}).toInt();
}

bool CheckBoxGroup::IsChecked(int position) const
{
    if (m_elements.IsEmpty())
        return false;
    return PageBridge::Call(m_elements.page, QStringLiteral("isChecked"), {m_elements.handle, position})
        .toBool();
}

void CheckBoxGroup::Check(int position) const
{
    if (!m_elements.IsEmpty())
        PageBridge::Call(m_elements.page, QStringLiteral("setChecked"), {m_elements.handle, position, true});
}

void CheckBoxGroup::Uncheck(int position) const
{
    if (!m_elements.IsEmpty())
        PageBridge::Call(m_elements.page, QStringLiteral("setChecked"), {m_elements.handle, position, false});
}

QString CheckBoxGroup::GetValue(int position) const
{
    if (m_elements.IsEmpty())
        return {};
    return PageBridge::Call(m_elements.page, QStringLiteral("itemValue"), {m_elements.handle, position})
        .toString();
}
