#include "SelectList.h"

#include "PageBridge.h"

QJsonValue SelectList::Call(const QString& operation, QJsonArray args) const
{
    if (m_element.IsEmpty())
        return {};
    args.prepend(m_element.handle);
    return PageBridge::Call(m_element.page, operation, args);
}

int SelectList::GetCount() const
{
    return Call(QStringLiteral("optionCount"), {}).toInt();
}

QString SelectList::GetOptionText(int position) const
{
    return Call(QStringLiteral("option"), {position, QStringLiteral("text")}).toString();
}

void SelectList::SetOptionText(int position, const QString& text) const
{
    Call(QStringLiteral("setOption"), {position, QStringLiteral("text"), text});
}

QString SelectList::GetOptionValue(int position) const
{
    return Call(QStringLiteral("option"), {position, QStringLiteral("value")}).toString();
}

void SelectList::SetOptionValue(int position, const QString& value) const
{
    Call(QStringLiteral("setOption"), {position, QStringLiteral("value"), value});
}

int SelectList::GetSelectedIndex() const
{
    return Call(QStringLiteral("selectedIndex"), {}).toInt();
}

void SelectList::SetSelectedIndex(int position) const
{
    Call(QStringLiteral("setSelectedIndex"), {position - 1});
}
