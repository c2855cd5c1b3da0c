#pragma once

#include <QJsonArray>
#include <QJsonValue>
#include <QString>

#include <optional>

class QWebEnginePage;

// One synchronous call into a page: the operation and its arguments travel as JSON to the
// automation script in the page's isolated world, and the caller waits (pumping events) for the
// answer, at most a second. A page that is gone, or does not answer in time, gives null.
class PageBridge {
public:
    static QJsonValue Call(QWebEnginePage* page, const QString& operation, const QJsonArray& args = {});

    // Runs the page's own script text in its main world, where the page's variables live.
    static void RunInMainWorld(QWebEnginePage* page, const QString& code);

    static constexpr int TimeLimitMs = 1000;

private:
    static std::optional<QVariant> RunAndWait(QWebEnginePage* page, const QString& code, quint32 world);
};
