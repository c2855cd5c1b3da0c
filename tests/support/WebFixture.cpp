#include "WebFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

#include <unistd.h>

void WebFixture::PrepareEngine()
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

void WebFixture::MapHostsToLoopback()
{
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            "--host-resolver-rules=\"MAP *.github.io 127.0.0.1, MAP *.test 127.0.0.1\"");
}

WebFixture::WebFixture() : m_view(std::make_unique<QWebEngineView>())
{
    m_view->resize(800, 600);
    m_view->show();
}

WebFixture::~WebFixture() = default;

QWebEnginePage* WebFixture::Page() const
{
    return m_view->page();
}

bool WebFixture::Load(const QString& path)
{
    QSignalSpy finished(m_view.get(), &QWebEngineView::loadFinished);
    m_view->load(QUrl::fromLocalFile(path));
    if (!finished.wait(20000))
        return false;
    return finished.first().first().toBool();
}

QVariant WebFixture::Evaluate(const QString& script) const
{
    QVariant result;
    bool done = false;
    m_view->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    QDeadlineTimer deadline(5000);
    while (!done && !deadline.hasExpired())
        QTest::qWait(5);
    return result;
}

QString WebFixture::Log() const
{
    return Evaluate(QStringLiteral("document.getElementById('log').textContent")).toString();
}
