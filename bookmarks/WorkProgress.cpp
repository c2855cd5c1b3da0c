#include "WorkProgress.h"

#include "BookmarkTexts.h"
#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {

// Often enough that the window repaints smoothly, seldom enough not to slow the work.
constexpr qint64 PumpEveryMs = 40;

} // namespace

WorkProgress::WorkProgress(QWidget* owner, QString label, int showAfterMs)
    : m_owner(owner), m_label(std::move(label)), m_showAfterMs(showAfterMs)
{
    m_clock.start();
}

WorkProgress::~WorkProgress() = default;

bool WorkProgress::Step(qint64 done, qint64 total)
{
    if (TerminationSignals::Requested())
        m_cancelled = true;
    if (m_cancelled)
        return false;
    const qint64 now = m_clock.elapsed();
    // The last step is always shown: the user sees the work complete and can still cancel it.
    const bool last = total > 0 && done >= total;
    if (now - m_lastPumpMs < PumpEveryMs && !(last && m_dialog))
        return true;
    m_lastPumpMs = now;
    if (!m_dialog && now >= m_showAfterMs) {
        m_dialog = std::make_unique<QProgressDialog>(m_label, BookmarkTexts::CancelButton, 0, 0, m_owner);
        m_dialog->setObjectName(QStringLiteral("进度框"));
        m_dialog->setWindowTitle(BookmarkTexts::ProgressTitle);
        // Every window waits: the work holds a transaction that anything written meanwhile would join.
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        m_dialog->show();
    }
    if (m_dialog) {
        // The bar counts in thousands: a million rows would pass what the bar holds. Work of
        // unknown size (a parser, an index) shows the moving bar rather than a 0 % that never moves.
        m_dialog->setMaximum(total > 0 ? int(total / 1000) + 1 : 0);
        m_dialog->setValue(int(done / 1000));
    }
    // Until the dialog stands in front, a click or key would run inside the work (its transaction
    // open): only painting and timers go on.
    QCoreApplication::processEvents(m_dialog ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    // Ending qavex cancels the work: what it began is rolled back, not left half done.
    m_cancelled = (m_dialog && m_dialog->wasCanceled()) || TerminationSignals::Requested();
    return !m_cancelled;
}

std::function<bool(qint64, qint64)> WorkProgress::Callback()
{
    return [this](qint64 done, qint64 total) { return Step(done, total); };
}
