#include "PageLoadIndicator.h"

#include "BrowserTexts.h"

#include <QAction>
#include <QLabel>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

PageLoadIndicator::PageLoadIndicator(QWebEngineView& view, QAction& stop, QLabel& label, QObject* parent)
    : QObject(parent), m_view(view), m_stop(stop), m_label(label)
{
    m_stop.setEnabled(false);
    connect(&view, &QWebEngineView::loadStarted, this, [this] {
        m_loading = true;
        m_told = false;
        m_stop.setEnabled(true);
        ShowProgress(0);
    });
    connect(&view, &QWebEngineView::loadProgress, this, &PageLoadIndicator::ShowProgress);
    connect(&view, &QWebEngineView::loadFinished, this, &PageLoadIndicator::Finish);
    // Why a load ended comes with the loading info; the end itself may come first.
    connect(view.page(), &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus ||
            info.status() == QWebEngineLoadingInfo::LoadStoppedStatus) {
            m_told = true;
            m_label.setText(info.status() == QWebEngineLoadingInfo::LoadStoppedStatus
                                ? BrowserTexts::PageStopped
                                : FailureText(info));
        }
    });
    // The caption follows the page's title; while loading it says so first.
    connect(&view, &QWebEngineView::titleChanged, this, [this] { ShowProgress(-1); });
}

void PageLoadIndicator::Finish(bool ok)
{
    m_loading = false;
    m_stop.setEnabled(false);
    QWidget* window = m_view.window();
    if (window->windowTitle().startsWith(BrowserTexts::Loading))
        window->setWindowTitle(window->windowTitle().mid(BrowserTexts::Loading.size()));
    // A failure's own words may have come already; otherwise they may follow.
    if (ok || !m_told)
        m_label.setText(ok ? QString() : BrowserTexts::PageNotOpened);
    m_told = false;
}

void PageLoadIndicator::ShowProgress(int percent)
{
    if (!m_loading)
        return;
    if (percent >= 0)
        m_label.setText(BrowserTexts::LoadingProgress.arg(percent));
    QWidget* window = m_view.window();
    if (!window->windowTitle().startsWith(BrowserTexts::Loading))
        window->setWindowTitle(BrowserTexts::Loading + window->windowTitle());
}

QString PageLoadIndicator::FailureText(const QWebEngineLoadingInfo& info)
{
    if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain)
        return BrowserTexts::PageFailed.arg(BrowserTexts::ServerAnsweredError.arg(info.errorCode()));
    QString why;
    const int code = info.errorCode();
    switch (code) {
    case -3: // ERR_ABORTED: stopped, by the user or by another navigation
        return BrowserTexts::PageStopped;
    case -105: // ERR_NAME_NOT_RESOLVED
        why = BrowserTexts::NameNotResolved;
        break;
    case -102: // ERR_CONNECTION_REFUSED
        why = BrowserTexts::ConnectionRefused;
        break;
    case -7:   // ERR_TIMED_OUT
    case -118: // ERR_CONNECTION_TIMED_OUT
        why = BrowserTexts::ConnectionTimedOut;
        break;
    case -106: // ERR_INTERNET_DISCONNECTED
        why = BrowserTexts::NoNetwork;
        break;
    default:
        // -200 … -299: the site's certificate
        why = code <= -200 && code > -300 ? BrowserTexts::CertificateProblem
                                          : BrowserTexts::OtherLoadError.arg(code);
        break;
    }
    const QString detail = info.errorString().trimmed();
    return BrowserTexts::PageFailed.arg(why) +
           (detail.isEmpty() ? QString() : QStringLiteral("（%1）").arg(detail));
}
