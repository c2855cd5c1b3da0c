#include "BookmarkListModel.h"
#include "ChangeCategoryDialog.h"
#include "Collection.h"
#include "WindowProbes.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

class CategoriesTest : public QObject {
    Q_OBJECT

private:
    // 软件下载: 默认; 工作: 邮箱, 日报.
    static MainWindow& Start(Collection& c, const QByteArray& settings = {})
    {
        c.Seed(
            {QStringLiteral("软件下载"), QStringLiteral("工作")},
            {{QStringLiteral("默认"), QStringLiteral("https://d.cn/"), QStringLiteral("软件下载"), {}, {}},
             {QStringLiteral("邮箱"), QStringLiteral("https://mail.cn/"), QStringLiteral("工作"), {}, {}},
             {QStringLiteral("日报"), QStringLiteral("https://daily.cn/"), QStringLiteral("工作"), {}, {}}});
        c.WriteSettings(settings);
        return c.Start();
    }

private slots:
    void renameCategory()
    {
        Collection c;
        MainWindow& w = Start(c, "[记录]\n当前分类=1\n");
        c.services.inputAnswers.enqueue(QStringLiteral("办'公"));
        ChooseCategoryItem(w, QStringLiteral("重命名"));
        QCOMPARE(c.services.inputPrompts, QStringList{"输入新分类名称："});
        QCOMPARE(CategoryEntries(w), (QStringList{"软件下载", "办'公", "显示全部"}));
        QCOMPARE(w.Bookmarks().Cell(0, BookmarkListModel::CategoryColumn), QStringLiteral("办'公"));
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 网址 where 分类='办''公'")), QStringList{"2"});
        QCOMPARE(c.Select(QStringLiteral("select 分类名 from 分类")), (QStringList{"软件下载", "办'公"}));
    }

    void renameOntoAnotherCategoryMergesThem()
    {
        Collection c;
        MainWindow& w = Start(c, "[记录]\n当前分类=1\n");
        c.services.inputAnswers.enqueue(QStringLiteral("软件下载"));
        ChooseCategoryItem(w, QStringLiteral("重命名"));
        QVERIFY(c.services.messages.isEmpty());
        QCOMPARE(CategoryEntries(w), (QStringList{"软件下载", "显示全部"}));
        QCOMPARE(TypeEntries(w), QStringList{"软件下载"});
        QCOMPARE(w.SelectedCategoryRow(), 0);
        QCOMPARE(Names(w), (QStringList{"默认", "邮箱", "日报"}));
        QCOMPARE(c.Select(QStringLiteral("select 分类名 from 分类")), QStringList{"软件下载"});
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 网址 where 分类='软件下载'")),
                 QStringList{"3"});
    }

    void renameAndDeleteLeaveShowAllAlone_data()
    {
        QTest::addColumn<QString>("item");
        QTest::newRow("rename") << "重命名";
        QTest::newRow("delete") << "删除";
    }

    void renameAndDeleteLeaveShowAllAlone()
    {
        QFETCH(QString, item);
        Collection c;
        MainWindow& w = Start(c);
        c.services.inputAnswers.enqueue(QStringLiteral("x"));
        c.services.messageAnswers.enqueue(MessageAnswer::Yes);
        ChooseCategoryItem(w, item);
        QVERIFY(c.services.messages.isEmpty());
        QVERIFY(c.services.inputPrompts.isEmpty());
        QCOMPARE(CategoryEntries(w), (QStringList{"软件下载", "工作", "显示全部"}));
        QCOMPARE(w.Bookmarks().rowCount(), 3);
    }

    void renameAndDeleteNeedASelection_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("message");
        QTest::newRow("rename") << "重命名"
                                << "请选择要重命名的分类";
        QTest::newRow("delete") << "删除"
                                << "请选择要删除的分类";
    }

    void renameAndDeleteNeedASelection()
    {
        QFETCH(QString, item);
        QFETCH(QString, message);
        Collection c;
        MainWindow& w = Start(c, "[记录]\n当前分类=7\n");
        ChooseCategoryItem(w, item);
        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text, message);
        QCOMPARE(c.services.messages[0].icon, 0);
    }

    void deleteCategoryDeletesItsBookmarks()
    {
        Collection c;
        MainWindow& w = Start(c, "[记录]\n当前分类=1\n");
        c.services.messageAnswers.enqueue(MessageAnswer::Yes);
        ChooseCategoryItem(w, QStringLiteral("删除"));
        QCOMPARE(c.services.messages[0].text,
                 QStringLiteral("确定删除此分类吗？\n此分类中的 2 个网址将一起删除。"));
        QCOMPARE(c.services.messages[0].icon, MessageStyle::QuestionIcon);
        QCOMPARE(c.services.messages[0].title, QStringLiteral("询问："));
        QCOMPARE(w.Bookmarks().rowCount(), 0);
        QCOMPARE(CategoryEntries(w), (QStringList{"软件下载", "显示全部"}));
        QCOMPARE(c.Select(QStringLiteral("select 名称 from 网址")), QStringList{"默认"});
        QCOMPARE(c.Select(QStringLiteral("select 分类名 from 分类")), QStringList{"软件下载"});
    }

    void moveSkipsRowsAlreadyThere()
    {
        Collection c;
        MainWindow& w = Start(c);
        // Set by an earlier bookmarking from the browser: every opening sets the mode anew.
        c.Globals().BookmarkFromBrowser = true;
        SelectRows(w, {0, 1, 2});
        QString caption;
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<ChangeCategoryDialog*>(modal);
            caption = dialog->windowTitle() + dialog->标签1->text();
            dialog->组合框_类型->setCurrentText(QStringLiteral("软件下载"));
            dialog->按钮1->click();
        });
        Choose(w, QStringLiteral("修改分类"));
        QCOMPARE(caption, QStringLiteral("修改分类选择新分类："));
        QCOMPARE(Names(w), QStringList{"默认"});
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 网址 where 分类='软件下载'")),
                 QStringList{"3"});
    }

    void moveToATypedNameDoesNotRegisterIt()
    {
        Collection c;
        MainWindow& w = Start(c, "[记录]\n当前分类=1\n");
        SelectRows(w, {1});
        ChangeCategoryDialog dialog(w, {}, &w);
        // As tall as its controls with a margin like the one above them: no empty band below.
        const int lowest =
            std::max({dialog.标签1->geometry().bottom(), dialog.组合框_类型->geometry().bottom(),
                      dialog.按钮1->geometry().bottom()});
        QVERIFY(dialog.height() > lowest);
        QVERIFY2(dialog.height() - lowest <= 2 * dialog.按钮1->y(),
                 qPrintable(QString::number(dialog.height())));
        QCOMPARE(dialog.组合框_类型->count(), 2);
        QCOMPARE(dialog.组合框_类型->currentText(), QStringLiteral("软件下载"));
        dialog.组合框_类型->setCurrentText(QString());
        dialog.按钮1->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialog.组合框_类型->setCurrentText(QStringLiteral("新名"));
        dialog.按钮1->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Names(w), QStringList{"邮箱"});
        QCOMPARE(CategoryEntries(w), (QStringList{"软件下载", "工作", "显示全部"}));
        QCOMPARE(c.Select(QStringLiteral("select 名称 from 网址 where 分类='新名'")), QStringList{"日报"});
    }

    void moveNeedsACurrentRow()
    {
        Collection c;
        MainWindow& w = Start(c);
        Choose(w, QStringLiteral("修改分类"));
        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text, QStringLiteral("请选择修改分类的的记录！"));
    }

    void bookmarkTheBrowserPage_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("message");
        QTest::newRow("new address") << "https://page.cn/" << QStringList{"默认", "邮箱", "日报", "页面标题"}
                                     << "";
        QTest::newRow("address already stored")
            << "https://mail.cn/" << QStringList{"默认", "邮箱", "日报"} << "此网址已经收藏过";
    }

    void bookmarkTheBrowserPage()
    {
        QFETCH(QString, address);
        QFETCH(QStringList, names);
        QFETCH(QString, message);
        Collection c;
        MainWindow& w = Start(c);
        c.Globals().BookmarkFromBrowser = true;
        ChangeCategoryDialog dialog(w, {[&] { return address; }, [] { return QStringLiteral("页面标题"); }},
                                    &w);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("选择分类："));
        QCOMPARE(dialog.标签1->text(), QStringLiteral("选择分类："));
        dialog.组合框_类型->setCurrentText(QStringLiteral("收藏"));
        dialog.按钮1->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Names(w), names);
        if (message.isEmpty()) {
            QVERIFY(c.services.messages.isEmpty());
            QCOMPARE(CategoryEntries(w), (QStringList{"软件下载", "工作", "收藏", "显示全部"}));
        } else {
            QCOMPARE(c.services.messages.size(), 1);
            QCOMPARE(c.services.messages[0].text, message);
            QCOMPARE(c.services.messages[0].icon, 0);
            QCOMPARE(c.services.messages[0].title, QString());
        }
    }
};

QTEST_MAIN(CategoriesTest)
#include "CategoriesTest.moc"
