#include "LoginScript.h"

#include "PageBridge.h"
#include "TextNumber.h"

namespace {

int KindNumber(const std::optional<IdentifierKind>& kind)
{
    return kind ? int(*kind) : -1;
}

QJsonObject AsJson(const LoginFields& login)
{
    return {
        {QStringLiteral("account"), login.account},
        {QStringLiteral("password"), login.password},
        {QStringLiteral("accountId"), login.accountId},
        {QStringLiteral("passwordId"), login.passwordId},
        {QStringLiteral("fieldKind"), KindNumber(login.fieldKind)},
        {QStringLiteral("buttonId"), login.buttonId},
        {QStringLiteral("buttonKind"), KindNumber(login.buttonKind)},
        {QStringLiteral("buttonIndex"), TextToInteger(login.buttonId)},
        {QStringLiteral("buttonIsLink"), login.buttonIsLink},
    };
}

} // namespace

QJsonObject LoginScript::OriginOf(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    if (url.isLocalFile())
        return {{QStringLiteral("scheme"), scheme}, {QStringLiteral("path"), url.path(QUrl::FullyEncoded)}};
    const int port = url.port(scheme == QStringLiteral("https")  ? 443
                              : scheme == QStringLiteral("http") ? 80
                                                                 : -1);
    return {{QStringLiteral("scheme"), scheme},
            {QStringLiteral("host"), url.host(QUrl::FullyEncoded).toLower()},
            {QStringLiteral("port"), port}};
}

LoginScript::FillAnswer LoginScript::Fill(QWebEnginePage* page, const QJsonObject& origin,
                                          const LoginFields& login, Step step, bool accountStepAllowed)
{
    const QJsonObject answer =
        PageBridge::Call(page, QStringLiteral("loginFill"),
                         {origin, AsJson(login),
                          step == Step::Password ? QStringLiteral("password") : QStringLiteral("any"),
                          accountStepAllowed})
            .toObject();
    const QString r = answer.value(QStringLiteral("r")).toString();
    const QString why = answer.value(QStringLiteral("why")).toString();
    if (r == QStringLiteral("moved"))
        return FillAnswer::Moved;
    if (r == QStringLiteral("filled"))
        return FillAnswer::Filled;
    if (r == QStringLiteral("account"))
        return FillAnswer::AccountOnly;
    if (r == QStringLiteral("refused"))
        return FillAnswer::TooLong;
    if (r != QStringLiteral("waiting"))
        return FillAnswer::NoAnswer;
    if (why == QStringLiteral("signup"))
        return FillAnswer::SignUpOnly;
    if (why == QStringLiteral("change"))
        return FillAnswer::ChangeOnly;
    if (why == QStringLiteral("code"))
        return FillAnswer::CodeAsked;
    if (why == QStringLiteral("hidden"))
        return FillAnswer::Hidden;
    if (why == QStringLiteral("unusable"))
        return FillAnswer::Unusable;
    if (why == QStringLiteral("account-only"))
        return FillAnswer::AccountStepAhead;
    return FillAnswer::Missing;
}

LoginScript::SubmitAnswer LoginScript::Submit(QWebEnginePage* page, const QJsonObject& origin,
                                              const LoginFields& login)
{
    const QString r = PageBridge::Call(page, QStringLiteral("loginSubmit"), {origin, AsJson(login)})
                          .toObject()
                          .value(QStringLiteral("r"))
                          .toString();
    if (r == QStringLiteral("moved"))
        return SubmitAnswer::Moved;
    if (r == QStringLiteral("submitted"))
        return SubmitAnswer::Submitted;
    if (r == QStringLiteral("invalid"))
        return SubmitAnswer::Refused;
    if (r == QStringLiteral("lost"))
        return SubmitAnswer::Lost;
    if (r == QStringLiteral("no-control"))
        return SubmitAnswer::NoControl;
    if (r == QStringLiteral("disabled"))
        return SubmitAnswer::Disabled;
    return SubmitAnswer::NoAnswer;
}

std::optional<bool> LoginScript::Sent(QWebEnginePage* page)
{
    const QJsonValue answer = PageBridge::Call(page, QStringLiteral("loginSent"), {});
    if (!answer.isObject())
        return std::nullopt;
    return answer.toObject().value(QStringLiteral("seen")).toBool();
}

bool LoginScript::AsksCode(QWebEnginePage* page, const QJsonObject& origin)
{
    return PageBridge::Call(page, QStringLiteral("loginAsksCode"), {origin})
        .toObject()
        .value(QStringLiteral("code"))
        .toBool();
}
