#include "MainWindow.h"

#include "AccountDialog.h"
#include "AppearanceDialog.h"
#include "BookmarkListModel.h"
#include "BookmarkListView.h"
#include "BookmarkTexts.h"
#include "BuiltInTexts.h"
#include "ColorValue.h"
#include "DatabaseFile.h"
#include "DatabaseLocationSwitch.h"
#include "FailureExplanation.h"
#include "PasswordProtectionDialog.h"
#include "Placement.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"
#include "ServerLink.h"
#include "SettingsKeys.h"
#include "SkinAttach.h"
#include "StorageNames.h"
#include "SystemKeyring.h"
#include "TextNumber.h"
#include "WorkProgress.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>

namespace {

QLabel* PlaceLabel(QWidget* parent, const QString& name, const QString& text, int left, int top, int width,
                   int height)
{
    auto* label = Place(new QLabel(text, parent), name, left, top, width, height);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

constexpr int DesignedColumnWidths[] = {105, 168, 75, 50};

QPushButton* PlaceButton(QWidget* parent, const QString& name, const QString& text, int left, int top)
{
    return Place(new QPushButton(text, parent), name, left, top, 50, 24);
}

} // namespace

MainWindow::MainWindow(ProgramGlobals& globals, RuntimeServices& services, QWidget* parent)
    : QWidget(parent), m_globals(globals), m_services(services), m_bookmarks(new BookmarkListModel(this))
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(BookmarkTexts::DesignCaption);
    setGeometry(50, 50, 520, 574);
    setMinimumSize(SmallestSize);
    m_serverLink = new ServerLink(
        *m_globals.Database, [this] { return m_globals.Settings(); }, this);
    connect(m_serverLink, &ServerLink::lost, this, [this](const QString& reason) {
        m_services.ShowMessage(FailureExplanation::Server(BookmarkTexts::CannotReachServer, reason),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
    });
    // What the user was typing when the server came back is theirs.
    connect(m_serverLink, &ServerLink::back, this, [this] { ReloadCollection(true); });
    connect(m_serverLink, &ServerLink::othersChanged, this, &MainWindow::FollowOtherChanges);
    // A server is looked at beside the window: one that does not answer shows progress and takes 取消.
    m_serverLink->SetWaiter([this](const std::function<bool()>& finished) {
        return WorkProgress(this, BookmarkTexts::ConnectingToServer, m_progressDelayMs).WaitFor(finished);
    });
    // So is the Secret Service, which may be slow to answer or wait for the user to unlock it.
    SystemKeyring::SetWaiter([this](const std::function<bool()>& finished) {
        return WorkProgress(this, BookmarkTexts::WaitingForKeyring, m_progressDelayMs).WaitFor(finished);
    });
    CreateControls();
    CreateMenus();
    ConnectEvents();
    OnCreated();
}

MainWindow::~MainWindow()
{
    OnWillBeDestroyed();
    SystemKeyring::SetWaiter({});
}

void MainWindow::CreateControls()
{
    网址框 = Place(new BookmarkListView(this), QStringLiteral("网址框"), 0, 0, 360, 392);
    m_bookmarks->SetSource(m_globals.Database.get());
    网址框->setModel(m_bookmarks);
    网址框->setRootIsDecorated(false);
    网址框->setUniformRowHeights(true);
    网址框->setAllColumnsShowFocus(true);
    网址框->setSelectionMode(QAbstractItemView::ExtendedSelection);
    网址框->setSelectionBehavior(QAbstractItemView::SelectRows);
    网址框->setEditTriggers(QAbstractItemView::NoEditTriggers);
    网址框->setContextMenuPolicy(Qt::CustomContextMenu);
    网址框->setIconSize(QSize(16, 16));
    网址框->header()->setStretchLastSection(false);
    // Columns fit the rows on screen; measuring thousands of rows on every refill costs more than it shows.
    网址框->header()->setResizeContentsPrecision(0);
    // The room the columns share is known once the list's own area has its size.
    网址框->viewport()->installEventFilter(this);
    for (int column = 0; column < BookmarkListModel::ColumnCount; ++column)
        网址框->setColumnWidth(column, DesignedColumnWidths[column]);

    标签1 = PlaceLabel(this, QStringLiteral("标签1"), BookmarkTexts::CategoryListLabel, 366, 5, 66, 15);
    列表框_分类 = Place(new QListWidget(this), QStringLiteral("列表框_分类"), 352, 21, 112, 331);
    列表框_分类->setContextMenuPolicy(Qt::CustomContextMenu);

    外形框1 = Place(new QFrame(this), QStringLiteral("外形框1"), 5, 400, 501, 80);
    标签2 = PlaceLabel(外形框1, QStringLiteral("标签2"), BookmarkTexts::NameLabel, 5, 7, 44, 20);
    网站名框 = Place(new QLineEdit(外形框1), QStringLiteral("网站名框"), 53, 7, 250, 20);
    标签3 = PlaceLabel(外形框1, QStringLiteral("标签3"), BookmarkTexts::AddressLabel, 16, 30, 32, 20);
    地址框 = Place(new QLineEdit(外形框1), QStringLiteral("地址框"), 53, 30, 250, 20);
    标签5 = PlaceLabel(外形框1, QStringLiteral("标签5"), BookmarkTexts::RemarkLabel, 16, 53, 32, 20);
    备注框 = Place(new QLineEdit(外形框1), QStringLiteral("备注框"), 53, 54, 250, 20);
    标签4 = PlaceLabel(外形框1, QStringLiteral("标签4"), BookmarkTexts::CategoryLabel, 310, 8, 32, 20);
    类型框 = Place(new QComboBox(外形框1), QStringLiteral("类型框"), 347, 8, 132, 20);
    类型框->setEditable(true);
    类型框->setInsertPolicy(QComboBox::NoInsert);
    按钮1 = PlaceButton(外形框1, QStringLiteral("按钮1"), BookmarkTexts::AddButton, 315, 37);
    按钮4 = PlaceButton(外形框1, QStringLiteral("按钮4"), BookmarkTexts::ModifyButton, 371, 37);
    按钮2 = PlaceButton(外形框1, QStringLiteral("按钮2"), BookmarkTexts::AdvancedButton, 435, 37);
}

void MainWindow::CreateMenus()
{
    操作菜单 = new QMenu(BookmarkTexts::OperationsMenu, this);
    操作菜单->setObjectName(BookmarkTexts::OperationsMenu);
    QAction* openOutside =
        操作菜单->addAction(BookmarkTexts::OpenWebPage, this, [this] { emit openBookmarkRequested(0); });
    // Enter on the list opens the bookmark as a double click does.
    auto* open = new QAction(this);
    open->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    open->setShortcutContext(Qt::WidgetShortcut);
    connect(open, &QAction::triggered, this, [this] {
        if (CurrentRow() >= 0)
            emit openBookmarkRequested(使用自带浏览器->isChecked() ? 1 : 0);
    });
    网址框->addAction(open);
    QAction* openInside = 操作菜单->addAction(BookmarkTexts::OpenInBuiltInBrowser, this,
                                              [this] { emit openBookmarkRequested(1); });
    // Enter opens as a double click does; the menu shows it beside the way it opens now. Shown
    // only: the menu's own actions fire from the menu, the list's action above takes the key.
    connect(操作菜单, &QMenu::aboutToShow, this, [this, openOutside, openInside] {
        const bool inside = 使用自带浏览器->isChecked();
        for (QAction* shown : {openOutside, openInside}) {
            shown->setShortcutContext(Qt::WidgetShortcut);
            shown->setShortcut((shown == openInside) == inside ? QKeySequence(Qt::Key_Return)
                                                               : QKeySequence());
        }
    });
    操作菜单->addAction(BookmarkTexts::ExportData, this, &MainWindow::ExportData);
    操作菜单->addAction(BookmarkTexts::ImportData, this, &MainWindow::ImportData);
    操作菜单->addAction(BookmarkTexts::ImportFromBrowsers, this, &MainWindow::ImportFromBrowsers);
    操作菜单->addSeparator();
    操作菜单->addAction(BookmarkTexts::ChangeCategory, this, &MainWindow::OpenChangeCategoryDialog);
    // The keys desktop users expect, shown in the menus. Delete and Enter act on the bookmark
    // list only: in the entry fields they keep their meaning there.
    QAction* remove =
        操作菜单->addAction(BookmarkTexts::DeleteBookmarks, this, &MainWindow::DeleteSelectedBookmarks);
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetShortcut);
    网址框->addAction(remove);
    操作菜单->addAction(BookmarkTexts::ClearData, this, &MainWindow::ClearAllData);
    操作菜单->addSeparator();
    QAction* find = 操作菜单->addAction(BookmarkTexts::FindInNames, this, &MainWindow::FindInNames);
    find->setShortcut(QKeySequence::Find);
    addAction(find);
    操作菜单->addAction(BookmarkTexts::FindInAddresses, this, &MainWindow::FindInAddresses);
    操作菜单->addSeparator();
    操作菜单->addAction(BookmarkTexts::AppearanceSettings, this, &MainWindow::OpenAppearanceDialog);
    操作菜单->addAction(BookmarkTexts::PasswordProtectionItem, this, [this] {
        PasswordProtectionDialog dialog(*m_globals.Vault, *m_globals.Database, m_services, this);
        dialog.exec();
    });
    操作菜单->addAction(BookmarkTexts::DatabaseLocationItem, this, [this] {
        DatabaseLocationSwitch(m_globals, m_services, *m_serverLink, this, m_progressDelayMs, [this] {
            ReloadCollection();
        }).Choose();
    });
    使用自带浏览器 = 操作菜单->addAction(BookmarkTexts::UseBuiltInBrowser);
    使用自带浏览器->setCheckable(true);
    // The menu flips the tick itself; ToggleBuiltInBrowser owns that, so take the click only.
    connect(使用自带浏览器, &QAction::triggered, this, [this] {
        使用自带浏览器->setChecked(!使用自带浏览器->isChecked());
        ToggleBuiltInBrowser();
    });

    分类菜单 = new QMenu(BookmarkTexts::CategoryMenu, this);
    分类菜单->setObjectName(BookmarkTexts::CategoryMenu);
    QAction* rename = 分类菜单->addAction(BookmarkTexts::RenameCategory, this, &MainWindow::RenameCategory);
    rename->setShortcut(QKeySequence(Qt::Key_F2));
    addAction(rename);
    分类菜单->addAction(BookmarkTexts::DeleteCategory, this, &MainWindow::DeleteCategory);
}

void MainWindow::ConnectEvents()
{
    connect(按钮1, &QPushButton::clicked, this, &MainWindow::AddFromEntryPanel);
    auto* add = new QAction(this);
    add->setShortcut(QKeySequence::New);
    connect(add, &QAction::triggered, 按钮1, &QPushButton::click);
    addAction(add);
    按钮1->setToolTip(BookmarkTexts::AddTip);
    按钮4->setToolTip(BookmarkTexts::ModifyTip);
    按钮2->setToolTip(BookmarkTexts::AdvancedTip);
    网址框->setToolTip(BookmarkTexts::ListTip);
    connect(按钮4, &QPushButton::clicked, this, &MainWindow::ModifyCurrentBookmark);
    connect(按钮2, &QPushButton::clicked, this, &MainWindow::OpenAccountDialog);
    for (QLineEdit* field : {网站名框, 地址框, 备注框, 类型框->lineEdit()})
        connect(field, &QLineEdit::returnPressed, this, &MainWindow::AddFromEntryPanel);

    connect(网址框->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &MainWindow::LoadCurrentBookmark);
    connect(网址框->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::LoadCurrentBookmark);
    connect(网址框, &QTreeView::doubleClicked, this, [this] {
        if (CurrentRow() >= 0)
            emit openBookmarkRequested(使用自带浏览器->isChecked() ? 1 : 0);
    });
    connect(网址框, &QWidget::customContextMenuRequested, this, [this] { 操作菜单->popup(QCursor::pos()); });

    connect(列表框_分类, &QListWidget::itemSelectionChanged, this, &MainWindow::ShowCategory);
    // Choosing the category already selected brings its view back after a search.
    const auto showAgain = [this] {
        if (m_showingMatches)
            ShowCategory();
    };
    connect(列表框_分类, &QListWidget::itemClicked, this, showAgain);
    connect(列表框_分类, &QListWidget::itemActivated, this, showAgain);
    connect(列表框_分类, &QWidget::customContextMenuRequested, this,
            [this] { 分类菜单->popup(QCursor::pos()); });
}

void MainWindow::OnCreated()
{
    const QString directory = m_services.ProgramDirectory();
    m_globals.SettingsFile = QDir(directory).filePath(SettingsFileName);

    int migrated = 0;
    const bool onServer = ServerChosen(m_globals.Settings());
    if (onServer && !m_serverLink->OpenChosen()) {
        // Nothing is written anywhere else: the lists stay empty until the server answers.
        if (!m_serverLink->GivenUp())
            m_services.ShowMessage(
                FailureExplanation::Server(BookmarkTexts::CannotReachServer, m_globals.Database->LastError()),
                MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
        m_serverLink->NoteAway();
    }
    DatabaseState state = DatabaseState::Opened;
    if (!onServer) {
        // The Windows program's database is read by a process that may take seconds on a damaged
        // file: progress and 取消 meanwhile; given up, the file waits for the next start.
        WorkProgress reading(this, BookmarkTexts::ReadingLegacyDatabase, m_progressDelayMs);
        state = PrepareDatabase(*m_globals.Database, directory, m_globals.Settings(), &migrated,
                                [&reading] { return reading.Step(0, 0); });
    }
    if (state == DatabaseState::Migrated) {
        m_services.ShowMessage(BookmarkTexts::LegacyMigrated + QString::number(migrated),
                               MessageStyle::Ok | MessageStyle::InformationIcon, {}, this);
    } else if (state == DatabaseState::UnreadableLegacy) {
        // Damaged: the file is left as it is for the user to look into; the window starts empty.
        m_services.ShowMessage(BookmarkTexts::NotALegacyDatabase +
                                   QDir::toNativeSeparators(DatabasePath(directory)),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
    } else if (state == DatabaseState::NotADatabase || state == DatabaseState::Failed) {
        // The file is left as it is; the window starts with empty lists.
        m_services.ShowMessage(BookmarkTexts::CannotOpenDatabase +
                                   QDir::toNativeSeparators(DatabasePath(directory)),
                               MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
    }

    ApplySavedAppearance();
    FillCategoryList();
    AddDefaultBookmarkIfEmpty();
    setWindowTitle(BuiltInTexts::Caption());
    使用自带浏览器->setChecked(m_globals.Settings().Read(Settings::BuiltInBrowser) == Settings::TrueText);
    LayOutMainWindow();
    SkinAttach(CarriedSkin(), m_globals.SkinEngineLoaded);
}

void MainWindow::OnWillBeDestroyed()
{
    m_globals.Database->Close();
    m_globals.Settings().Write(Settings::CurrentCategory, QString::number(SelectedCategoryRow()));
}

void MainWindow::AddDefaultBookmarkIfEmpty()
{
    if (m_bookmarks->rowCount() > 0 || !m_globals.Database->IsOpen())
        return;
    const QString address = BuiltInTexts::DefaultBookmarkAddress();
    // Once stored, it is not stored again because the category on show happens to be empty.
    if (m_globals.Database->Exists(Tables::Bookmarks, Columns::Address, QStringLiteral("地址=?"), {address}))
        return;
    BookmarkRecord bookmark;
    bookmark.name = BuiltInTexts::DefaultBookmarkName();
    bookmark.address = address;
    bookmark.category = BookmarkTexts::DefaultCategory;
    bookmark.remark = BookmarkTexts::DefaultRemark;
    AddBookmark(bookmark);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutMainWindow();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == 网址框->viewport() && event->type() == QEvent::Resize)
        FitColumns();
    return QWidget::eventFilter(watched, event);
}

void MainWindow::LayOutMainWindow()
{
    const int w = width();
    const int h = height();
    网址框->resize(w - 列表框_分类->width() - 1, h - 88);
    列表框_分类->setGeometry(网址框->width() + 1, 列表框_分类->y(), 列表框_分类->width(), h - 109);
    标签1->move(列表框_分类->x() + 2, 标签1->y());
    外形框1->move(外形框1->x(), h - 83);
    if (m_appearanceDialog)
        m_appearanceDialog->ShowWindowSize(size());
}

void MainWindow::ToggleBuiltInBrowser()
{
    使用自带浏览器->setChecked(!使用自带浏览器->isChecked());
    if (!m_globals.Settings().Write(Settings::BuiltInBrowser,
                                    使用自带浏览器->isChecked() ? Settings::TrueText : Settings::FalseText))
        ReportUnwritableFile(m_globals.SettingsFile);
}

void MainWindow::ReportUnwritableFile(const QString& path)
{
    m_services.ShowMessage(BookmarkTexts::CannotWriteFile + QDir::toNativeSeparators(path),
                           MessageStyle::Ok | MessageStyle::ErrorIcon, BookmarkTexts::ErrorTitle, this);
}

void MainWindow::FitColumns()
{
    int used = 0;
    for (int column = 0; column < BookmarkListModel::ColumnCount; ++column) {
        // An empty list (an empty search) would squeeze a column to its caption.
        if (m_bookmarks->rowCount() > 0)
            网址框->resizeColumnToContents(column);
        else
            网址框->setColumnWidth(column, DesignedColumnWidths[column]);
        used += 网址框->columnWidth(column);
    }
    const int left = 网址框->viewport()->width() - used;
    if (left > 0) {
        const int last = BookmarkListModel::ColumnCount - 1;
        网址框->setColumnWidth(last, 网址框->columnWidth(last) + left);
    }
}

AppearanceDialog* MainWindow::OpenedAppearanceDialog() const
{
    return m_appearanceDialog;
}

AccountDialog* MainWindow::OpenedAccountDialog() const
{
    return m_accountDialog;
}
