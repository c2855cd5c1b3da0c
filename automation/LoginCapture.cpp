#include "LoginCapture.h"

#include <QFile>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

QString ResourceText(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

} // namespace

LoginCapture::LoginCapture(QWebEnginePage* page) : QObject(page)
{
    auto* channel = new QWebChannel(this);
    channel->registerObject(QStringLiteral("qavexLogin"), this);
    page->setWebChannel(channel, QWebEngineScript::ApplicationWorld);

    QWebEngineScript script;
    script.setName(QStringLiteral("qavex-login-capture"));
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(ResourceText(QStringLiteral(":/qtwebchannel/qwebchannel.js")) + u'\n' +
                         ResourceText(QStringLiteral(":/automation/capture.js")));
    page->scripts().insert(script);
}

void LoginCapture::loginSubmitted(const QVariantMap& login)
{
    const auto text = [&login](const char* key) { return login.value(QString::fromLatin1(key)).toString(); };
    CapturedLogin captured;
    captured.page = QUrl(text("page"));
    captured.title = text("title");
    captured.account = text("account");
    captured.password = text("password");
    captured.accountId = text("accountId");
    captured.passwordId = text("passwordId");
    captured.idType = text("idType");
    captured.buttonId = text("buttonId");
    captured.buttonIdType = text("buttonIdType");
    captured.buttonIsLink = text("control") == QStringLiteral("link");
    if (captured.page.isValid() && !captured.password.isEmpty())
        emit this->captured(captured);
}
