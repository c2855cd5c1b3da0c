#pragma once

#include "PageObject.h"

#include <QString>

// The elements of a page that share one name (check boxes, radio buttons), by position from 1.
// A position outside 1 .. count reads as empty and writes nothing.
class CheckBoxGroup {
public:
    void AttachElements(const PageObject& elements) { m_elements = elements; }
    int GetCount() const;
    bool IsChecked(int position) const;
    void Check(int position) const;
    void Uncheck(int position) const;
    QString GetValue(int position) const;

private:
    PageObject m_elements;
};

// The same for radio buttons; a type of its own so that callers say which they mean.
class RadioGroup : public CheckBoxGroup {};
