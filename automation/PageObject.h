#pragma once

#include <QJsonValue>
#include <QPointer>
#include <QWebEnginePage>

// An element, collection, frame or pop-up of a page, held for later calls. It names an entry of
// the registry that the page-side script keeps for the document it was taken from: once the page
// has navigated it leads nowhere and every call on it gives the empty result.
struct PageObject {
    QPointer<QWebEnginePage> page;
    QJsonValue handle;

    bool IsEmpty() const { return !page || !handle.isObject(); }
};
