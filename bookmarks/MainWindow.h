#pragma once

#include "BookmarkListModel.h"
#include "BookmarkRecord.h"
#include "BookmarkTextFile.h"
#include "BookmarkTransfer.h"

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>

class AccountDialog;
class AppearanceDialog;
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
class WorkProgress;
class RecordTable;
struct ProgramGlobals;

// The start window and the bookmark manager. Constructing it runs the start sequence; destroying
// it stores the chosen category and closes the database. Its controls are public: the dialogs of
// the bookmark manager read and write them directly.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(ProgramGlobals& globals, RuntimeServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Below this the entry panel is cut and the lists have no room.
    static constexpr QSize SmallestSize{510, 250};

    void FillCategoryList();
    void ShowCategory();
    void FillBookmarkList(const QString& category);
    // Stores a bookmark and appends its row to the list on show; false (after telling the user)
    // when the database refused it.
    bool AddBookmark(const BookmarkRecord& bookmark);
    // "无法写入文件：path", when a file qavex keeps could not be saved.
    void ReportUnwritableFile(const QString& path);
    // The database refused a change: `failure`, or why it refused when that is known.
    void ReportRefusedChange(const QString& failure);
    // After an update of one bookmark: true (after telling the user) when the row was gone.
    bool ReportGoneRow();
    void EnsureCategory(const QString& category);
    // A category just stored: into the category list before "显示全部" and into 类型框.
    void ShowNewCategory(const QString& category);
    void LayOutMainWindow();
    // After a stored change of the bookmark in `row`: rewritten in place while it keeps its
    // category, otherwise taken off the list on show and its category registered.
    void ShowModifiedBookmark(int row, const QString& oldCategory, const BookmarkRecord& bookmark,
                              bool hasLogin);
    // Every column as wide as its text on screen (its designed width while the list is empty); the
    // room left over goes to the last one.
    void FitColumns();

    // The selected row the list reports as current, -1 when none.
    int CurrentRow() const;
    // Selected rows, ascending.
    QList<int> SelectedRows() const;
    // The selected entry of 列表框_分类, -1 when none.
    int SelectedCategoryRow() const;
    BookmarkListModel& Bookmarks() const { return *m_bookmarks; }
    ProgramGlobals& Globals() const { return m_globals; }
    RuntimeServices& Services() const { return m_services; }

    // Categories
    void RenameCategory();
    void DeleteCategory();
    void OpenChangeCategoryDialog();

    // Search: every bookmark whose name (or address) contains the text, taken literally.
    void FindInNames();
    void FindInAddresses();
    void ShowMatches(const QString& column, const QString& text);
    // The IDs of the bookmarks whose `column` contains `text`, in list order.
    std::optional<std::vector<qint64>> MatchingIds(const QString& column, const QString& text);

    // "数据库位置...": the local file or a PostgreSQL server; an empty server is offered the
    // local collection.
    // Another qavex on the server changed bookmarks or categories: the lists on show follow,
    // rewritten in place, the selection kept on the bookmarks that remain.
    void FollowOtherChanges();

    // The "|" text files
    void ExportData();
    void ImportData();
    // The bookmarks of the browsers' profiles the user ticks, in one transaction.
    void ImportFromBrowsers();
    using ImportResult = BookmarkTransfer::Result;
    // Adds the lines whose address is not stored yet, in one transaction.
    ImportResult ImportLines(const QList<BookmarkTextFile::Line>& lines);
    // The same, under a progress dialog that may be showing already.
    ImportResult ImportLines(const QList<BookmarkTextFile::Line>& lines, WorkProgress& progress);
    // "已导入 N 个网址", with what was left out and why.
    void ReportImport(const ImportResult& result, int notPages,
                      const QList<BookmarkTextFile::Skipped>& skipped = {});
    // Brings the Windows program's database into this one: what is not here yet, in one transaction.
    void MergeLegacyDatabase(const QString& path);
    // How long an import or export runs before its progress dialog shows (scripts and tests
    // shorten it).
    void SetProgressDelay(int milliseconds) { m_progressDelayMs = milliseconds; }

    // Appearance of the two lists, as the appearance dialog edits it
    QColor ListTextColor() const;
    void SetListTextColor(const QColor& color);
    QColor ListTextBackColor() const;
    void SetListTextBackColor(const QColor& color);
    QColor ListBackColor() const;
    void SetListBackColor(const QColor& color);
    QString ListFontName() const;
    int ListFontSize() const;
    void SetListFont(const QString& name, int size);
    QColor CategoryTextColor() const;
    void SetCategoryTextColor(const QColor& color);
    QColor CategoryBackColor() const;
    void SetCategoryBackColor(const QColor& color);
    QString CategoryFontName() const;
    int CategoryFontSize() const;
    void SetCategoryFont(const QString& name, int size);

    void OpenAppearanceDialog();
    void OpenAccountDialog();
    AppearanceDialog* OpenedAppearanceDialog() const;
    AccountDialog* OpenedAccountDialog() const;

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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void ConnectEvents();
    void OnCreated();
    void ReloadCollection(bool keepEntry = false);
    void OnWillBeDestroyed();
    void ApplySavedAppearance();
    void AddDefaultBookmarkIfEmpty();

    // Shows the rows of the query just made, in place of the list's rows.
    // Shows the rows of the current record set (those `keep` accepts, when given).
    void ShowRows(std::vector<qint64> ids);
    void TellListUnread();
    // Only the columns on show and the account: 100,000 rows of all twelve would be read for nothing.
    inline static const QString ShownFields = QStringLiteral("ID,名称,地址,分类,备注,账号");

    // The four fields of the entry panel, as typed.
    BookmarkRecord EnteredBookmark() const;
    void AddFromEntryPanel();
    void ModifyCurrentBookmark();
    // The condition that names the bookmark of a row of 网址框, with its value.
    std::pair<QString, QVariant> RowKey(int row) const;
    void LoadCurrentBookmark();
    void DeleteSelectedBookmarks();
    void ClearAllData();
    // The entry fields empty, when they show a bookmark that is gone.
    void ForgetDeletedEntry(const QStringList& deletedAddresses);
    void ToggleBuiltInBrowser();

    ProgramGlobals& m_globals;
    RuntimeServices& m_services;
    BookmarkListModel* m_bookmarks;
    QPointer<AppearanceDialog> m_appearanceDialog;
    QPointer<AccountDialog> m_accountDialog;
    // The list shows search matches rather than the selected category.
    bool m_showingMatches = false;
    // The search on show, followed when another program changes the collection.
    QString m_matchColumn;
    QString m_matchText;
    bool m_followingOthers = false;
    // The server's life: its losses, its coming back, other machines' changes.
    class ServerLink* m_serverLink;
    int m_progressDelayMs = 500;
};
