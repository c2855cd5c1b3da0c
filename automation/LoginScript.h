#pragma once

#include "IdentifierKind.h"

#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <optional>

class QWebEnginePage;

// What a login types and presses. Without field identifiers the page script finds the form itself.
struct LoginFields {
    QString account;
    QString password;
    QString accountId;
    QString passwordId;
    std::optional<IdentifierKind> fieldKind;
    QString buttonId;
    std::optional<IdentifierKind> buttonKind;
    bool buttonIsLink = false;

    bool IsIdentified() const { return !accountId.isEmpty() || !passwordId.isEmpty(); }
};

// The login operations of the page script. Each call carries the origin that qavex has checked
// the page against; the script compares its own document's origin with it in the same call and
// refuses when they differ, so a page that has navigated in between gets nothing.
class LoginScript {
public:
    enum class Step { Any, Password };
    enum class FillAnswer {
        NoAnswer,    // the page did not answer (loading, closed)
        Moved,       // the document is not of the origin checked
        Filled,      // the whole form
        AccountOnly, // the first of two steps: only the account, now filled
        Missing,     // the fields are not there (yet)
        Hidden,
        Unusable,         // disabled, read-only, or a password field that is no password input
        AccountStepAhead, // only an account field is there: perhaps the first of two steps
        TooLong,          // a value longer than its field takes: the form is left alone
        SignUpOnly,       // the page's forms are for signing up only
        ChangeOnly,       // … for changing a password only
        CodeAsked,        // … for a one-time code
    };
    enum class SubmitAnswer { NoAnswer, Moved, Submitted, Refused, Lost, NoControl, Disabled };

    // The origin of `url` as the page script compares it with its document's.
    static QJsonObject OriginOf(const QUrl& url);

    static FillAnswer Fill(QWebEnginePage* page, const QJsonObject& origin, const LoginFields& login,
                           Step step, bool accountStepAllowed);
    // Presses the control for what the last fill typed, once every field still holds its value.
    static SubmitAnswer Submit(QWebEnginePage* page, const QJsonObject& origin, const LoginFields& login);
    // Whether the last press was seen to send something (a submit, a request of the page's, the
    // document being left); nullopt when the document did not answer (it is being left).
    static std::optional<bool> Sent(QWebEnginePage* page);
    // Whether the page asks for a one-time code.
    static bool AsksCode(QWebEnginePage* page, const QJsonObject& origin);
};
