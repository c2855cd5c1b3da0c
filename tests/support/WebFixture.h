#pragma once

#include <QString>
#include <QVariant>

#include <memory>

class QWebEngineView;
class QWebEnginePage;

// A real browser view, offscreen, on local test pages.
class WebFixture {
public:
    // Call first thing in a test's initMain(): the engine runs as root only without its sandbox.
    static void PrepareEngine();
    // Also first thing: names under .github.io and .test reach 127.0.0.1, so that tests can serve
    // pages of several sites (and of tenants of a shared suffix) from loopback servers.
    static void MapHostsToLoopback();

    WebFixture();
    ~WebFixture();

    // Loads the page and waits until it is complete; false when it did not load.
    bool Load(const QString& path);
    QWebEngineView* View() const { return m_view.get(); }
    QWebEnginePage* Page() const;
    // Evaluates script in the page's own world, as a test's independent look at the page.
    QVariant Evaluate(const QString& script) const;
    // The text the page's click handlers log into #log.
    QString Log() const;

private:
    std::unique_ptr<QWebEngineView> m_view;
};
