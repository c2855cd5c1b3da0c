// BrowserWindow: the element tools, the code window and the Ctrl+L hot key.
#include "BrowserWindow.h"

#include "CodeWindow.h"
#include "ElementToolTexts.h"
#include "ElementToolWindow.h"
#include "HotKeyService.h"
#include "PageDocument.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QWebEngineView>

namespace {

constexpr int KeyL = 0x4C;
constexpr int CodeWindowFrameAllowance = 8;

// The point of the designed layout's page area that view source reads the page under.
const QPoint ViewSourcePoint(20 - 4, 200 - 116);

} // namespace

void BrowserWindow::ConnectElementTools()
{
    connect(获取鼠标处元素, &QAction::triggered, this, &BrowserWindow::CaptureElement);
    connect(查看源文件, &QAction::triggered, this, &BrowserWindow::ViewSource);
    connect(代码窗口, &QAction::triggered, this, &BrowserWindow::OpenCodeWindow);
    connect(元素操作, &QAction::triggered, this, &BrowserWindow::OpenElementTool);

    HotKeyTable& hotKeys = *m_globals.ElementHotkey;
    hotKeys.Bind(this, 标签1);
    hotKeys.Register(HotKeyService::ControlModifier, KeyL, ElementToolTexts::CaptureHotKeyName);
    if (HotKeyService* service = hotKeys.Service()) {
        connect(service, &HotKeyService::hotKeyPressed, this, [this](int id) {
            if (m_globals.ElementHotkey->NameOf(id) == ElementToolTexts::CaptureHotKeyName)
                CaptureElement();
        });
    }
}

std::optional<QPoint> BrowserWindow::MouseOnPage() const
{
    const QPoint point = 网页框->mapFromGlobal(m_services.MousePosition());
    if (point.x() < 0 || point.y() < 0 || point.x() > 网页框->width() || point.y() > 网页框->height())
        return std::nullopt;
    return point;
}

void BrowserWindow::OpenCodeWindow()
{
    if (m_codeWindow)
        return;
    m_codeWindow = new CodeWindow(this, [this] { ShowMousePosition(); });
    // Its own frame's lower border counts too: it must not hide the status bar's x:/y:.
    const int keepVisible = statusBar()->height() + CodeWindowFrameAllowance;
    m_codeWindow->setGeometry(
        CodeWindow::Placement(geometry(), m_services.ScreenSize().height(), keepVisible));
    m_codeWindow->show();
}

void BrowserWindow::ShowMousePosition()
{
    if (const std::optional<QPoint> point = MouseOnPage()) {
        SetStatusPart(1, QStringLiteral("x:%1").arg(point->x()));
        SetStatusPart(2, QStringLiteral("y:%1").arg(point->y()));
    }
}

void BrowserWindow::CaptureElement()
{
    const std::optional<QPoint> point = MouseOnPage();
    if (!point)
        return;
    OpenCodeWindow();
    PageDocument document;
    document.Attach(nullptr, false, 网页框, true);
    const PageObject element = document.ElementFromPoint(point->x(), point->y());
    if (element.IsEmpty()) {
        m_services.ShowMessage(ElementToolTexts::CaptureFailed,
                               MessageStyle::Ok | MessageStyle::InformationIcon, {}, this);
        return;
    }
    *m_globals.CapturedElement = element;
    m_codeWindow->编辑框_信息->setPlainText(document.GetOuterHtml(element));
}

void BrowserWindow::ViewSource()
{
    OpenCodeWindow();
    PageDocument document;
    QString source;
    if (网页框->rect().contains(ViewSourcePoint) && document.Attach(nullptr, false, 网页框, true))
        source = document.GetPageText(QStringLiteral("outerHTML"));
    m_codeWindow->编辑框_信息->setPlainText(source);
}

void BrowserWindow::OpenElementTool()
{
    if (!m_elementTool) {
        m_elementTool = new ElementToolWindow(this, 网页框, [this] {
            m_services.ShowMessage(ElementToolTexts::NothingMatched,
                                   MessageStyle::Ok | MessageStyle::InformationIcon, {}, m_elementTool);
        });
        m_elementTool->move(geometry().topLeft() + QPoint(100, 100));
    }
    m_elementTool->show();
    m_elementTool->raise();
}

CodeWindow* BrowserWindow::OpenedCodeWindow() const
{
    return m_codeWindow;
}

ElementToolWindow* BrowserWindow::OpenedElementTool() const
{
    return m_elementTool;
}
