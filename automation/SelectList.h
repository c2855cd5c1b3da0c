#pragma once

#include "PageObject.h"

#include <QJsonArray>
#include <QString>

// One selection list of a page: its options by position from 1, and the selected entry.
class SelectList {
public:
    void AttachList(const PageObject& element) { m_element = element; }
    int GetCount() const;
    QString GetOptionText(int position) const;
    void SetOptionText(int position, const QString& text) const;
    QString GetOptionValue(int position) const;
    void SetOptionValue(int position, const QString& value) const;
    // The page's own index: from 0, -1 when nothing is selected.
    int GetSelectedIndex() const;
    // A position from 1: writing back what GetSelectedIndex read moves the selection up one.
    void SetSelectedIndex(int position) const;

private:
    QJsonValue Call(const QString& operation, QJsonArray args) const;

    PageObject m_element;
};
