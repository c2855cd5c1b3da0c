#include "PageBridge.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <memory>

namespace {

const QString Missing = QStringLiteral("qavex:missing");

// The element operations first: the login finder builds on their helpers.
const QString& AutomationScript()
{
    static const QString script = [] {
        QString all;
        for (const char* name :
             {":/automation/automation.js", ":/automation/loginform.js", ":/automation/login.js"}) {
            QFile file(QString::fromLatin1(name));
            file.open(QIODevice::ReadOnly);
            all += QString::fromUtf8(file.readAll()) + u'\n';
        }
        return all;
    }();
    return script;
}

// JSON is a JavaScript expression; the two line separators are escaped as well, so the request
// can only ever be read as the data it is.
QString AsScriptLiteral(const QJsonObject& request)
{
    QString json = QString::fromUtf8(QJsonDocument(request).toJson(QJsonDocument::Compact));
    json.replace(QChar(0x2028), QStringLiteral("\\u2028"));
    json.replace(QChar(0x2029), QStringLiteral("\\u2029"));
    return json;
}

} // namespace

std::optional<QVariant> PageBridge::RunAndWait(QWebEnginePage* page, const QString& code, quint32 world)
{
    if (!page)
        return std::nullopt;
    // The answer may come after the time limit, when this frame is gone: it writes into shared state.
    struct Pending {
        QVariant result;
        bool done = false;
        QPointer<QEventLoop> loop;
    };
    auto pending = std::make_shared<Pending>();
    QEventLoop loop;
    pending->loop = &loop;
    page->runJavaScript(code, world, [pending](const QVariant& result) {
        pending->result = result;
        pending->done = true;
        if (pending->loop)
            pending->loop->quit();
    });
    if (!pending->done) {
        QTimer::singleShot(TimeLimitMs, &loop, &QEventLoop::quit);
        QObject::connect(page, &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (!pending->done)
        return std::nullopt;
    return pending->result;
}

QJsonValue PageBridge::Call(QWebEnginePage* page, const QString& operation, const QJsonArray& args)
{
    QPointer<QWebEnginePage> target = page;
    const QString call =
        QStringLiteral("window.__qavex ? window.__qavex.call(%1) : '%2'")
            .arg(AsScriptLiteral({{QStringLiteral("op"), operation}, {QStringLiteral("args"), args}}),
                 Missing);
    std::optional<QVariant> result = RunAndWait(target, call, QWebEngineScript::ApplicationWorld);
    if (result && result->toString() == Missing && target) {
        // A new document: the script goes in once, then the call is made again.
        RunAndWait(target, AutomationScript(), QWebEngineScript::ApplicationWorld);
        result = RunAndWait(target, call, QWebEngineScript::ApplicationWorld);
    }
    if (!result)
        return {};
    return QJsonValue::fromVariant(result->toMap().value(QStringLiteral("v")));
}

void PageBridge::RunInMainWorld(QWebEnginePage* page, const QString& code)
{
    RunAndWait(page, code, QWebEngineScript::MainWorld);
}
