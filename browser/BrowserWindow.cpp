#include "BrowserWindow.h"

#include "AddressHistory.h"
#include "BookmarkTexts.h"
#include "BrowserTexts.h"
#include "BuiltInTexts.h"
#include "ChangeCategoryDialog.h"
#include "CodeWindow.h"
#include "ElementToolWindow.h"
#include "HistoryDialog.h"
#include "LoginCapture.h"
#include "LoginSaver.h"
#include "MainWindow.h"
#include "PageLoadIndicator.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"
#include "SaveLoginBar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {

// Where the page sits inside the central area, below the address row and its splitter line.
constexpr int AddressRowHeight = 35;
constexpr int SplitterTop = 32;
constexpr int PageTop = 37;

} // namespace

BrowserWindow::BrowserWindow(MainWindow& mainWindow, ProgramGlobals& globals, RuntimeServices& services)
    : m_mainWindow(mainWindow), m_globals(globals), m_services(services)
{
    setObjectName(QStringLiteral("BrowserWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(BrowserTexts::Caption);

    auto* central = new QWidget(this);
    setCentralWidget(central);
    CreateMenus();
    CreateToolBar();
    CreateAddressRow(central);
    CreatePage(central);

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("状态条1"));
    setStatusBar(statusBar);
    for (int part = 0; part < 3; ++part) {
        auto* label = new QLabel(statusBar);
        label->setMinimumWidth(part == 0 ? 300 : 80);
        statusBar->addWidget(label, part == 0 ? 1 : 0);
        m_statusParts.append(label);
    }
    // The fourth part says how the page's loading goes.
    auto* loading = new QLabel(statusBar);
    statusBar->addPermanentWidget(loading);
    m_statusParts.append(loading);
    new PageLoadIndicator(*网页框, *m_stopAction, *loading, this);

    ConnectElementTools();
    AddressHistory::FillAddressList(*组合框_地址, *m_globals.Database, m_globals.Settings());
    PlaceNormally();
}

BrowserWindow::~BrowserWindow()
{
    // A login waiting for this window's page gives up.
    m_globals.AutoLoginBusy = false;
    // Ctrl+L goes back to the other programs.
    m_globals.ElementHotkey->UnregisterAll();
    // Controls going away must not start a navigation of a page that is gone, nor lay out one.
    组合框_地址->disconnect(this);
    保存登录栏->removeEventFilter(this);
    // The page goes before the profile it was made with.
    delete 网页框;
    网页框 = nullptr;
}

void BrowserWindow::CreateMenus()
{
    文件菜单 = menuBar()->addMenu(BrowserTexts::FileMenu);
    文件菜单->addAction(BrowserTexts::OpenLocalPage, this, &BrowserWindow::OpenLocalPage);
    文档菜单 = menuBar()->addMenu(BrowserTexts::DocumentMenu);
    获取鼠标处元素 = 文档菜单->addAction(BrowserTexts::CaptureElement);
    查看源文件 = 文档菜单->addAction(BrowserTexts::ViewSource);
    收藏菜单 = menuBar()->addMenu(BrowserTexts::FavouritesMenu);
    收藏菜单->addAction(BrowserTexts::BookmarkAddress, this, &BrowserWindow::BookmarkAddress);
    收藏菜单->addAction(BrowserTexts::DeleteHistory, this, &BrowserWindow::OpenHistoryDialog);
    工具菜单 = menuBar()->addMenu(BrowserTexts::ToolsMenu);
    代码窗口 = 工具菜单->addAction(BrowserTexts::CodeWindow);
    元素操作 = 工具菜单->addAction(BrowserTexts::ElementTool);
}

void BrowserWindow::CreateToolBar()
{
    工具条1 = addToolBar(QStringLiteral("工具条1"));
    工具条1->setObjectName(QStringLiteral("工具条1"));
    工具条1->setMovable(false);
    工具条1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    工具条1->setIconSize(QSize(16, 16));
    const auto icon = [this](QStyle::StandardPixmap pixmap) { return style()->standardIcon(pixmap); };
    工具条1->addAction(icon(QStyle::SP_DirOpenIcon), BrowserTexts::OpenLocalPage, this,
                       &BrowserWindow::OpenLocalPage);
    工具条1->addAction(icon(QStyle::SP_DialogSaveButton), BrowserTexts::SavePage, this,
                       &BrowserWindow::SavePage);
    工具条1->addAction(icon(QStyle::SP_DirHomeIcon), BrowserTexts::Home, this, [this] {
        Navigate(QUrl::fromUserInput(BuiltInTexts::StartAddress()));
        组合框_地址->setEditText(网页框->url().toString());
    });
    QAction* back = 工具条1->addAction(icon(QStyle::SP_ArrowBack), BrowserTexts::Back, this, [this] {
        // One page back, as the user saw them: the engine's own "back" passes over pages that
        // moved on without a user's click, such as a login page after an automatic login.
        QWebEngineHistory* history = 网页框->history();
        if (history->currentItemIndex() > 0)
            history->goToItem(history->backItem());
        组合框_地址->setEditText(网页框->url().toString());
    });
    QAction* forward = 工具条1->addAction(icon(QStyle::SP_ArrowForward), BrowserTexts::Forward, this, [this] {
        网页框->forward();
        组合框_地址->setEditText(网页框->url().toString());
    });
    back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    forward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    QAction* refresh = 工具条1->addAction(icon(QStyle::SP_BrowserReload), BrowserTexts::Refresh, this,
                                          [this] { 网页框->reload(); });
    refresh->setShortcut(QKeySequence(Qt::Key_F5));
    m_stopAction = 工具条1->addAction(icon(QStyle::SP_BrowserStop), BrowserTexts::Stop, this,
                                      [this] { 网页框->stop(); });
    全屏 = 工具条1->addAction(icon(QStyle::SP_TitleBarMaxButton), BrowserTexts::FullScreen);
    全屏->setCheckable(true);
    全屏->setShortcut(QKeySequence(Qt::Key_F11));
    connect(全屏, &QAction::toggled, this, &BrowserWindow::SetFullScreen);
    // Escape belongs to the page, except to stop a page that is loading and as the way out of
    // full screen.
    m_leaveFullScreen = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_leaveFullScreen->setEnabled(false);
    connect(m_leaveFullScreen, &QShortcut::activated, 全屏, [this] {
        if (m_stopAction->isEnabled())
            网页框->stop();
        else
            全屏->setChecked(false);
    });
    connect(m_stopAction, &QAction::changed, this, &BrowserWindow::ArmEscape);
    m_stopAction->setToolTip(BrowserTexts::Stop + QStringLiteral(" (Esc)"));
    auto* close = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    编辑 = 工具条1->addAction(icon(QStyle::SP_FileDialogDetailedView), BrowserTexts::Edit);
    编辑->setCheckable(true);
    connect(编辑, &QAction::toggled, this, &BrowserWindow::SetEditing);
    // A button whose dialog took the mouse away never hears it leave and would stay lit.
    connect(工具条1, &QToolBar::actionTriggered, this, [this](QAction* action) {
        QWidget* button = 工具条1->widgetForAction(action);
        if (button && !button->rect().contains(button->mapFromGlobal(QCursor::pos()))) {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(button, &leave);
        }
    });
}

void BrowserWindow::CreateAddressRow(QWidget* central)
{
    工具条3 = new QWidget(central);
    工具条3->setObjectName(QStringLiteral("工具条3"));
    工具条3->setGeometry(0, 0, 765, AddressRowHeight);
    标签1 = new QLabel(BrowserTexts::AddressLabel, 工具条3);
    标签1->setObjectName(QStringLiteral("标签1"));
    标签1->setGeometry(7, 5, 36, 24);
    组合框_地址 = new QComboBox(工具条3);
    组合框_地址->setObjectName(QStringLiteral("组合框_地址"));
    组合框_地址->setGeometry(45, 5, 595, 22);
    组合框_地址->setEditable(true);
    组合框_地址->setInsertPolicy(QComboBox::NoInsert);
    组合框_地址->setMaxVisibleItems(AddressHistory::ListLimit);
    // The box's completer counts leaving the box with a completed text as choosing it: going
    // somewhere the user never confirmed. Entries are chosen from the list, or typed and sent.
    组合框_地址->setCompleter(nullptr);
    // Enter is taken here, before the box treats it as choosing an entry: one go per press. Key
    // presses from the desktop reach the focused box, which hands them to its line edit directly;
    // presses sent to the line edit itself go through its own filter.
    组合框_地址->installEventFilter(this);
    组合框_地址->lineEdit()->installEventFilter(this);
    connect(组合框_地址, &QComboBox::activated, this, [this] {
        // Leaving the box makes the box "choose" the entry that matches its text: that is no
        // choice of the user's, and never reloads the page.
        if (m_leavingAddressBox)
            return;
        GoToAddress();
        网页框->setFocus();
    });
    按钮_转到 = new QPushButton(BrowserTexts::GoButton, 工具条3);
    按钮_转到->setObjectName(QStringLiteral("按钮_转到"));
    按钮_转到->setGeometry(644, 4, 48, 24);
    connect(按钮_转到, &QPushButton::clicked, this, &BrowserWindow::GoToAddress);

    分隔条_顶 = new QFrame(central);
    分隔条_顶->setObjectName(QStringLiteral("分隔条_顶"));
    分隔条_顶->setFrameShape(QFrame::HLine);
    分隔条_顶->setFrameShadow(QFrame::Sunken);
    分隔条_顶->setGeometry(0, SplitterTop, 712, 4);
}

void BrowserWindow::CreatePage(QWidget* central)
{
    // A profile of its own, kept beside the database: cookies and logins last like in any browser.
    const QString directory = QDir(m_services.ProgramDirectory()).filePath(QStringLiteral("qavex-web"));
    m_profile = new QWebEngineProfile(QStringLiteral("qavex"), this);
    m_profile->setPersistentStoragePath(directory);
    m_profile->setCachePath(QDir(directory).filePath(QStringLiteral("cache")));
    connect(m_profile, &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest* download) {
                if (!download->isSavePageDownload())
                    return;
                download->accept();
                connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this,
                        [this, download] { ReportSavedPage(*download); });
            });

    网页框 = new QWebEngineView(central);
    网页框->setObjectName(QStringLiteral("网页框"));
    网页框->setPage(new QWebEnginePage(m_profile, 网页框));
    网页框->setGeometry(0, PageTop, 768, 312);
    // A navigation asked for while another one is under way may finish without ever reporting
    // its start: its end, at the address asked for, counts too.
    connect(网页框->page(), &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        const QUrl::FormattingOptions same = QUrl::StripTrailingSlash | QUrl::NormalizePathSegments;
        if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus ||
            info.url().adjusted(same) == m_requestedUrl.adjusted(same))
            m_awaitingLoad = false;
    });
    connect(网页框, &QWebEngineView::loadFinished, this, &BrowserWindow::ShowNavigatedPage);
    // Fragments and history.pushState change the address without a load.
    connect(网页框, &QWebEngineView::urlChanged, this, &BrowserWindow::ShowNavigatedPage);

    保存登录栏 = new SaveLoginBar(central);
    保存登录栏->installEventFilter(this);
    auto* saver = new LoginSaver(*this, *保存登录栏, m_mainWindow, m_globals);
    connect(new LoginCapture(网页框->page()), &LoginCapture::captured, saver, &LoginSaver::Offer);
    connect(网页框, &QWebEngineView::titleChanged, this, [this](const QString& title) {
        if (!title.isEmpty())
            setWindowTitle(title);
    });
}

bool BrowserWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == 保存登录栏 && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        LayoutBrowserWindow();
        return false;
    }
    // The box hands focus events to its line edit directly, past this filter: either may be told.
    if ((watched == 组合框_地址 || watched == 组合框_地址->lineEdit()) && event->type() == QEvent::FocusOut) {
        m_leavingAddressBox = true;
        QTimer::singleShot(0, this, [this] { m_leavingAddressBox = false; });
    }
    if ((watched == 组合框_地址 || watched == 组合框_地址->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            GoToAddress();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void BrowserWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    if (!组合框_地址->currentText().isEmpty())
        GoToAddress();
    else
        Navigate(QUrl::fromUserInput(BuiltInTexts::StartAddress()));
}

void BrowserWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    LayoutBrowserWindow();
}

void BrowserWindow::LayoutBrowserWindow()
{
    const QWidget* central = centralWidget();
    const int width = central->width();
    const int height = central->height();
    // The question bar, when it asks, goes between the address row and the page.
    const int barHeight = 保存登录栏->isVisibleTo(this) ? SaveLoginBar::Height : 0;
    保存登录栏->setGeometry(0, PageTop, width, SaveLoginBar::Height);
    网页框->setGeometry(0, PageTop + barHeight, width, std::max(0, height - PageTop - barHeight));
    分隔条_顶->resize(网页框->width(), 分隔条_顶->height());
    工具条3->resize(width, AddressRowHeight);
    按钮_转到->move(网页框->width() - 60, 按钮_转到->y());
    组合框_地址->resize(std::max(0, 按钮_转到->x() - 50), 组合框_地址->height());
}

void BrowserWindow::GoToAddress()
{
    const QString address = 组合框_地址->currentText();
    if (address.isEmpty())
        return;
    // "example.com" goes to the web site, as in any browser's address box.
    组合框_地址->lineEdit()->setModified(false);
    Navigate(QUrl::fromUserInput(address));
    AddressHistory::RecordAddress(*组合框_地址, *m_globals.Database, m_globals.Settings());
}

void BrowserWindow::Navigate(const QUrl& url)
{
    m_awaitingLoad = true;
    m_requestedUrl = url;
    // What the status bar said of the last page's login is not true of the next.
    SetStatusPart(0, {});
    网页框->load(url);
}

int BrowserWindow::ReadyState() const
{
    return m_awaitingLoad || 网页框->page()->isLoading() ? 1 : 4;
}

void BrowserWindow::ShowNavigatedPage()
{
    // What the user is typing stays; the page's address shows again once they leave the box.
    QLineEdit* typing = 组合框_地址->lineEdit();
    if (!(typing->hasFocus() && typing->isModified()))
        组合框_地址->setEditText(网页框->url().toString());
    const QString title = 网页框->title();
    setWindowTitle(title.isEmpty() ? 网页框->url().toString() : title);
}

void BrowserWindow::OpenLocalPage()
{
    QString path;
    if (!m_services.ChooseFile(FileDialogMode::Open, BrowserTexts::OpenLocalPage, BrowserTexts::WebPageFilter,
                               path, this))
        return;
    Navigate(QUrl::fromLocalFile(path));
}

namespace {

// The page's title as a file name: what no file system takes, or the shell would trip over, goes.
QString FileNameOf(const QString& title)
{
    static const QRegularExpression unfit(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]+"));
    QString name = QString(title).replace(unfit, QStringLiteral("_")).simplified().left(100);
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    return name.isEmpty() ? BrowserTexts::UntitledPage : name;
}

} // namespace

void BrowserWindow::SavePage()
{
    QString path = FileNameOf(网页框->title()) + QStringLiteral(".html");
    if (!m_services.ChooseFile(FileDialogMode::Save, BrowserTexts::SavePage, BrowserTexts::SavePageFilter,
                               path, this))
        return;
    // The format follows the name, so that the file opens as the page it holds: .mht/.mhtml as one
    // archive, anything else as HTML with its pictures and styles in a folder beside it.
    QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix.isEmpty()) {
        path += QStringLiteral(".html");
        suffix = QStringLiteral("html");
    }
    const bool archive = suffix == QStringLiteral("mht") || suffix == QStringLiteral("mhtml");
    网页框->page()->save(path, archive ? QWebEngineDownloadRequest::MimeHtmlSaveFormat
                                       : QWebEngineDownloadRequest::CompleteHtmlSaveFormat);
}

void BrowserWindow::ReportSavedPage(const QWebEngineDownloadRequest& download)
{
    if (!download.isFinished())
        return;
    const QString path =
        QDir::toNativeSeparators(QDir(download.downloadDirectory()).filePath(download.downloadFileName()));
    if (download.state() == QWebEngineDownloadRequest::DownloadCompleted) {
        SetStatusPart(0, BrowserTexts::PageSaved + path);
        return;
    }
    m_services.ShowMessage(BrowserTexts::CannotSavePage + path, MessageStyle::Ok | MessageStyle::ErrorIcon,
                           BookmarkTexts::ErrorTitle, this);
}

void BrowserWindow::ArmEscape()
{
    m_leaveFullScreen->setEnabled(全屏->isChecked() || m_stopAction->isEnabled());
}

void BrowserWindow::SetFullScreen(bool on)
{
    m_leaveFullScreen->setEnabled(on || m_stopAction->isEnabled());
    setWindowFlag(Qt::FramelessWindowHint, on);
    show();
    if (on)
        setGeometry(QRect(QPoint(0, 0), m_services.ScreenSize()));
    else
        PlaceNormally();
    // Shown anew, the window comes up over its tool windows; they go back on top of it.
    const QList<QWidget*> tools{m_codeWindow.data(), m_elementTool.data()};
    for (QWidget* tool : tools) {
        if (tool)
            tool->raise();
    }
}

void BrowserWindow::PlaceNormally()
{
    const QSize screen = m_services.ScreenSize();
    setGeometry(50, 50, screen.width() - 100, screen.height() - 100);
}

void BrowserWindow::SetEditing(bool on)
{
    网页框->page()->runJavaScript(on ? QStringLiteral("document.designMode = 'on'")
                                     : QStringLiteral("document.designMode = 'off'"));
}

void BrowserWindow::BookmarkAddress()
{
    m_globals.BookmarkFromBrowser = true;
    ChangeCategoryDialog dialog(
        m_mainWindow, {[this] { return 组合框_地址->currentText(); }, [this] { return windowTitle(); }},
        this);
    dialog.exec();
}

void BrowserWindow::OpenHistoryDialog()
{
    if (!m_historyDialog) {
        m_historyDialog = new HistoryDialog(*m_globals.Database, m_globals.SettingsFile, m_services, this);
        m_historyDialog->move(geometry().center() - m_historyDialog->rect().center());
    }
    m_historyDialog->show();
    m_historyDialog->raise();
}

void BrowserWindow::SetStatusPart(int index, const QString& text)
{
    if (index >= 0 && index < m_statusParts.size())
        m_statusParts[index]->setText(text);
}

QString BrowserWindow::StatusPart(int index) const
{
    return index >= 0 && index < m_statusParts.size() ? m_statusParts[index]->text() : QString();
}
