#pragma once

#include "LoginScript.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QUrl>

#include <functional>

class QWebEngineView;

// One automatic login on a page that has loaded: waits for the login form (it may be built late
// by the page's scripts), fills it, and submits it only while every field still holds what was
// typed; over two pages when the site asks for the account first. Before every fill and every
// click the page must still be of the bookmark's site.
class LoginFinder {
public:
    enum class Outcome {
        Submitted,
        Filled,    // nothing to press: the bookmark names no control
        NotFound,  // no form within the time given
        Unusable,  // the fields named are disabled, read-only, or no password input
        NoControl, // the form was filled, but its control was not there to press
        Refused,   // pressed, but the page's own checks refused what was filled
        OtherSite,
        Cancelled,  // the window closed, or another login took over the page
        Hidden,     // a field the bookmark names is one nobody could type into (a trap)
        TooLong,    // the account or password is longer than its field takes
        SignUpOnly, // the page has sign-up forms only
        ChangeOnly, // the page has password-change forms only
        CodeAsked,  // the page asks for a one-time code, left to the user
        NotSent,    // filled and pressed, but nothing was seen to be sent
    };

    // `goOn` is asked between steps; when it answers false the login ends at once.
    LoginFinder(QWebEngineView& view, QUrl bookmark, LoginFields login, std::function<bool()> goOn);

    // Waits for the form until `deadline`; a second step gets a time of its own.
    Outcome Run(QDeadlineTimer deadline);
    // The page's address when the login ended.
    QUrl Page() const { return m_page; }

    static constexpr int FieldWaitMs = 10000;
    // How long a page showing only other forms (sign-up, a code) is watched before that is the answer.
    static constexpr int OtherFormsSettleMs = 1000;

private:
    bool OnSite();
    bool WantsSubmit() const;
    // After the press: Submitted when a submission was seen, CodeAsked when the page it led to
    // asks for a one-time code, NotSent otherwise.
    Outcome Confirm(bool& navigated, bool& loaded);

    QPointer<QWebEngineView> m_view;
    QUrl m_bookmark;
    LoginFields m_login;
    std::function<bool()> m_goOn;
    QUrl m_page;
};
