#pragma once

#include <QDialog>

#include <functional>

class MainWindow;
class QComboBox;
class QLabel;
class QPushButton;

// The page the built-in browser shows, for bookmarking it.
struct BrowserPage {
    std::function<QString()> address;
    std::function<QString()> title;
};

// Chooses a category: to move the bookmarks selected in the main window there, or, opened from
// the browser (BookmarkFromBrowser set), to bookmark the page on show under it.
class ChangeCategoryDialog : public QDialog {
    Q_OBJECT
public:
    ChangeCategoryDialog(MainWindow& mainWindow, BrowserPage page, QWidget* owner);

    QLabel* 标签1;
    QComboBox* 组合框_类型;
    QPushButton* 按钮1;

private:
    void Confirm();
    void MoveSelectedBookmarks(const QString& category);
    void BookmarkBrowserPage(const QString& category);

    MainWindow& m_mainWindow;
    BrowserPage m_page;
    bool m_bookmarkMode;
};
