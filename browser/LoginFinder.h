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
        Cancelled, // the window closed, or another login took over the page
    };

    // `goOn` is asked between steps; when it answers false the login ends at once.
    LoginFinder(QWebEngineView& view, QUrl bookmark, LoginFields login, std::function<bool()> goOn);

    // Waits for the form until `deadline`; a second step gets a time of its own.
    Outcome Run(QDeadlineTimer deadline);
    // The page's address when the login ended.
    QUrl Page() const { return m_page; }

    static constexpr int FieldWaitMs = 10000;

private:
    bool OnSite();
    bool WantsSubmit() const;

    QPointer<QWebEngineView> m_view;
    QUrl m_bookmark;
    LoginFields m_login;
    std::function<bool()> m_goOn;
    QUrl m_page;
};
