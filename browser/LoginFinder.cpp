#include "LoginFinder.h"

#include "PumpingWait.h"
#include "SameSite.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// Short enough that a form is sent well within a tenth of a second of appearing.
constexpr int PollMs = 25;
// Lets the page's scripts take in what was typed before the control is pressed.
constexpr int SubmitPauseMs = 40;
// A page showing only an account field for this long is taken to ask for it on its own; a
// one-page form being built by script has its password field long before.
constexpr int AccountStepSettleMs = 300;
// How long a press has to show that it sent something, and the page it led to to load.
constexpr int SentWaitMs = 1500;
constexpr int NextPageWaitMs = 3000;

} // namespace

LoginFinder::LoginFinder(QWebEngineView& view, QUrl bookmark, LoginFields login, std::function<bool()> goOn)
    : m_view(&view), m_bookmark(std::move(bookmark)), m_login(std::move(login)), m_goOn(std::move(goOn))
{
}

bool LoginFinder::OnSite()
{
    m_page = m_view->url();
    return IsSameSite(m_bookmark, m_page);
}

bool LoginFinder::WantsSubmit() const
{
    const bool credentials = !m_login.account.isEmpty() || !m_login.password.isEmpty();
    if (m_login.IsIdentified() || !credentials)
        return !m_login.buttonId.isEmpty();
    // A form found without identifiers is sent only with a password in it.
    return !m_login.password.isEmpty();
}

LoginFinder::Outcome LoginFinder::Run(QDeadlineTimer deadline)
{
    if (!m_login.buttonId.isEmpty() && !m_login.buttonKind && WantsSubmit())
        return Outcome::NoControl;
    LoginScript::Step step = LoginScript::Step::Any;
    Outcome waitingFor = Outcome::NotFound;
    QElapsedTimer accountOnly;
    QElapsedTimer otherForms;
    // A navigation the press starts shows it sent the form, even when the document goes before it
    // can say so itself.
    bool navigated = false;
    bool loaded = false;
    QWebEnginePage* page = m_view->page();
    const QMetaObject::Connection started =
        QObject::connect(page, &QWebEnginePage::loadStarted, page, [&navigated] { navigated = true; });
    const QMetaObject::Connection finished =
        QObject::connect(page, &QWebEnginePage::loadFinished, page, [&loaded] { loaded = true; });
    const auto disconnect = qScopeGuard([&] {
        QObject::disconnect(started);
        QObject::disconnect(finished);
    });
    for (;;) {
        // A load the user stopped before anything came leaves no page at all: nothing to log into,
        // and no other site either.
        if (!m_goOn() || !m_view || m_view->url().isEmpty())
            return Outcome::Cancelled;
        if (!OnSite())
            return Outcome::OtherSite;
        const bool accountStepAllowed = accountOnly.isValid() && accountOnly.elapsed() >= AccountStepSettleMs;
        const LoginScript::FillAnswer filled = LoginScript::Fill(
            m_view->page(), LoginScript::OriginOf(m_page), m_login, step, accountStepAllowed);
        if (filled != LoginScript::FillAnswer::AccountStepAhead)
            accountOnly.invalidate();
        const bool others = filled == LoginScript::FillAnswer::SignUpOnly ||
                            filled == LoginScript::FillAnswer::ChangeOnly ||
                            filled == LoginScript::FillAnswer::CodeAsked;
        if (!others)
            otherForms.invalidate();
        else if (!otherForms.isValid())
            otherForms.start();

        switch (filled) {
        case LoginScript::FillAnswer::Filled:
        case LoginScript::FillAnswer::AccountOnly: {
            if (filled == LoginScript::FillAnswer::Filled && !WantsSubmit())
                return Outcome::Filled;
            PumpingWait(SubmitPauseMs);
            if (!m_goOn() || !m_view)
                return Outcome::Cancelled;
            if (!OnSite())
                return Outcome::OtherSite;
            navigated = false;
            loaded = false;
            switch (LoginScript::Submit(m_view->page(), LoginScript::OriginOf(m_page), m_login)) {
            case LoginScript::SubmitAnswer::Submitted:
                if (filled == LoginScript::FillAnswer::Filled)
                    return Confirm(navigated, loaded);
                // The password comes on the next page, which gets a wait of its own.
                step = LoginScript::Step::Password;
                deadline = QDeadlineTimer(FieldWaitMs);
                waitingFor = Outcome::NotFound;
                continue;
            case LoginScript::SubmitAnswer::Refused:
                return Outcome::Refused;
            case LoginScript::SubmitAnswer::NoControl:
            case LoginScript::SubmitAnswer::Disabled:
                waitingFor = Outcome::NoControl;
                break;
            default:
                // Emptied or replaced by the page, or the page moved: look again.
                break;
            }
            break;
        }
        case LoginScript::FillAnswer::AccountStepAhead:
            if (!accountOnly.isValid())
                accountOnly.start();
            waitingFor = Outcome::NotFound;
            break;
        case LoginScript::FillAnswer::Missing:
            waitingFor = Outcome::NotFound;
            break;
        case LoginScript::FillAnswer::Hidden:
            // A named field nobody could type into may still be shown; until then it is a trap.
            waitingFor = m_login.IsIdentified() ? Outcome::Hidden : Outcome::NotFound;
            break;
        case LoginScript::FillAnswer::TooLong:
            return Outcome::TooLong;
        case LoginScript::FillAnswer::SignUpOnly:
        case LoginScript::FillAnswer::ChangeOnly:
        case LoginScript::FillAnswer::CodeAsked:
            waitingFor = filled == LoginScript::FillAnswer::SignUpOnly   ? Outcome::SignUpOnly
                         : filled == LoginScript::FillAnswer::ChangeOnly ? Outcome::ChangeOnly
                                                                         : Outcome::CodeAsked;
            // A login form may still be shown (a tab, a script): the other forms are the answer
            // once they have stood alone a while.
            if (otherForms.elapsed() >= OtherFormsSettleMs)
                return waitingFor;
            break;
        case LoginScript::FillAnswer::Unusable:
            waitingFor = Outcome::Unusable;
            break;
        case LoginScript::FillAnswer::Moved:
        case LoginScript::FillAnswer::NoAnswer:
            break;
        }
        if (deadline.hasExpired())
            return waitingFor;
        PumpingWait(PollMs);
    }
}

LoginFinder::Outcome LoginFinder::Confirm(bool& navigated, bool& loaded)
{
    const QDeadlineTimer sentDeadline(SentWaitMs);
    bool seen = false;
    while (!seen && !sentDeadline.hasExpired()) {
        if (!m_goOn() || !m_view)
            return Outcome::Cancelled;
        // A document that no longer answers is being left: the press started that.
        const std::optional<bool> sent = LoginScript::Sent(m_view->page());
        seen = navigated || !sent || *sent;
        if (!seen)
            PumpingWait(PollMs);
    }
    if (!seen)
        return Outcome::NotSent;
    if (!navigated)
        return Outcome::Submitted;
    // The page the login led to may ask for a one-time code next.
    const QDeadlineTimer pageDeadline(NextPageWaitMs);
    while (!loaded && !pageDeadline.hasExpired()) {
        if (!m_goOn() || !m_view)
            return Outcome::Cancelled;
        PumpingWait(PollMs);
    }
    if (!m_view || !OnSite())
        return Outcome::Submitted;
    return LoginScript::AsksCode(m_view->page(), LoginScript::OriginOf(m_page)) ? Outcome::CodeAsked
                                                                                : Outcome::Submitted;
}
