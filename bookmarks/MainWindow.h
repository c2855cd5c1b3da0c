#pragma once

#include "BookmarkRecord.h"

#include <QWidget>

class BookmarkListModel;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTreeView;
class RuntimeServices;
struct ProgramGlobals;

// The start window and the bookmark manager. Constructing it runs the start sequence; destroying
// it stores the chosen category and closes the database. Its controls are public: the dialogs of
// the bookmark manager read and write them directly.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(ProgramGlobals& globals, RuntimeServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    void FillCategoryList();
    void ShowCategory();
    void FillBookmarkList(const QString& category);
    // Stores a bookmark and appends its row to the list on show; false (after telling the user)
    // when the database refused it.
    bool AddBookmark(const BookmarkRecord& bookmark);
    void EnsureCategory(const QString& category);
    void LayOutMainWindow();

    // The selected row the list reports as current, -1 when none.
    int CurrentRow() const;
    // Selected rows, ascending.
    QList<int> SelectedRows() const;
    // The selected entry of 列表框_分类, -1 when none.
    int SelectedCategoryRow() const;
    BookmarkListModel& Bookmarks() const { return *m_bookmarks; }

    QTreeView* 网址框;
    QLabel* 标签1;
    QListWidget* 列表框_分类;
    QFrame* 外形框1;
    QLabel* 标签2;
    QLineEdit* 网站名框;
    QLabel* 标签3;
    QLineEdit* 地址框;
    QLabel* 标签5;
    QLineEdit* 备注框;
    QLabel* 标签4;
    QComboBox* 类型框;
    QPushButton* 按钮1;
    QPushButton* 按钮4;
    QPushButton* 按钮2;

    QMenu* 操作菜单;
    QMenu* 分类菜单;
    QAction* 使用自带浏览器;

signals:
    // A bookmark is to be opened: in the built-in browser (mode 1) or the default one (any other).
    void openBookmarkRequested(int mode);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void ConnectEvents();
    void OnCreated();
    void OnWillBeDestroyed();
    void ApplySavedAppearance();
    void AddDefaultBookmarkIfEmpty();

    void AddFromEntryPanel();
    void ModifyCurrentBookmark();
    void LoadCurrentBookmark();
    void DeleteSelectedBookmarks();
    void ClearAllData();
    void ToggleBuiltInBrowser();
    void FitColumns(std::initializer_list<int> columns);

    ProgramGlobals& m_globals;
    RuntimeServices& m_services;
    BookmarkListModel* m_bookmarks;
};
