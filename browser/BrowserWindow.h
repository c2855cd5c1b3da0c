#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QUrl>

#include <optional>

#include "HistoryDialog.h"

class CodeWindow;
class ElementToolWindow;
class MainWindow;
class LoginSaver;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QShortcut;
class QToolBar;
class QWebEngineDownloadRequest;
class QWebEngineProfile;
class QWebEngineView;
class RuntimeServices;
class SaveLoginBar;
struct ProgramGlobals;

// The built-in browser: address box with the typed-address history, toolbar, menus, the page,
// and a status bar. There is one at most; it lives until the user closes it.
class BrowserWindow : public QMainWindow {
    Q_OBJECT
public:
    BrowserWindow(MainWindow& mainWindow, ProgramGlobals& globals, RuntimeServices& services);
    ~BrowserWindow() override;

    // Goes to the address box's text and remembers it.
    void GoToAddress();
    void OpenLocalPage();
    void LayoutBrowserWindow();
    // 4 once the last navigation has finished loading.
    int ReadyState() const;
    // Parts 0 to 2 of the status bar.
    void SetStatusPart(int index, const QString& text);
    QString StatusPart(int index) const;
    HistoryDialog* OpenedHistoryDialog() const { return m_historyDialog; }

    // The element tools.
    void OpenCodeWindow();
    void CaptureElement();
    void ViewSource();
    void OpenElementTool();
    // Where the mouse is on the page, when it is over it (the edges count as inside).
    std::optional<QPoint> MouseOnPage() const;
    CodeWindow* OpenedCodeWindow() const;
    ElementToolWindow* OpenedElementTool() const;

    QToolBar* 工具条1;
    QWidget* 工具条3;
    QLabel* 标签1;
    QComboBox* 组合框_地址;
    QPushButton* 按钮_转到;
    QFrame* 分隔条_顶;
    QWebEngineView* 网页框;
    // Above the page while it asks whether to keep a login sent by hand.
    SaveLoginBar* 保存登录栏;
    QMenu* 文件菜单;
    QMenu* 文档菜单;
    QMenu* 收藏菜单;
    QMenu* 工具菜单;
    QAction* 获取鼠标处元素;
    QAction* 查看源文件;
    QAction* 代码窗口;
    QAction* 元素操作;
    QAction* 全屏;
    QAction* 编辑;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenus();
    void CreateToolBar();
    void CreateAddressRow(QWidget* central);
    void CreatePage(QWidget* central);
    void Navigate(const QUrl& url);
    void ShowNavigatedPage();
    void SetFullScreen(bool on);
    void SetEditing(bool on);
    void SavePage();
    void ReportSavedPage(const QWebEngineDownloadRequest& download);
    void BookmarkAddress();
    void OpenHistoryDialog();
    void PlaceNormally();
    void ConnectElementTools();
    void ShowMousePosition();

    MainWindow& m_mainWindow;
    ProgramGlobals& m_globals;
    RuntimeServices& m_services;
    QWebEngineProfile* m_profile = nullptr;
    QList<QLabel*> m_statusParts;
    QPointer<HistoryDialog> m_historyDialog;
    QPointer<CodeWindow> m_codeWindow;
    QPointer<ElementToolWindow> m_elementTool;
    bool m_activated = false;
    bool m_leavingAddressBox = false;
    // Escape stops a loading page or leaves full screen; otherwise it is the page's.
    void ArmEscape();
    QAction* m_stopAction = nullptr;
    bool m_awaitingLoad = false;
    QUrl m_requestedUrl;
    QShortcut* m_leaveFullScreen = nullptr;
};
