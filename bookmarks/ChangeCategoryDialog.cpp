#include "ChangeCategoryDialog.h"

#include "BookmarkListModel.h"
#include "BookmarkTexts.h"
#include "MainWindow.h"
#include "ProgramGlobals.h"
#include "RuntimeServices.h"
#include "StorageNames.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

ChangeCategoryDialog::ChangeCategoryDialog(MainWindow& mainWindow, BrowserPage page, QWidget* owner)
    : QDialog(owner), m_mainWindow(mainWindow), m_page(std::move(page)),
      m_bookmarkMode(mainWindow.Globals().BookmarkFromBrowser)
{
    setObjectName(QStringLiteral("ChangeCategoryDialog"));
    setWindowTitle(BookmarkTexts::ChangeCategoryCaption);
    // 345 x 83 is the whole Windows window; its caption and frame take 33 of the height, and here
    // the window manager draws those outside this size.
    setFixedSize(345, 50);
    setModal(true);

    标签1 = new QLabel(BookmarkTexts::ChooseNewCategory, this);
    标签1->setObjectName(QStringLiteral("标签1"));
    标签1->setGeometry(14, 18, 72, 16);
    组合框_类型 = new QComboBox(this);
    组合框_类型->setObjectName(QStringLiteral("组合框_类型"));
    组合框_类型->setGeometry(88, 15, 160, 20);
    组合框_类型->setEditable(true);
    组合框_类型->setInsertPolicy(QComboBox::NoInsert);
    按钮1 = new QPushButton(BookmarkTexts::OkButton, this);
    按钮1->setObjectName(QStringLiteral("按钮1"));
    按钮1->setGeometry(260, 12, 64, 26);
    按钮1->setDefault(true);
    connect(按钮1, &QPushButton::clicked, this, &ChangeCategoryDialog::Confirm);

    const QListWidget* categories = mainWindow.列表框_分类;
    for (int i = 0; i < categories->count(); ++i) {
        if (categories->item(i)->text() != BookmarkTexts::ShowAll)
            组合框_类型->addItem(categories->item(i)->text());
    }
    组合框_类型->setCurrentIndex(0);
    if (m_bookmarkMode) {
        setWindowTitle(BookmarkTexts::ChooseCategory);
        标签1->setText(BookmarkTexts::ChooseCategory);
    }
}

void ChangeCategoryDialog::Confirm()
{
    const QString category = 组合框_类型->currentText();
    if (category.isEmpty())
        return;
    if (m_bookmarkMode)
        BookmarkBrowserPage(category);
    else
        MoveSelectedBookmarks(category);
    accept();
}

void ChangeCategoryDialog::MoveSelectedBookmarks(const QString& category)
{
    RecordTable& database = *m_mainWindow.Globals().Database;
    BookmarkListModel& bookmarks = m_mainWindow.Bookmarks();
    const QList<int> rows = m_mainWindow.SelectedRows();
    const bool inTransaction = database.BeginTransaction();
    QList<int> moved; // descending
    bool refused = false;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        if (bookmarks.Cell(*it, BookmarkListModel::CategoryColumn) == category)
            continue;
        if (database.Update(Tables::Bookmarks, QStringLiteral("分类=?"), QStringLiteral("地址=?"),
                            {category, bookmarks.Cell(*it, BookmarkListModel::AddressColumn)}))
            moved.append(*it);
        else
            refused = true;
    }
    if (inTransaction && !database.Commit()) {
        database.Rollback();
        moved.clear();
        refused = true;
    }
    if (refused)
        m_mainWindow.Services().ShowMessage(BookmarkTexts::MoveFailed,
                                            MessageStyle::Ok | MessageStyle::ErrorIcon,
                                            BookmarkTexts::ErrorTitle, this);
    // They no longer belong to the category on show.
    bookmarks.RemoveRows(moved);
}

void ChangeCategoryDialog::BookmarkBrowserPage(const QString& category)
{
    const QString address = m_page.address ? m_page.address() : QString();
    RuntimeServices& services = m_mainWindow.Services();
    if (m_mainWindow.Globals().Database->Exists(Tables::Bookmarks, Columns::Address, QStringLiteral("地址=?"),
                                                {address})) {
        services.ShowMessage(BookmarkTexts::AlreadyBookmarked, MessageStyle::Ok, {}, this);
        return;
    }
    BookmarkRecord bookmark;
    bookmark.name = m_page.title ? m_page.title() : QString();
    bookmark.address = address;
    bookmark.category = category;
    m_mainWindow.AddBookmark(bookmark);
}
