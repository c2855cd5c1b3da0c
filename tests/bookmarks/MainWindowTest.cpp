#include "BookmarkListModel.h"
#include "BookmarkListView.h"
#include "BookmarkTexts.h"
#include "BuiltInTexts.h"
#include "Collection.h"
#include "IniFile.h"
#include "WindowProbes.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace {

using Message = ScriptedRuntimeServices::Message;

const QString DefaultAddress = BuiltInTexts::DefaultBookmarkAddress();

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    // Two categories; 工作 holds two bookmarks, 软件下载 the default one.
    static void SeedTwoCategories(Collection& c)
    {
        c.Seed({QStringLiteral("软件下载"), QStringLiteral("工作")},
               {{QStringLiteral("默认"), DefaultAddress, QStringLiteral("软件下载"), {}, {}},
                {QStringLiteral("邮箱"), QStringLiteral("https://mail.example.cn/"), QStringLiteral("工作"),
                 QStringLiteral("公司"), QStringLiteral("zhang")},
                {QStringLiteral("日报"),
                 QStringLiteral("https://daily.example.cn/"),
                 QStringLiteral("工作"),
                 {},
                 {}}});
    }

private slots:
    void firstStartShowsTheDefaultBookmark()
    {
        Collection c;
        MainWindow& w = c.Start();
        QCOMPARE(w.size(), QSize(520, 574));
        QCOMPARE(w.windowTitle(), BuiltInTexts::Caption());
        QCOMPARE(CategoryEntries(w), (QStringList{"软件下载", "显示全部"}));
        QCOMPARE(w.SelectedCategoryRow(), 1);
        QCOMPARE(TypeEntries(w), QStringList{"软件下载"});
        QCOMPARE(Names(w), QStringList{BuiltInTexts::DefaultBookmarkName()});
        QCOMPARE(w.Bookmarks().Cell(0, BookmarkListModel::RemarkColumn), QStringLiteral("精品软件下载站"));
        QCOMPARE(w.网址框->palette().color(QPalette::Text), QColor(0, 0, 128));
        QCOMPARE(w.网址框->palette().color(QPalette::Base), QColor(255, 255, 255));
        QCOMPARE(w.列表框_分类->palette().color(QPalette::Text), QColor(0, 0, 255));
        QCOMPARE(w.列表框_分类->palette().color(QPalette::Base), QColor(236, 236, 236));
        QVERIFY(c.services.messages.isEmpty());
        // No login data: the short insert leaves the login columns out.
        QCOMPARE(c.Select(QStringLiteral(
                     "select count(*) from 网址 where 账号 is not null or 控件类型 is not null")),
                 QStringList{"0"});
    }

    // Every command is in a right-click menu: while the rows leave room, the list says so; an
    // empty list says how to add the first bookmark.
    void listTellsANewcomerHowToBegin()
    {
        Collection c;
        MainWindow& w = c.Start();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* list = static_cast<BookmarkListView*>(w.网址框);
        QCOMPARE(Names(w).size(), 1);
        QCOMPARE(list->Hint(), BookmarkTexts::ListHint);
        QVERIFY(list->Hint().contains(QStringLiteral("右键单击")));

        SelectRows(w, {0});
        c.services.messageAnswers.enqueue(MessageAnswer::Yes);
        QTest::keyClick(w.网址框, Qt::Key_Delete);
        QVERIFY(Names(w).isEmpty());
        QCOMPARE(list->Hint(), BookmarkTexts::EmptyListHint);

        // Rows that fill the list leave no room: no hint over them.
        Collection full;
        full.Seed({QStringLiteral("多")}, {});
        full.Execute(QStringLiteral(
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < 40) "
            "insert into 网址(名称, 地址, 分类) select '站' || i, 'https://s' || i || '.cn/', '多' from n"));
        MainWindow& f = full.Start();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(Names(f).size(), 40);
        QCOMPARE(static_cast<BookmarkListView*>(f.网址框)->Hint(), QString());
    }

    void controlsCarryTheirNames()
    {
        Collection c;
        MainWindow& w = c.Start();
        const QStringList names = {"网址框",   "标签1",  "列表框_分类", "外形框1", "标签2",
                                   "网站名框", "标签3",  "地址框",      "标签5",   "备注框",
                                   "标签4",    "类型框", "按钮1",       "按钮4",   "按钮2"};
        for (const QString& name : names)
            QVERIFY2(w.findChild<QWidget*>(name), qPrintable(name));
        QCOMPARE(w.按钮1->text(), QStringLiteral("添加"));
        QCOMPARE(w.按钮4->text(), QStringLiteral("修改"));
        QCOMPARE(w.按钮2->text(), QStringLiteral("高级"));
        QStringList items;
        for (QAction* action : w.操作菜单->actions())
            items.append(action->isSeparator() ? QStringLiteral("—") : action->text());
        QCOMPARE(items,
                 (QStringList{"打开网页", "自带浏览器打开", "导出数据", "导入数据", "从浏览器导入...", "—",
                              "修改分类", "删除网址", "清空数据", "—", "在名称中查找...", "在地址中查找...",
                              "—", "设置外观...", "密码保护...", "数据库位置...", "使用自带浏览器"}));
        items.clear();
        for (QAction* action : w.分类菜单->actions())
            items.append(action->text());
        QCOMPARE(items, (QStringList{"重命名", "删除"}));
        for (int column = 0; column < 4; ++column)
            QCOMPARE(w.Bookmarks().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
                     (QStringList{"网站名称", "地址", "分类", "备注"})[column]);
    }

    void defaultBookmarkIsStoredOnce()
    {
        Collection c;
        c.Seed({QStringLiteral("软件下载"), QStringLiteral("空")},
               {{QStringLiteral("默认"), DefaultAddress, QStringLiteral("软件下载"), {}, {}}});
        c.WriteSettings("[记录]\n当前分类=1\n");
        for (int start = 0; start < 3; ++start) {
            MainWindow& w = c.Start();
            QCOMPARE(w.SelectedCategoryRow(), 1);
            QCOMPARE(w.Bookmarks().rowCount(), 0);
        }
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 网址")), QStringList{"1"});
    }

    void rememberedCategoryIsSelected_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("absent: show all") << QByteArray() << 2 << QStringList{"默认", "邮箱", "日报"};
        QTest::newRow("1: second entry")
            << QByteArray("[记录]\n当前分类=1\n") << 1 << QStringList{"邮箱", "日报"};
        QTest::newRow("2: third entry")
            << QByteArray("[记录]\n当前分类=2\n") << 2 << QStringList{"默认", "邮箱", "日报"};
        QTest::newRow("5 of 3 entries: none") << QByteArray("[记录]\n当前分类=5\n") << -1 << QStringList{};
    }

    void rememberedCategoryIsSelected()
    {
        QFETCH(QByteArray, settings);
        QFETCH(int, selected);
        QFETCH(QStringList, names);
        Collection c;
        SeedTwoCategories(c);
        c.WriteSettings(settings);
        MainWindow& w = c.Start();
        QCOMPARE(w.SelectedCategoryRow(), selected);
        QCOMPARE(Names(w), names);
    }

    // A collection whose pages are damaged midway: the list that cannot be read is said, not
    // shown empty as if every bookmark were gone.
    void unreadableListIsSaid()
    {
        Collection c;
        SeedTwoCategories(c);
        c.Execute(
            QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < 3000) "
                           "insert into 网址(名称, 地址, 分类) select 'n' || i, "
                           "'https://x' || i || '.cn/' || hex(randomblob(60)), '工作' from n"));
        QFile file(c.Path(QStringLiteral("qavex.mdb")));
        QVERIFY(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        file.seek(size / 4);
        file.write(QByteArray(int(size / 2), '\xff'));
        file.close();
        MainWindow& w = c.Start();
        w.列表框_分类->setCurrentRow(w.列表框_分类->count() - 1);
        QVERIFY(!c.services.messages.isEmpty());
        QVERIFY2(c.services.messages.last().text.startsWith(QStringLiteral("无法读取网址列表\n\n详细信息：")),
                 qPrintable(c.services.messages.last().text));
    }

    void desktopKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("onList");
        QTest::addColumn<QString>("asked");
        QTest::newRow("Delete on the list") << int(Qt::Key_Delete) << 0 << true << "确定删除选定网址吗？";
        QTest::newRow("F2 renames the category") << int(Qt::Key_F2) << 0 << false << "输入新分类名称：";
        QTest::newRow("Ctrl+F finds in names") << int(Qt::Key_F) << int(Qt::ControlModifier) << false
                                               << "输入要查找的网页名称。可为名称部分内容。";
        QTest::newRow("Ctrl+N adds what is typed")
            << int(Qt::Key_N) << int(Qt::ControlModifier) << false << "请输入网站名称、地址和分类！";
    }

    // The keys desktop users expect reach the commands of the menus; Delete in a text field stays
    // the field's.
    void desktopKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, onList);
        QFETCH(QString, asked);
        Collection c;
        SeedTwoCategories(c);
        c.WriteSettings("[记录]\n当前分类=1\n");
        MainWindow& w = c.Start();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        SelectRows(w, {0});
        w.网站名框->clear();
        QWidget* target = onList ? static_cast<QWidget*>(w.网址框) : w.网站名框;
        target->setFocus();
        c.services.messageAnswers.enqueue(MessageAnswer::No);
        c.services.inputAnswers.enqueue(std::nullopt);
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QStringList said = c.services.inputPrompts;
        for (const auto& message : c.services.messages)
            said.append(message.text);
        QVERIFY2(said.contains(asked), qPrintable(said.join(u'|')));
    }

    void closingStoresTheSelectedCategory()
    {
        Collection c;
        SeedTwoCategories(c);
        c.Start().列表框_分类->setCurrentRow(1);
        c.Stop();
        QCOMPARE(IniFile(c.Path(QStringLiteral("qavex.ini"))).Read(Settings::CurrentCategory),
                 QStringLiteral("1"));
        QCOMPARE(c.Start().SelectedCategoryRow(), 1);
    }

    void savedAppearance_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QColor>("textColor");
        QTest::addColumn<QColor>("categoryBase");
        QTest::newRow("applied") << QByteArray(
                                        "[外观]\n文本颜色=255\n宽度=600\n高框=450\n分类背景颜色=65280\n")
                                 << QSize(600, 450) << QColor(255, 0, 0) << QColor(0, 255, 0);
        QTest::newRow("empty text colour turns it all off")
            << QByteArray("[外观]\n文本颜色=\n宽度=600\n高框=450\n分类背景颜色=65280\n") << QSize(520, 574)
            << QApplication::palette().color(QPalette::Text) << QApplication::palette().color(QPalette::Base);
    }

    void savedAppearance()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QSize, size);
        QFETCH(QColor, textColor);
        QFETCH(QColor, categoryBase);
        Collection c;
        c.WriteSettings(settings);
        MainWindow& w = c.Start();
        QCOMPARE(w.size(), size);
        QCOMPARE(w.网址框->palette().color(QPalette::Text), textColor);
        QCOMPARE(w.列表框_分类->palette().color(QPalette::Base), categoryBase);
    }

    void layoutFollowsTheClientArea()
    {
        Collection c;
        MainWindow& w = c.Start();
        w.show();
        w.resize(520, 300);
        QCOMPARE(w.网址框->geometry(), QRect(0, 0, 407, 212));
        QCOMPARE(w.列表框_分类->geometry(), QRect(408, 21, 112, 191));
        QCOMPARE(w.标签1->x(), 410);
        QCOMPARE(w.外形框1->geometry(), QRect(5, 217, 501, 80));
    }

    void switchingCategories()
    {
        Collection c;
        SeedTwoCategories(c);
        MainWindow& w = c.Start();
        w.列表框_分类->setCurrentRow(1);
        QCOMPARE(Names(w), (QStringList{"邮箱", "日报"}));
        QCOMPARE(w.类型框->currentText(), QStringLiteral("工作"));
        // A row filled by the category view carries the login mark too.
        QVERIFY(w.Bookmarks().RowAt(0).hasLogin);
        QVERIFY(!w.Bookmarks().RowAt(1).hasLogin);
        w.列表框_分类->setCurrentRow(2);
        QCOMPARE(Names(w), (QStringList{"默认", "邮箱", "日报"}));
        QCOMPARE(w.类型框->currentText(), QStringLiteral("工作"));
    }

    void switchingRewritesRowsInPlace()
    {
        Collection c;
        QList<Collection::Bookmark> bookmarks;
        for (int i = 0; i < 10; ++i)
            bookmarks.append(
                {QStringLiteral("甲%1").arg(i), QStringLiteral("a%1").arg(i), QStringLiteral("甲"), {}, {}});
        for (int i = 0; i < 3; ++i)
            bookmarks.append(
                {QStringLiteral("乙%1").arg(i), QStringLiteral("b%1").arg(i), QStringLiteral("乙"), {}, {}});
        c.Seed({QStringLiteral("甲"), QStringLiteral("乙")}, bookmarks);
        c.WriteSettings("[记录]\n当前分类=0\n");
        MainWindow& w = c.Start();
        QCOMPARE(w.Bookmarks().rowCount(), 10);

        QSignalSpy resets(&w.Bookmarks(), &QAbstractItemModel::modelAboutToBeReset);
        QSignalSpy removed(&w.Bookmarks(), &QAbstractItemModel::rowsAboutToBeRemoved);
        QSignalSpy inserted(&w.Bookmarks(), &QAbstractItemModel::rowsAboutToBeInserted);
        QSignalSpy changed(&w.Bookmarks(), &QAbstractItemModel::dataChanged);
        w.列表框_分类->setCurrentRow(1);

        QCOMPARE(Names(w), (QStringList{"乙0", "乙1", "乙2"}));
        QCOMPARE(resets.count(), 0);
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed[0][1].toInt(), 3);
        QCOMPARE(removed[0][2].toInt(), 9);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].toModelIndex().row(), 0);
        QCOMPARE(changed[0][1].toModelIndex().row(), 2);
    }

    void addRefusesMissingFieldsAndDuplicates_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("title");
        const QString missing = QStringLiteral("请输入网站名称、地址和分类！");
        QTest::newRow("no name") << ""
                                 << "https://x.cn/"
                                 << "工作" << missing << 0 << "";
        QTest::newRow("no address") << "某站"
                                    << ""
                                    << "工作" << missing << 0 << "";
        QTest::newRow("no category") << "某站"
                                     << "https://x.cn/"
                                     << "" << missing << 0 << "";
        QTest::newRow("address already stored")
            << "某站"
            << "https://mail.example.cn/"
            << "工作"
            << "此网址已经收藏过" << int(MessageStyle::ErrorIcon) << "错误：";
    }

    void addRefusesMissingFieldsAndDuplicates()
    {
        QFETCH(QString, name);
        QFETCH(QString, address);
        QFETCH(QString, category);
        QFETCH(QString, text);
        QFETCH(int, icon);
        QFETCH(QString, title);
        Collection c;
        SeedTwoCategories(c);
        MainWindow& w = c.Start();
        Type(w, name, address, category, QStringLiteral("备注"));
        QTest::keyClick(w.备注框, Qt::Key_Return);

        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text, text);
        QCOMPARE(c.services.messages[0].icon, icon);
        QCOMPARE(c.services.messages[0].title, title);
        QCOMPARE(w.网站名框->text(), name);
        QCOMPARE(w.地址框->text(), address);
        QCOMPARE(w.Bookmarks().rowCount(), 3);
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 网址")), QStringList{"3"});
    }

    void addStoresAndShowsTheBookmark()
    {
        Collection c;
        SeedTwoCategories(c);
        c.WriteSettings("[记录]\n当前分类=0\n");
        MainWindow& w = c.Start();
        const QString name = QStringLiteral("O'Brien的\"站\"");
        const QString address = QStringLiteral("https://x.cn/?q='1'%_;--");
        Type(w, name, address, QStringLiteral("新分类"), QStringLiteral("备'注"));
        w.按钮1->click();

        QVERIFY(c.services.messages.isEmpty());
        // Shown although the list shows another category.
        QCOMPARE(Names(w), (QStringList{"默认", name}));
        QCOMPARE(w.Bookmarks().Cell(1, BookmarkListModel::AddressColumn), address);
        QVERIFY(w.网站名框->text().isEmpty());
        QVERIFY(w.地址框->text().isEmpty());
        QCOMPARE(w.类型框->currentText(), QStringLiteral("新分类"));
        QCOMPARE(w.备注框->text(), QStringLiteral("备'注"));
        QCOMPARE(CategoryEntries(w), (QStringList{"软件下载", "工作", "新分类", "显示全部"}));
        QCOMPARE(TypeEntries(w), (QStringList{"软件下载", "工作", "新分类"}));
        QCOMPARE(c.Select(QStringLiteral("select 名称 || '|' || 分类 || '|' || 备注 from 网址 where "
                                         "地址='https://x.cn/?q=''1''%_;--'")),
                 QStringList{name + QStringLiteral("|新分类|备'注")});

        // Enter in any entry field adds too; the category is known now and added no more.
        for (QLineEdit* field : {w.网站名框, w.地址框, w.类型框->lineEdit()}) {
            Type(w, QStringLiteral("又一个"), QStringLiteral("https://%1.cn/").arg(field->objectName()),
                 QStringLiteral("新分类"));
            QTest::keyClick(field, Qt::Key_Return);
        }
        QTest::keyClick(w.网站名框, Qt::Key_A);
        QCOMPARE(w.Bookmarks().rowCount(), 5);
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 分类 where 分类名='新分类'")),
                 QStringList{"1"});
        QCOMPARE(CategoryEntries(w).size(), 4);
    }

    void addOfLoginDataStoresAllColumnsAndMarksTheRow()
    {
        Collection c;
        MainWindow& w = c.Start();
        BookmarkRecord withAccount{QStringLiteral("网银"), QStringLiteral("https://bank.cn/"),
                                   QStringLiteral("金融"), {},
                                   QStringLiteral("li"),   QStringLiteral("p'w"),
                                   QStringLiteral("user"), QStringLiteral("pass"),
                                   QStringLiteral("0"),    QStringLiteral("go"),
                                   QStringLiteral("1"),    QStringLiteral("按钮")};
        BookmarkRecord passwordOnly;
        passwordOnly.name = QStringLiteral("论坛");
        passwordOnly.address = QStringLiteral("https://bbs.cn/");
        passwordOnly.category = QStringLiteral("金融");
        passwordOnly.password = QStringLiteral("secret");
        passwordOnly.accountId = QStringLiteral("user");
        QVERIFY(w.AddBookmark(withAccount));
        QVERIFY(w.AddBookmark(passwordOnly));
        QVERIFY(w.Bookmarks().RowAt(1).hasLogin);
        QVERIFY(!w.Bookmarks().RowAt(2).hasLogin);
        QCOMPARE(c.Select(QStringLiteral(
                     "select 账号||密码||账号标识||密码标识||标识类型||按钮标识||按钮标识类型||控件类型 "
                     "from 网址 where 分类='金融'")),
                 (QStringList{"lip'wuserpass0go1按钮", "<NULL>"}));
    }

    void modify_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("categories");
        QTest::newRow("same category: row rewritten in place")
            << "工作" << QStringList{"邮件", "日报"} << QStringList{"软件下载", "工作", "显示全部"};
        QTest::newRow("other category: row leaves the list")
            << "私人" << QStringList{"日报"} << QStringList{"软件下载", "工作", "私人", "显示全部"};
        QTest::newRow("emptied category is stored and registered")
            << "" << QStringList{"日报"} << QStringList{"软件下载", "工作", "", "显示全部"};
    }

    void modify()
    {
        QFETCH(QString, category);
        QFETCH(QStringList, names);
        QFETCH(QStringList, categories);
        Collection c;
        SeedTwoCategories(c);
        c.WriteSettings("[记录]\n当前分类=1\n");
        MainWindow& w = c.Start();
        SelectRows(w, {0});
        QCOMPARE(w.地址框->text(), QStringLiteral("https://mail.example.cn/"));
        QCOMPARE(w.备注框->text(), QStringLiteral("公司"));
        Type(w, QStringLiteral("邮件"), QStringLiteral("https://mail2.example.cn/"), category,
             QStringLiteral("新"));
        w.按钮4->click();

        QVERIFY(c.services.messages.isEmpty());
        QCOMPARE(Names(w), names);
        QCOMPARE(CategoryEntries(w), categories);
        QCOMPARE(c.Select(QStringLiteral(
                     "select 名称||分类||备注||账号 from 网址 where 地址='https://mail2.example.cn/'")),
                 QStringList{QStringLiteral("邮件") + category + QStringLiteral("新zhang")});
        QCOMPARE(w.网站名框->text(), QStringLiteral("邮件"));
    }

    // Deleted elsewhere (another qavex on the collection) after it was shown: 修改 says so, stores
    // nothing, and what was typed stays.
    void modifyOfAGoneBookmarkIsSaid()
    {
        Collection c;
        SeedTwoCategories(c);
        c.WriteSettings("[记录]\n当前分类=1\n");
        MainWindow& w = c.Start();
        SelectRows(w, {0});
        c.Execute(QStringLiteral("delete from 网址 where 地址='https://mail.example.cn/'"));
        Type(w, QStringLiteral("邮件"), QStringLiteral("https://mail2.example.cn/"), QStringLiteral("工作"),
             QStringLiteral("新"));
        w.按钮4->click();
        QCOMPARE(c.services.messages.value(0).text, QStringLiteral("此网址已被删除"));
        QVERIFY(c.Select(QStringLiteral("select 名称 from 网址 where 地址 like 'https://mail%'")).isEmpty());
        QCOMPARE(w.网站名框->text(), QStringLiteral("邮件"));
        QCOMPARE(w.地址框->text(), QStringLiteral("https://mail2.example.cn/"));
    }

    void modifyNeedsARowNameAndAddress()
    {
        Collection c;
        SeedTwoCategories(c);
        MainWindow& w = c.Start();
        w.按钮4->click();
        SelectRows(w, {1});
        w.网站名框->clear();
        w.按钮4->click();
        QCOMPARE(c.services.messages.size(), 2);
        QCOMPARE(c.services.messages[0].text, QStringLiteral("请选择要修改的记录"));
        QCOMPARE(c.services.messages[1].text, QStringLiteral("网址名称和网页地址不能为空"));
        QCOMPARE(c.services.messages[1].icon, 0);
        QCOMPARE(c.services.messages[1].title, QString());
        QCOMPARE(Names(w), (QStringList{"默认", "邮箱", "日报"}));
    }

    void deleteSelectedRows_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("yes") << MessageAnswer::Yes << QStringList{"0", "2", "5"};
        QTest::newRow("no") << MessageAnswer::No << QStringList{"0", "1", "2", "3", "4", "5"};
    }

    void deleteSelectedRows()
    {
        QFETCH(int, answer);
        QFETCH(QStringList, names);
        Collection c;
        QList<Collection::Bookmark> bookmarks;
        for (int i = 0; i < 6; ++i)
            bookmarks.append(
                {QString::number(i), QStringLiteral("https://%1.cn/").arg(i), QStringLiteral("甲"), {}, {}});
        c.Seed({QStringLiteral("甲")}, bookmarks);
        MainWindow& w = c.Start();
        SelectRows(w, {4, 1, 3});
        c.services.messageAnswers.enqueue(answer);
        Choose(w, QStringLiteral("删除网址"));

        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text, QStringLiteral("确定删除选定网址吗？"));
        QCOMPARE(c.services.messages[0].icon, MessageStyle::QuestionIcon);
        QCOMPARE(c.services.messages[0].buttons, MessageStyle::YesNo);
        QCOMPARE(c.services.messages[0].title, QStringLiteral("询问"));
        QCOMPARE(Names(w), names);
        QCOMPARE(c.Select(QStringLiteral("select 名称 from 网址")), names);
    }

    // Collections from the Windows program may hold one address twice: a row is changed and
    // deleted by its own ID, and no modification makes a second bookmark of a stored address.
    void oneAddressTwice()
    {
        Collection c;
        const QString twice = QStringLiteral("https://same.example/");
        c.Seed(
            {QStringLiteral("甲")},
            {{QStringLiteral("一"), twice, QStringLiteral("甲"), {}, {}},
             {QStringLiteral("二"), twice, QStringLiteral("甲"), {}, {}},
             {QStringLiteral("三"), QStringLiteral("https://other.example/"), QStringLiteral("甲"), {}, {}}});
        MainWindow& w = c.Start();

        SelectRows(w, {2});
        Type(w, QStringLiteral("三"), twice, QStringLiteral("甲"), {});
        w.按钮4->click();
        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text, QStringLiteral("此网址已经收藏过"));
        QCOMPARE(c.Select(QStringLiteral("select 名称 || 地址 from 网址 where 名称='三'")),
                 QStringList{"三https://other.example/"});

        SelectRows(w, {1});
        Type(w, QStringLiteral("二改"), twice, QStringLiteral("甲"), {});
        w.按钮4->click();
        QCOMPARE(c.Select(QStringLiteral("select 名称 from 网址 order by ID")),
                 (QStringList{"一", "二改", "三"}));

        c.services.messageAnswers.enqueue(MessageAnswer::Yes);
        SelectRows(w, {0});
        Choose(w, QStringLiteral("删除网址"));
        QCOMPARE(Names(w), (QStringList{"二改", "三"}));
        QCOMPARE(c.Select(QStringLiteral("select 名称 from 网址 order by ID")), (QStringList{"二改", "三"}));
    }

    void deleteWithoutSelection()
    {
        Collection c;
        MainWindow& w = c.Start();
        Choose(w, QStringLiteral("删除网址"));
        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text, QStringLiteral("请选择要删除的网址!"));
        QCOMPARE(w.Bookmarks().rowCount(), 1);
    }

    void clearAll()
    {
        Collection c;
        SeedTwoCategories(c);
        MainWindow& w = c.Start();
        c.services.messageAnswers.enqueue(MessageAnswer::Yes);
        Choose(w, QStringLiteral("清空数据"));
        QCOMPARE(
            c.services.messages[0].text,
            QStringLiteral("确定清空网址数据吗？\n全部 3 个网址和所有分类将被删除。清空前的收藏会保存在 %1，"
                           "需要时可以从那里找回。")
                .arg(c.Path(QStringLiteral("qavex.mdb.bak"))));
        QVERIFY(c.services.messages[0].secondIsDefault);
        QCOMPARE(w.Bookmarks().rowCount(), 0);
        // The way back to every bookmark stays; the deleted names are no longer on offer.
        QCOMPARE(CategoryEntries(w), QStringList{"显示全部"});
        QCOMPARE(TypeEntries(w), QStringList{});
        QCOMPARE(w.地址框->text(), QString());
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 网址")), QStringList{"0"});
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 分类")), QStringList{"0"});
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 历史地址")), QStringList{"0"});
        // The collection as it was stays beside it, for the user only.
        const QString backup = c.Path(QStringLiteral("qavex.mdb.bak"));
        QCOMPARE(int(QFile::permissions(backup) & 0x7077), int(QFile::ReadOwner | QFile::WriteOwner));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("backup"));
            db.setDatabaseName(backup);
            QVERIFY(db.open());
            QSqlQuery q(QStringLiteral("select count(*) from 网址"), db);
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toInt(), 3);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("backup"));

        Type(w, QStringLiteral("新"), QStringLiteral("https://n.cn/"), QStringLiteral("工作"));
        w.按钮1->click();
        QCOMPARE(CategoryEntries(w), (QStringList{"工作", "显示全部"}));
        QCOMPARE(Names(w), QStringList{"新"});
        QCOMPARE(c.Select(QStringLiteral("select 分类名 from 分类")), QStringList{"工作"});
    }

    void clearingWithoutABackupIsRefused()
    {
        Collection c;
        SeedTwoCategories(c);
        // Something that is no file holds the backup's name: no copy can be made.
        QVERIFY(QDir().mkpath(c.Path(QStringLiteral("qavex.mdb.bak/x"))));
        MainWindow& w = c.Start();
        c.services.messageAnswers.enqueue(MessageAnswer::Yes);
        Choose(w, QStringLiteral("清空数据"));
        QCOMPARE(c.services.messages.last().text,
                 QStringLiteral("无法备份数据库（qavex.mdb.bak），数据未清空"));
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 网址")), QStringList{"3"});
        QCOMPARE(w.Bookmarks().rowCount(), 3);
        QVERIFY(!QFile::exists(c.Path(QStringLiteral("qavex.mdb.bak.part"))));
    }

    // A database that refuses a change never shows the change as stored.
    void refusedChangesAreReported()
    {
        Collection c;
        SeedTwoCategories(c);
        c.Execute(QStringLiteral("create trigger refuse_insert before insert on 网址 when new.名称='拒绝' "
                                 "begin select raise(abort, 'refused'); end"));
        c.Execute(QStringLiteral("create trigger refuse_update before update on 网址 when new.名称='拒绝' "
                                 "begin select raise(abort, 'refused'); end"));
        c.Execute(QStringLiteral("create trigger refuse_delete before delete on 网址 when old.名称='日报' "
                                 "begin select raise(abort, 'refused'); end"));
        MainWindow& w = c.Start();

        Type(w, QStringLiteral("拒绝"), QStringLiteral("https://no.cn/"), QStringLiteral("新类"));
        w.按钮1->click();
        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text, QStringLiteral("添加失败"));
        QCOMPARE(c.services.messages[0].icon, MessageStyle::ErrorIcon);
        QCOMPARE(c.services.messages[0].title, QStringLiteral("错误："));
        QCOMPARE(w.网站名框->text(), QStringLiteral("拒绝"));
        QCOMPARE(Names(w), (QStringList{"默认", "邮箱", "日报"}));
        QCOMPARE(CategoryEntries(w).size(), 3);

        SelectRows(w, {1});
        w.网站名框->setText(QStringLiteral("拒绝"));
        w.按钮4->click();
        QCOMPARE(c.services.messages.size(), 2);
        QCOMPARE(c.services.messages[1].text, QStringLiteral("修改失败"));
        QCOMPARE(c.services.messages[1].icon, MessageStyle::ErrorIcon);
        QCOMPARE(c.services.messages[1].title, QStringLiteral("错误："));
        QCOMPARE(Names(w), (QStringList{"默认", "邮箱", "日报"}));

        SelectRows(w, {0, 1, 2});
        c.services.messageAnswers.enqueue(MessageAnswer::Yes);
        Choose(w, QStringLiteral("删除网址"));
        QCOMPARE(c.services.messages.last().text, QStringLiteral("删除网址失败，网址未全部删除"));
        QCOMPARE(Names(w), QStringList{"日报"});
        QCOMPARE(c.Select(QStringLiteral("select 名称 from 网址")), QStringList{"日报"});
    }

    // Every other change the database refuses is said, and nothing on show pretends otherwise.
    void otherRefusedWritesAreReported_data()
    {
        QTest::addColumn<QString>("refuse");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("categories");
        QTest::addColumn<QStringList>("stored");
        const QStringList before{"软件下载", "工作", "显示全部"};
        const QStringList all{"默认:软件下载", "邮箱:工作", "日报:工作"};
        QTest::newRow("rename") << "before update on 分类"
                                << "重命名"
                                << "重命名分类失败，分类未改变" << before << all;
        QTest::newRow("delete category") << "before delete on 分类"
                                         << "删除"
                                         << "删除分类失败，分类未改变" << before << all;
        QTest::newRow("clear") << "before delete on 分类"
                               << "清空数据"
                               << "清空数据失败，数据未改变" << before << all;
        QTest::newRow("move") << "before update on 网址 when new.名称='日报'"
                              << "修改分类"
                              << "修改分类失败，网址未全部移动" << before
                              << QStringList{"默认:软件下载", "邮箱:软件下载", "日报:工作"};
        QTest::newRow("import: a refused line is left out")
            << "before insert on 网址 when new.名称='拒绝'"
            << "导入数据"
            << "已导入 1 个网址，1 个已经收藏过的网址未导入，1 行无法存入数据库"
            << QStringList{"软件下载", "工作", "新类", "显示全部"} << all + QStringList{"好:新类"};
        QTest::newRow("import: a refused category")
            << "before insert on 分类"
            << "导入数据"
            << "已导入 1 个网址，1 个已经收藏过的网址未导入，1 行无法存入数据库，1 个分类无法登记" << before
            << all + QStringList{"好:新类"};
    }

    void otherRefusedWritesAreReported()
    {
        Collection c;
        SeedTwoCategories(c);
        QFETCH(QString, refuse);
        c.Execute(
            QStringLiteral("create trigger refuse %1 begin select raise(abort, 'refused'); end").arg(refuse));
        if (refuse.contains(QStringLiteral("on 分类")) && refuse.contains(QStringLiteral("insert")))
            c.Execute(QStringLiteral("create trigger refuse_line before insert on 网址 when new.名称='拒绝' "
                                     "begin select raise(abort, 'refused'); end"));
        MainWindow& w = c.Start();
        QFETCH(QString, action);
        if (action == QStringLiteral("重命名") || action == QStringLiteral("删除")) {
            w.列表框_分类->setCurrentRow(1);
            c.services.inputAnswers.enqueue(QStringLiteral("新名"));
            c.services.messageAnswers.enqueue(MessageAnswer::Yes);
            ChooseCategoryItem(w, action);
        } else if (action == QStringLiteral("修改分类")) {
            SelectRows(w, {1, 2});
            WhenModal([](QWidget* dialog) {
                dialog->findChild<QComboBox*>()->setCurrentText(QStringLiteral("软件下载"));
                QTest::keyClick(dialog, Qt::Key_Return);
            });
            Choose(w, action);
        } else if (action == QStringLiteral("导入数据")) {
            QTemporaryDir dir;
            const QString file = dir.filePath(QStringLiteral("in.txt"));
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(QStringLiteral(
                          "拒绝|https://no.cn/|新类|\r\n默认|%1|软件下载|\r\n好|https://ok.cn/|新类|\r\n")
                          .arg(DefaultAddress)
                          .toUtf8());
            out.close();
            c.services.fileAnswers.enqueue(file);
            Choose(w, action);
        } else {
            c.services.messageAnswers.enqueue(MessageAnswer::Yes);
            Choose(w, action);
        }
        QFETCH(QString, message);
        QCOMPARE(c.services.messages.last().text, message);
        QFETCH(QStringList, categories);
        QCOMPARE(CategoryEntries(w), categories);
        QFETCH(QStringList, stored);
        QCOMPARE(c.Select(QStringLiteral("select 名称 || ':' || 分类 from 网址 order by ID")), stored);
    }

    void columnsUseTheWidthTheyHave()
    {
        Collection c;
        const QString address = QStringLiteral("https://www.example.cn/") + QString(60, u'a');
        const QString remark = QStringLiteral("一条相当长的备注，写着这个网站是做什么的");
        c.Seed({QStringLiteral("工作")},
               {{QStringLiteral("长"), address, QStringLiteral("工作"), remark, {}}});
        c.WriteSettings("[记录]\n当前分类=0\n");
        MainWindow& w = c.Start();
        w.resize(1400, 500);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTreeView* list = w.网址框;
        const auto widths = [&] {
            QList<int> all;
            for (int column = 0; column < 4; ++column)
                all.append(list->columnWidth(column));
            return all;
        };
        const auto textFits = [&](int column, const QString& text) {
            return list->columnWidth(column) > QFontMetrics(list->font()).horizontalAdvance(text);
        };
        QVERIFY(textFits(BookmarkListModel::AddressColumn, address));
        QVERIFY(textFits(BookmarkListModel::RemarkColumn, remark));
        // The room left over goes to the last column, up to the right edge.
        const QList<int> shown = widths();
        QCOMPARE(shown[0] + shown[1] + shown[2] + shown[3], list->viewport()->width());

        // A bigger font: the columns follow it.
        w.SetListFont({}, 20);
        QVERIFY(textFits(BookmarkListModel::AddressColumn, address));

        // An empty search leaves the columns no narrower than designed.
        c.services.inputAnswers.enqueue(QStringLiteral("无此名"));
        Choose(w, QStringLiteral("在名称中查找..."));
        const QList<int> empty = widths();
        QVERIFY(empty[0] >= 105 && empty[1] >= 168 && empty[2] >= 75 && empty[3] >= 50);
    }

    void categoryNamesOnOfferFollowRenameAndDelete()
    {
        Collection c;
        SeedTwoCategories(c);
        MainWindow& w = c.Start();
        w.列表框_分类->setCurrentRow(1);
        c.services.inputAnswers.enqueue(QStringLiteral("办公"));
        ChooseCategoryItem(w, QStringLiteral("重命名"));
        QCOMPARE(TypeEntries(w), (QStringList{"软件下载", "办公"}));

        // The entry fields show a bookmark of the category; deleting it empties them.
        SelectRows(w, {0});
        QCOMPARE(w.地址框->text(), QStringLiteral("https://mail.example.cn/"));
        c.services.messageAnswers.enqueue(MessageAnswer::Yes);
        ChooseCategoryItem(w, QStringLiteral("删除"));
        QCOMPARE(TypeEntries(w), QStringList{"软件下载"});
        QCOMPARE(w.地址框->text(), QString());
        QCOMPARE(w.网站名框->text(), QString());
    }

    void builtInBrowserOptionIsStoredAtOnce()
    {
        Collection c;
        MainWindow& w = c.Start();
        const IniFile settings(c.Path(QStringLiteral("qavex.ini")));
        Choose(w, QStringLiteral("使用自带浏览器"));
        QVERIFY(w.使用自带浏览器->isChecked());
        QCOMPARE(settings.Read(Settings::BuiltInBrowser), QStringLiteral("真"));
        QVERIFY(c.Start().使用自带浏览器->isChecked());
        Choose(c.window(), QStringLiteral("使用自带浏览器"));
        Choose(c.window(), QStringLiteral("使用自带浏览器"));
        Choose(c.window(), QStringLiteral("使用自带浏览器"));
        QVERIFY(!c.window().使用自带浏览器->isChecked());
        QCOMPARE(settings.Read(Settings::BuiltInBrowser), QStringLiteral("假"));
        QVERIFY(!c.Start().使用自带浏览器->isChecked());
    }

    void doubleClickOpensOnlyACurrentRow()
    {
        Collection c;
        MainWindow& w = c.Start();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QSignalSpy opened(&w, &MainWindow::openBookmarkRequested);
        const QRect firstRow = w.网址框->visualRect(w.Bookmarks().index(0, 0));
        QTest::mouseClick(w.网址框->viewport(), Qt::LeftButton, {}, firstRow.center());
        QTest::mouseDClick(w.网址框->viewport(), Qt::LeftButton, {}, firstRow.center());
        QCOMPARE(opened.count(), 1);
        QCOMPARE(opened[0][0].toInt(), 0);
        w.网址框->clearSelection();
        QTest::mouseDClick(w.网址框->viewport(), Qt::LeftButton, {}, QPoint(5, firstRow.bottom() + 40));
        QCOMPARE(opened.count(), 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
