#include "LoginFinder.h"

#include "PumpingWait.h"
#include "SameSite.h"

#include <QElapsedTimer>
#include <QWebEngineView>

namespace {

// Short enough that a form is sent well within a tenth of a second of appearing.
constexpr int PollMs = 25;
// Lets the page's scripts take in what was typed before the control is pressed.
constexpr int SubmitPauseMs = 40;
// A page showing only an account field for this long is taken to ask for it on its own; a
// one-page form being built by script has its password field long before.
constexpr int AccountStepSettleMs = 300;

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
    for (;;) {
        if (!m_goOn() || !m_view)
            return Outcome::Cancelled;
        if (!OnSite())
            return Outcome::OtherSite;
        const bool accountStepAllowed = accountOnly.isValid() && accountOnly.elapsed() >= AccountStepSettleMs;
        const LoginScript::FillAnswer filled = LoginScript::Fill(
            m_view->page(), LoginScript::OriginOf(m_page), m_login, step, accountStepAllowed);
        if (filled != LoginScript::FillAnswer::AccountStepAhead)
            accountOnly.invalidate();

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
            switch (LoginScript::Submit(m_view->page(), LoginScript::OriginOf(m_page), m_login)) {
            case LoginScript::SubmitAnswer::Submitted:
                if (filled == LoginScript::FillAnswer::Filled)
                    return Outcome::Submitted;
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
        case LoginScript::FillAnswer::Hidden:
            waitingFor = Outcome::NotFound;
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
