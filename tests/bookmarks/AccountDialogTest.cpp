#include "AccountDialog.h"
#include "BookmarkListModel.h"
#include "Collection.h"
#include "WindowProbes.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

void Fill(AccountDialog& d, const QStringList& values)
{
    QLineEdit* edits[] = {d.站名框, d.地址框, nullptr,      d.备注框,
                          d.账号框, d.密码框, d.账号标识框, d.密码标识框};
    for (int i = 0; i < 8; ++i) {
        if (edits[i])
            edits[i]->setText(values[i]);
    }
    d.类型框->setCurrentText(values[2]);
}

} // namespace

class AccountDialogTest : public QObject {
    Q_OBJECT

private:
    // 工作: 邮箱 (no login data), 网银 (login data with type digits 3 and 1).
    static MainWindow& Start(Collection& c)
    {
        c.Seed({QStringLiteral("工作")}, {{QStringLiteral("邮箱"),
                                           QStringLiteral("https://mail.cn/"),
                                           QStringLiteral("工作"),
                                           QStringLiteral("注"),
                                           {}}});
        c.Execute(QStringLiteral(
            "insert into 网址 values (null, '网银', 'https://bank.cn/', '工作', '', 'li', 'pw', "
            "'u', 'p', '3', 'go', '1', '链接')"));
        c.WriteSettings("[记录]\n当前分类=0\n");
        MainWindow& w = c.Start();
        SelectRows(w, {0});
        w.按钮2->click();
        return w;
    }

private slots:
    void tabFollowsTheLayout()
    {
        Collection c;
        MainWindow& w = Start(c);
        w.show();
        AccountDialog* d = w.OpenedAccountDialog();
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d));
        d->站名框->setFocus();
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 14; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            // An editable box's line edit has the focus on the box's behalf.
            QWidget* focused = QApplication::focusWidget();
            if (focused->parentWidget() == d->类型框)
                focused = d->类型框;
            visited.append(focused->objectName());
        }
        QCOMPARE(visited, (QStringList{"站名框", "地址框", "类型框", "备注框", "账号框", "密码框", "显示密码",
                                       "账号标识框", "密码标识框", "标识类型框", "按钮标识框", "标识类型框1",
                                       "控件类型框", "按钮3", "按钮1"}));
    }

    void opensOnTheCurrentBookmark()
    {
        Collection c;
        MainWindow& w = Start(c);
        AccountDialog* d = w.OpenedAccountDialog();
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("添加新网站账号信息"));
        QCOMPARE(d->站名框->text(), QStringLiteral("邮箱"));
        QCOMPARE(d->类型框->currentText(), QStringLiteral("工作"));
        QCOMPARE(d->备注框->text(), QStringLiteral("注"));
        QVERIFY(d->账号框->text().isEmpty());
        QCOMPARE(d->标识类型框->currentText(), QStringLiteral("0、ID"));
        QCOMPARE(d->标识类型框1->currentText(), QStringLiteral("0、ID"));
        QCOMPARE(d->控件类型框->currentIndex(), -1);
        QCOMPARE(d->密码框->echoMode(), QLineEdit::Password);
        d->显示密码->click();
        QCOMPARE(d->密码框->echoMode(), QLineEdit::Normal);

        // While it is open, choosing a row loads the dialog, not the entry panel.
        w.网站名框->clear();
        SelectRows(w, {1});
        QCOMPARE(d->站名框->text(), QStringLiteral("网银"));
        QCOMPARE(d->密码框->text(), QStringLiteral("pw"));
        QCOMPARE(d->标识类型框->currentText(), QStringLiteral("3、索引"));
        QCOMPARE(d->标识类型框1->currentText(), QStringLiteral("1、名称"));
        QCOMPARE(d->控件类型框->currentText(), QStringLiteral("链接"));
        QVERIFY(w.网站名框->text().isEmpty());
    }

    void modifyUnchangedKeepsTheDigits()
    {
        Collection c;
        MainWindow& w = Start(c);
        SelectRows(w, {1});
        w.OpenedAccountDialog()->按钮1->click();
        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text, QStringLiteral("修改成功"));
        QCOMPARE(c.services.messages[0].icon, MessageStyle::InformationIcon);
        QCOMPARE(c.Select(QStringLiteral(
                     "select 账号||密码||账号标识||密码标识||标识类型||按钮标识||按钮标识类型||控件类型 "
                     "from 网址 where 名称='网银'")),
                 QStringList{"lipwup3go1链接"});
    }

    void modifyWithANewCategoryTakesTheRowOff()
    {
        Collection c;
        MainWindow& w = Start(c);
        AccountDialog* d = w.OpenedAccountDialog();
        d->类型框->setCurrentText(QStringLiteral("私人"));
        d->账号框->setText(QStringLiteral("me"));
        d->按钮1->click();
        QCOMPARE(Names(w), QStringList{"网银"});
        QCOMPARE(CategoryEntries(w), (QStringList{"工作", "私人", "显示全部"}));
        QCOMPARE(c.Select(QStringLiteral("select 账号 from 网址 where 分类='私人'")), QStringList{"me"});
    }

    void addRefusals_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::newRow("no category") << QStringList{"站", "https://n.cn/", "", "", "a", "p", "", ""}
                                     << "请输入网站名称、地址和分类！" << 0;
        QTest::newRow("no password") << QStringList{"站", "https://n.cn/", "工作", "", "a", "", "", ""}
                                     << "请输入帐号和密码。如果是邮箱账号，不要填后缀。" << 0;
        QTest::newRow("address stored") << QStringList{"站", "https://bank.cn/", "工作", "", "a", "p", "", ""}
                                        << "此网址已经收藏过" << int(MessageStyle::ErrorIcon);
    }

    void addRefusals()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, text);
        QFETCH(int, icon);
        Collection c;
        MainWindow& w = Start(c);
        AccountDialog* d = w.OpenedAccountDialog();
        Fill(*d, values);
        d->按钮3->click();
        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text, text);
        QCOMPARE(c.services.messages[0].icon, icon);
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 网址")), QStringList{"2"});
    }

    void addStoresTheLoginData()
    {
        Collection c;
        MainWindow& w = Start(c);
        AccountDialog* d = w.OpenedAccountDialog();
        Fill(*d, {"论坛", "https://bbs.cn/", "社区", "", "zhang", "p'w", "", ""});
        d->标识类型框->setCurrentIndex(4);
        d->控件类型框->setCurrentIndex(0);
        d->按钮3->click();
        QVERIFY(c.services.messages.isEmpty());
        QCOMPARE(Names(w), (QStringList{"邮箱", "网银", "论坛"}));
        QVERIFY(w.Bookmarks().RowAt(2).hasLogin);
        QCOMPARE(c.Select(QStringLiteral(
                     "select 账号||'/'||密码||'/'||账号标识||'/'||标识类型||'/'||按钮标识类型||'/'||控件类型 "
                     "from 网址 where 名称='论坛'")),
                 QStringList{"zhang/p'w//4/0/按钮"});
        QCOMPARE(d->站名框->text(), QStringLiteral("论坛"));
    }
};

QTEST_MAIN(AccountDialogTest)
#include "AccountDialogTest.moc"
