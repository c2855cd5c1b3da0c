#include "BookmarkListModel.h"
#include "BookmarkTexts.h"
#include "Collection.h"
#include "CommandLine.h"
#include "DatabaseLocationDialog.h"
#include "IniFile.h"
#include "PasswordProtectionDialog.h"
#include "RecordTable.h"
#include "ServerProxy.h"
#include "ServerSchema.h"
#include "SilentServer.h"
#include "StorageNames.h"
#include "TestServer.h"
#include "WindowProbes.h"

#include <QDialog>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {

const PrimaryPasswordCost Cheap{1, 8192};

void PointAt(Collection& c, const ServerAddress& server)
{
    c.WriteSettings(
        QStringLiteral("[数据库]\n位置=PostgreSQL 服务器\n主机=%1\n端口=%2\n数据库名=%3\n用户名=%4\n")
            .arg(server.host, QString::number(server.port), server.database, server.user)
            .toUtf8());
}

QStringList ServerColumn(const ServerAddress& server, const QString& table, const QString& column)
{
    RecordTable records;
    if (!records.OpenServer(server))
        return {QStringLiteral("<unreachable>")};
    QStringList values;
    records.ReadColumn(values, table, column, QStringLiteral("1=1 order by ID"));
    return values;
}

QStringList MessageTexts(const Collection& c)
{
    QStringList texts;
    for (const auto& message : c.services.messages)
        texts.append(message.text);
    return texts;
}

void FillServerFields(DatabaseLocationDialog& dialog, const ServerAddress& server)
{
    dialog.服务器按钮->setChecked(true);
    dialog.主机框->setText(server.host);
    dialog.端口框->setValue(server.port);
    dialog.数据库框->setText(server.database);
    dialog.用户框->setText(server.user);
}

// Picks the server in "数据库位置" as a user fills it in, once the dialog is open.
// The next 数据库位置 dialog that stands modal, past the progress dialogs before it.
void WhenLocationDialog(const std::function<void(DatabaseLocationDialog*)>& act)
{
    WhenModal([act](QWidget* modal) {
        if (auto* dialog = qobject_cast<DatabaseLocationDialog*>(modal))
            act(dialog);
        else
            QTimer::singleShot(10, [act] { WhenLocationDialog(act); });
    });
}

void ChooseServerInDialog(const ServerAddress& server)
{
    WhenModal([server](QWidget* modal) {
        auto* dialog = qobject_cast<DatabaseLocationDialog*>(modal);
        QVERIFY(dialog);
        FillServerFields(*dialog, server);
        dialog->确定按钮->click();
    });
}

QList<Collection::Bookmark> ManyBookmarks(int count)
{
    QList<Collection::Bookmark> bookmarks;
    for (int i = 0; i < count; ++i)
        bookmarks.append({QStringLiteral("第%1个").arg(i),
                          QStringLiteral("https://site%1.cn/").arg(i),
                          QStringLiteral("分类%1").arg(i % 7),
                          {},
                          {}});
    return bookmarks;
}

QStringList SevenCategories()
{
    QStringList categories;
    for (int i = 0; i < 7; ++i)
        categories.append(QStringLiteral("分类%1").arg(i));
    return categories;
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Keeps the bookmark rows in step with the others' changes, in place: no reset.
struct ResetCount {
    explicit ResetCount(MainWindow& w) : spy(&w.Bookmarks(), &QAbstractItemModel::modelReset) {}
    QSignalSpy spy;
};

} // namespace

class ServerCollectionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QAVEX_NEEDS_SERVER(); }

    void twoWindowsFollowEachOther()
    {
        const ServerAddress server = TestServer::NewCollection();
        Collection a;
        Collection b;
        PointAt(a, server);
        PointAt(b, server);
        MainWindow& wa = a.Start();
        MainWindow& wb = b.Start();
        // The first window stored the default bookmark; the second sees it on its own.
        QTRY_COMPARE_WITH_TIMEOUT(Names(wb).size(), 1, 1000);
        Type(wa, QStringLiteral("一"), QStringLiteral("https://1.cn/"), QStringLiteral("工作"));
        QTest::keyClick(wa.网站名框, Qt::Key_Return);
        Type(wa, QStringLiteral("二"), QStringLiteral("https://2.cn/"), QStringLiteral("工作"));
        QTest::keyClick(wa.网站名框, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(Names(wb).size(), 3, 1000);
        QCOMPARE(CategoryEntries(wb), (QStringList{"软件下载", "工作", "显示全部"}));
        QVERIFY(a.services.messages.isEmpty());

        // b has "二" selected and a line typed; a deletes "一" above it.
        ResetCount resets(wb);
        SelectRows(wb, {2});
        wb.备注框->setText(QStringLiteral("正在输入"));
        SelectRows(wa, {1});
        a.services.messageAnswers.enqueue(MessageAnswer::Yes);
        Choose(wa, BookmarkTexts::DeleteBookmarks);
        QTRY_COMPARE_WITH_TIMEOUT(Names(wb), (QStringList{Names(wa)}), 1000);
        QCOMPARE(Names(wb).size(), 2);
        QCOMPARE(wb.SelectedRows(), QList<int>{1});
        QCOMPARE(wb.Bookmarks().Cell(1, BookmarkListModel::NameColumn), QStringLiteral("二"));
        QCOMPARE(wb.备注框->text(), QStringLiteral("正在输入"));

        // a renames the category b shows.
        wb.列表框_分类->setCurrentRow(1);
        wa.列表框_分类->setCurrentRow(1);
        a.services.inputAnswers.enqueue(QStringLiteral("办公"));
        ChooseCategoryItem(wa, BookmarkTexts::RenameCategory);
        QTRY_COMPARE_WITH_TIMEOUT(CategoryEntries(wb), (QStringList{"软件下载", "办公", "显示全部"}), 1000);
        QCOMPARE(wb.SelectedCategoryRow(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(wb.Bookmarks().Cell(0, BookmarkListModel::CategoryColumn),
                                  QStringLiteral("办公"), 1000);
        QCOMPARE(resets.spy.count(), 0);
    }

    void othersChangesWaitForOurOwnTransaction()
    {
        const ServerAddress server = TestServer::NewCollection();
        Collection c;
        PointAt(c, server);
        MainWindow& w = c.Start();
        const int shown = Names(w).size();
        // As during an import of ours: the list holds what the transaction is doing.
        QVERIFY(w.Globals().Database->BeginTransaction());
        RecordTable other;
        QVERIFY(other.OpenServer(server));
        QVERIFY(other.Insert(
            Tables::Bookmarks, QStringLiteral("名称,地址,分类"),
            {QStringLiteral("别处"), QStringLiteral("https://other.cn/"), QStringLiteral("默认")}));
        QTest::qWait(600);
        QCOMPARE(Names(w).size(), shown);
        QVERIFY(w.Globals().Database->Commit());
        QTRY_COMPARE_WITH_TIMEOUT(Names(w).size(), shown + 1, 1000);
    }

    void sameAddressFromTwoMachinesIsStoredOnce()
    {
        const ServerAddress server = TestServer::NewCollection();
        Collection a;
        PointAt(a, server);
        MainWindow& w = a.Start();
        // Another machine stores the address between this one's check and its insert.
        RecordTable other;
        QVERIFY(other.OpenServer(server));
        QVERIFY(other.Insert(
            Tables::Bookmarks, QStringLiteral("名称,地址,分类"),
            {QStringLiteral("别处"), QStringLiteral("https://same.cn/"), QStringLiteral("默认")}));
        BookmarkRecord bookmark;
        bookmark.name = QStringLiteral("这里");
        bookmark.address = QStringLiteral("https://same.cn/");
        bookmark.category = QStringLiteral("默认");
        QVERIFY(!w.AddBookmark(bookmark));
        QCOMPARE(MessageTexts(a), QStringList{BookmarkTexts::AlreadyBookmarked});
        QCOMPARE(ServerColumn(server, Tables::Bookmarks, Columns::Name).count(QStringLiteral("这里")), 0);
        QCOMPARE(ServerColumn(server, Tables::Bookmarks, Columns::Address)
                     .count(QStringLiteral("https://same.cn/")),
                 1);
    }

    void serverAwayIsToldAndLosesNothingAcknowledged()
    {
        // At start: said, and nothing written anywhere else.
        {
            ServerAddress nowhere = TestServer::NewCollection();
            nowhere.port = 1;
            Collection c;
            PointAt(c, nowhere);
            MainWindow& w = c.Start();
            QCOMPARE(c.services.messages.size(), 1);
            // Chinese first, with what to do; libpq's own words only after.
            const QString said = c.services.messages[0].text;
            QVERIFY2(
                said.startsWith(QStringLiteral("无法连接数据库服务器：服务器拒绝连接。请确认服务器已经启动")),
                qPrintable(said));
            QVERIFY(said.indexOf(QStringLiteral("\n\n详细信息：")) > 0);
            QVERIFY(said.contains(QStringLiteral("Connection refused")));
            QVERIFY(Names(w).isEmpty());
            QVERIFY(!QFile::exists(c.Path(DatabaseFileName)));
        }
        const ServerAddress server = TestServer::NewCollection();
        Collection c;
        PointAt(c, server);
        MainWindow& w = c.Start();
        Type(w, QStringLiteral("之前"), QStringLiteral("https://before.cn/"), QStringLiteral("默认"));
        QTest::keyClick(w.网站名框, Qt::Key_Return);
        QVERIFY(c.services.messages.isEmpty());

        TestServer::DropConnections(server);
        Type(w, QStringLiteral("断开时"), QStringLiteral("https://during.cn/"), QStringLiteral("默认"));
        QTest::keyClick(w.网站名框, Qt::Key_Return);
        QTRY_COMPARE(c.services.messages.size(), 1);
        QVERIFY(c.services.messages[0].text.startsWith(QStringLiteral("无法连接数据库服务器：")));
        QVERIFY(!Names(w).contains(QStringLiteral("断开时")));
        // What was typed is still there to try again; the next try, an act of its own after the
        // window took its events, reconnects.
        QCOMPARE(w.网站名框->text(), QStringLiteral("断开时"));
        QCoreApplication::processEvents();
        QTest::keyClick(w.网站名框, Qt::Key_Return);
        QVERIFY(Names(w).contains(QStringLiteral("断开时")));
        QCOMPARE(c.services.messages.size(), 1);
        const QStringList stored = ServerColumn(server, Tables::Bookmarks, Columns::Name);
        QVERIFY(stored.contains(QStringLiteral("之前")));
        QVERIFY(stored.contains(QStringLiteral("断开时")));
        QVERIFY(!QFile::exists(c.Path(DatabaseFileName)));
    }

    // A server that goes away while the window is idle is noticed then, with its reason; every
    // act while it stays away says so again; the first act after it is back reconnects.
    void serverAwayIsSaidAtEveryAct()
    {
        const ServerAddress server = TestServer::NewCollection();
        Collection c;
        PointAt(c, server);
        MainWindow& w = c.Start();
        RecordTable admin;
        QVERIFY(admin.OpenServer(TestServer::NewDatabase()));
        TestServer::DropConnections(server);
        QVERIFY(admin.RunSchemaStatement(
            QStringLiteral("alter database %1 rename to %1_away").arg(server.database)));
        QTRY_COMPARE_WITH_TIMEOUT(c.services.messages.size(), 1, 3000);
        QVERIFY(c.services.messages[0].text.startsWith(QStringLiteral("无法连接数据库服务器：")));
        for (int act = 1; act <= 2; ++act) {
            QCoreApplication::processEvents();
            Type(w, QStringLiteral("离线%1").arg(act), QStringLiteral("https://away%1.cn/").arg(act),
                 QStringLiteral("默认"));
            QTest::keyClick(w.网站名框, Qt::Key_Return);
            QCOMPARE(c.services.messages.size(), act + 1);
            QVERIFY(c.services.messages.last().text.startsWith(
                QStringLiteral("无法连接数据库服务器：服务器上没有这个数据库。")));
            QVERIFY(c.services.messages.last().text.contains(server.database + QStringLiteral("\"")));
        }
        QVERIFY(admin.RunSchemaStatement(
            QStringLiteral("alter database %1_away rename to %1").arg(server.database)));
        QCoreApplication::processEvents();
        QTest::keyClick(w.网站名框, Qt::Key_Return);
        QCOMPARE(c.services.messages.size(), 3);
        QVERIFY(Names(w).contains(QStringLiteral("离线2")));
    }

    void serverRefusals_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("said");
        QTest::newRow("refused by the server") << "raise exception '只读的收藏'"
                                               << "添加失败\n\n详细信息：ERROR:  只读的收藏";
        QTest::newRow("connection cut during the import")
            << "perform pg_terminate_backend(pg_backend_pid())"
            << "与数据库服务器的连接中断，没有导入任何网址。请检查网络连接和服务器，然后再导入。\n\n详细信息"
               "：";
    }

    // What the server refuses is said with its reason; an import the lost server cut says that
    // nothing was imported.
    void serverRefusals()
    {
        QFETCH(QString, action);
        QFETCH(QString, said);
        const ServerAddress server = TestServer::NewCollection();
        RecordTable admin;
        QVERIFY(admin.OpenServer(server));
        QVERIFY(admin.RunSchemaStatement(
            QStringLiteral("create function refuse() returns trigger language plpgsql as $$ begin %1; "
                           "return new; end $$")
                .arg(action)));
        QVERIFY(admin.RunSchemaStatement(QStringLiteral(
            "create trigger refuse before insert on 网址 for each row when (new.名称 like '拒绝%') "
            "execute function refuse()")));
        Collection c;
        PointAt(c, server);
        MainWindow& w = c.Start();
        QFile lines(c.Path(QStringLiteral("in.txt")));
        QVERIFY(lines.open(QIODevice::WriteOnly));
        lines.write("甲|https://a.cn/|工作|\r\n拒绝|https://no.cn/|工作|\r\n");
        lines.close();
        c.services.fileAnswers.enqueue(lines.fileName());
        Choose(w, QStringLiteral("导入数据"));
        QVERIFY2(c.services.messages.value(0).text.startsWith(said),
                 qPrintable(c.services.messages.value(0).text));
        QTest::qWait(100);
        QCOMPARE(c.services.messages.size(), 1);
        QVERIFY(!ServerColumn(server, Tables::Bookmarks, Columns::Name).contains(QStringLiteral("甲")));
    }

    // 确定 on a server that cannot be reached says why and opens the dialog again with what was
    // typed; mended there, it goes on.
    void unreachableServerKeepsTheDialog()
    {
        const ServerAddress server = TestServer::NewCollection();
        ServerAddress wrong = server;
        wrong.port = 1;
        Collection c;
        MainWindow& w = c.Start();
        bool kept = false;
        WhenModal([&](QWidget* first) {
            auto* dialog = qobject_cast<DatabaseLocationDialog*>(first);
            QVERIFY(dialog);
            FillServerFields(*dialog, wrong);
            WhenModal([&](QWidget* again) {
                auto* reopened = qobject_cast<DatabaseLocationDialog*>(again);
                QVERIFY(reopened);
                kept = reopened->服务器按钮->isChecked() && reopened->数据库框->text() == server.database &&
                       reopened->端口框->value() == 1;
                reopened->端口框->setValue(server.port);
                reopened->确定按钮->click();
            });
            dialog->确定按钮->click();
        });
        Choose(w, BookmarkTexts::DatabaseLocationItem);
        QVERIFY(kept);
        QVERIFY(MessageTexts(c).value(0).startsWith(QStringLiteral("无法连接数据库服务器：")));
        QVERIFY(w.Globals().Database->IsServer());
    }

    // A server that takes the connection and never answers: 测试连接 and 确定 look at it beside the
    // window, which keeps turning, shows progress and takes 取消; the dialog keeps what was typed
    // and the collection stays where it was.
    void silentServerNeverHoldsTheWindow()
    {
        SilentServer silent;
        const ServerAddress server = silent.Address();
        Collection c;
        MainWindow& w = c.Start();
        w.SetProgressDelay(0);
        CancelProgressLater cancel;
        LoopTurns loop;
        bool kept = false;
        WhenModal([&](QWidget* first) {
            auto* dialog = qobject_cast<DatabaseLocationDialog*>(first);
            QVERIFY(dialog);
            FillServerFields(*dialog, server);
            dialog->测试连接按钮->click();
            QCOMPARE(cancel.shown, 1);
            QVERIFY(loop.turns >= 3);
            QVERIFY(c.services.messages.isEmpty());
            WhenLocationDialog([&](DatabaseLocationDialog* reopened) {
                kept = reopened->服务器按钮->isChecked() && reopened->端口框->value() == server.port;
                reopened->取消按钮->click();
            });
            dialog->确定按钮->click();
        });
        Choose(w, BookmarkTexts::DatabaseLocationItem);
        QVERIFY(kept);
        QCOMPARE(cancel.shown, 2);
        QVERIFY(c.services.messages.isEmpty());
        QVERIFY(!w.Globals().Database->IsServer());
        QVERIFY(QFile::exists(c.Path(DatabaseFileName)));
        silent.Stop();
    }

    // A chosen server that takes the connection and never answers holds neither the start nor the
    // next act: each look shows progress and takes 取消; given up, nothing is said and nothing is
    // written anywhere else, and the act that asked is refused with the reason.
    void silentChosenServerIsLookedAtBesideTheWindow()
    {
        SilentServer silent;
        const ServerAddress server = silent.Address();
        Collection c;
        PointAt(c, server);
        CancelProgressLater cancel;
        LoopTurns loop;
        MainWindow& w = c.Start();
        QCOMPARE(cancel.shown, 1);
        QVERIFY(loop.turns >= 3);
        QVERIFY(c.services.messages.isEmpty());
        QVERIFY(w.Globals().Database->IsServer());
        QVERIFY(!w.Globals().Database->IsOpen());
        QVERIFY(!QFile::exists(c.Path(DatabaseFileName)));

        Type(w, QStringLiteral("一"), QStringLiteral("https://1.cn/"), QStringLiteral("工作"));
        QTest::keyClick(w.网站名框, Qt::Key_Return);
        QCOMPARE(cancel.shown, 2);
        QCOMPARE(c.services.messages.size(), 1);
        QVERIFY(c.services.messages[0].text.startsWith(QStringLiteral("无法连接数据库服务器：")));
        QCOMPARE(w.网站名框->text(), QStringLiteral("一"));
        silent.Stop();
    }

    // A connection lost while the window is open, to a server that then takes connections and never
    // answers: the next act looks at it beside the window; given up, the act is refused with the
    // reason, what was typed stays and nothing is stored.
    void lostServerTurnedSilentNeverHoldsTheWindow()
    {
        const ServerAddress server = TestServer::NewCollection();
        ServerProxy proxy(server);
        Collection c;
        PointAt(c, proxy.Address());
        MainWindow& w = c.Start();
        QVERIFY(w.Globals().Database->IsOpen());
        proxy.GoSilent();
        QTRY_COMPARE(c.services.messages.size(), 1);

        CancelProgressLater cancel;
        // The key that closes a message standing modal (as the loss's own) is not an act to connect for.
        QDialog message(&w);
        message.setModal(true);
        QTimer::singleShot(0, &message, [&] { QTest::keyClick(&message, Qt::Key_Escape); });
        message.exec();
        QCOMPARE(cancel.shown, 0);

        LoopTurns loop;
        Type(w, QStringLiteral("二"), QStringLiteral("https://2.cn/"), QStringLiteral("工作"));
        QTest::keyClick(w.网站名框, Qt::Key_Return);
        QCOMPARE(cancel.shown, 1);
        QVERIFY(loop.turns >= 3);
        QCOMPARE(c.services.messages.size(), 2);
        QVERIFY2(c.services.messages[1].text.contains(QStringLiteral("连接已取消")),
                 qPrintable(c.services.messages[1].text));
        QCOMPARE(w.网站名框->text(), QStringLiteral("二"));
        QVERIFY(!ServerColumn(server, Tables::Bookmarks, Columns::Name).contains(QStringLiteral("二")));
    }

    void serverBackAfterStartIsUsedAtTheNextAct()
    {
        ServerAddress later = TestServer::NewDatabase();
        later.database += QStringLiteral("_later");
        Collection c;
        PointAt(c, later);
        MainWindow& w = c.Start();
        QCOMPARE(c.services.messages.size(), 1);
        Type(w, QStringLiteral("一"), QStringLiteral("https://1.cn/"), QStringLiteral("工作"));
        QTest::keyClick(w.网站名框, Qt::Key_Return);
        QCOMPARE(c.services.messages.size(), 2);
        QVERIFY(c.services.messages[1].text.startsWith(QStringLiteral("无法连接数据库服务器：")));
        QVERIFY(!QFile::exists(c.Path(DatabaseFileName)));

        // The database is there now; the next act (after the pause between tries) finds it.
        RecordTable admin;
        QVERIFY(admin.OpenServer(TestServer::NewDatabase()));
        QVERIFY(admin.RunSchemaStatement(QStringLiteral("create database ") + later.database));
        QTest::qWait(3100);
        QTest::keyClick(w.网站名框, Qt::Key_Return);
        QCOMPARE(c.services.messages.size(), 2);
        QVERIFY(Names(w).contains(QStringLiteral("一")));
        QVERIFY(ServerColumn(later, Tables::Bookmarks, Columns::Name).contains(QStringLiteral("一")));
    }

    void loginsOnTheServerNeedThePrimaryPassword()
    {
        const ServerAddress server = TestServer::NewCollection();
        Collection c;
        PointAt(c, server);
        MainWindow& w = c.Start();
        c.Globals().Vault->SetPrimaryPasswordCost(Cheap);
        BookmarkRecord bookmark;
        bookmark.name = QStringLiteral("邮箱");
        bookmark.address = QStringLiteral("https://mail.cn/");
        bookmark.category = QStringLiteral("默认");
        bookmark.account = QStringLiteral("zhang");
        bookmark.password = QStringLiteral("secret");
        QVERIFY(!w.AddBookmark(bookmark));
        QCOMPARE(c.services.messages.size(), 1);
        QVERIFY(c.services.messages[0].text.contains(QStringLiteral("主密码")));
        QVERIFY(!ServerColumn(server, Tables::Bookmarks, Columns::Name).contains(QStringLiteral("邮箱")));
        // Neither plain nor one machine's keyring will do on a server.
        QCOMPARE(c.Globals().Vault->SwitchTo(PasswordProtection::Keyring),
                 VaultError::ServerNeedsPrimaryPassword);

        QCOMPARE(c.Globals().Vault->SwitchTo(PasswordProtection::PrimaryPassword, QStringLiteral("主")),
                 VaultError::None);
        QVERIFY(w.AddBookmark(bookmark));
        const QStringList passwords = ServerColumn(server, Tables::Bookmarks, Columns::Password);
        QVERIFY(passwords.last().startsWith(QStringLiteral("qvx1:")));
        QCOMPARE(c.Globals().Vault->SwitchTo(PasswordProtection::None),
                 VaultError::ServerNeedsPrimaryPassword);
        PasswordProtectionDialog dialog(*c.Globals().Vault, *c.Globals().Database, c.services, &w);
        QVERIFY(!dialog.不保护按钮->isEnabled());
        QVERIFY(!dialog.密钥环按钮->isEnabled());
        QVERIFY(dialog.主密码按钮->isChecked());
    }

    void clearingTheServerKeepsALocalCopy()
    {
        const ServerAddress server = TestServer::NewCollection();
        Collection c;
        PointAt(c, server);
        MainWindow& w = c.Start();
        Type(w, QStringLiteral("一"), QStringLiteral("https://1.cn/"), QStringLiteral("工作"));
        QTest::keyClick(w.网站名框, Qt::Key_Return);
        c.services.messageAnswers.enqueue(MessageAnswer::Yes);
        Choose(w, BookmarkTexts::ClearData);
        QVERIFY(Names(w).isEmpty());
        QVERIFY(ServerColumn(server, Tables::Bookmarks, Columns::Name).isEmpty());
        RecordTable copy;
        QVERIFY(copy.Open(c.Path(QStringLiteral("qavex-server.mdb.bak"))));
        QStringList kept;
        copy.ReadColumn(kept, Tables::Bookmarks, Columns::Name);
        QVERIFY(kept.contains(QStringLiteral("一")));
        QVERIFY(!QFile::exists(c.Path(DatabaseFileName)));
    }

    void commandLineUsesTheChosenServer()
    {
        const ServerAddress server = TestServer::NewCollection();
        Collection c;
        PointAt(c, server);
        QFile input(c.Path(QStringLiteral("in.txt")));
        QVERIFY(input.open(QIODevice::WriteOnly));
        input.write("甲|https://jia.cn/|工作|\n乙|https://yi.cn/|工作|\n");
        input.close();
        QCOMPARE(CommandLine::Run({QStringLiteral("--import"), input.fileName()}, c.Path({})), 0);
        QCOMPARE(ServerColumn(server, Tables::Bookmarks, Columns::Name), (QStringList{"甲", "乙"}));
        QCOMPARE(
            CommandLine::Run({QStringLiteral("--export"), c.Path(QStringLiteral("out.txt"))}, c.Path({})), 0);
        QFile output(c.Path(QStringLiteral("out.txt")));
        QVERIFY(output.open(QIODevice::ReadOnly));
        QVERIFY(output.readAll().contains("https://yi.cn/"));
        QVERIFY(!QFile::exists(c.Path(DatabaseFileName)));

        ServerAddress nowhere = server;
        nowhere.port = 1;
        PointAt(c, nowhere);
        QCOMPARE(
            CommandLine::Run({QStringLiteral("--export"), c.Path(QStringLiteral("out2.txt"))}, c.Path({})),
            1);
        QVERIFY(!QFile::exists(c.Path(QStringLiteral("out2.txt"))));
    }

    void localCollectionIsCopiedUp()
    {
        Collection c;
        QList<Collection::Bookmark> bookmarks = ManyBookmarks(10000);
        // The Windows program allowed an address twice; the server keeps the first.
        bookmarks.append(
            {QStringLiteral("重复"), QStringLiteral("https://site5.cn/"), QStringLiteral("分类0"), {}, {}});
        const QStringList categories = SevenCategories();
        c.Seed(categories, bookmarks);
        const QByteArray localBefore = FileBytes(c.Path(DatabaseFileName));
        MainWindow& w = c.Start();
        w.SetProgressDelay(0);
        const ServerAddress server = TestServer::NewDatabase();
        c.services.messageAnswers.enqueue(MessageAnswer::Yes); // copy the collection up
        ChooseServerInDialog(server);
        Choose(w, BookmarkTexts::DatabaseLocationItem);

        QVERIFY2(MessageTexts(c).size() == 3, qPrintable(MessageTexts(c).join(u'|')));
        QCOMPARE(MessageTexts(c)[0], BookmarkTexts::OfferCopyUp.arg(10001));
        QCOMPARE(MessageTexts(c)[1],
                 BookmarkTexts::CopiedUp.arg(10000).arg(7).arg(0) + BookmarkTexts::CopiedUpRepeated.arg(1));
        QVERIFY(MessageTexts(c)[2].startsWith(QStringLiteral("收藏现在保存在")));
        QCOMPARE(ServerColumn(server, Tables::Bookmarks, Columns::Name).size(), 10000);
        QCOMPARE(ServerColumn(server, Tables::Categories, Columns::CategoryName), categories);
        QCOMPARE(IniFile(c.Path(SettingsFileName)).Read(Settings::DatabaseLocation),
                 Settings::ServerLocation);
        QVERIFY(!IniFile(c.Path(SettingsFileName)).Read(Settings::ServerHost).isEmpty());
        QVERIFY(w.Globals().Database->IsServer());
        QCOMPARE(CategoryEntries(w).size(), 8);
        // The local file is as it was.
        QVERIFY(FileBytes(c.Path(DatabaseFileName)) == localBefore);

        // A second machine starting on the server sees the same collection.
        Collection other;
        PointAt(other, server);
        MainWindow& second = other.Start();
        QCOMPARE(CategoryEntries(second), CategoryEntries(w));
    }

    // 取消 during the copy keeps nothing of it: the server has no collection, qavex.ini still
    // chooses the local file, which is as it was, and the window shows it.
    void copyUpCancelledKeepsBothAsTheyWere()
    {
        Collection c;
        c.Seed(SevenCategories(), ManyBookmarks(10000));
        const QByteArray localBefore = FileBytes(c.Path(DatabaseFileName));
        const QByteArray settingsBefore = FileBytes(c.Path(SettingsFileName));
        MainWindow& w = c.Start();
        w.SetProgressDelay(0);
        const ServerAddress server = TestServer::NewDatabase();
        c.services.messageAnswers.enqueue(MessageAnswer::Yes);
        CancelProgressLater cancel(0, BookmarkTexts::CopyingUp);
        LoopTurns loop;
        ChooseServerInDialog(server);
        Choose(w, BookmarkTexts::DatabaseLocationItem);
        QCOMPARE(cancel.shown, 1);
        QVERIFY(loop.turns >= 1);
        QCOMPARE(MessageTexts(c), QStringList{BookmarkTexts::OfferCopyUp.arg(10000)});
        QCOMPARE(ServerColumn(server, Tables::Bookmarks, Columns::Name), QStringList());
        QVERIFY(FileBytes(c.Path(SettingsFileName)) == settingsBefore);
        QVERIFY(!w.Globals().Database->IsServer());
        QCOMPARE(Names(w).size(), 10000);
        w.Globals().Database->Close();
        QVERIFY(FileBytes(c.Path(DatabaseFileName)) == localBefore);
    }

    void plainPasswordsAreNotCopiedUp()
    {
        Collection c;
        c.Seed({QStringLiteral("默认")}, {{QStringLiteral("邮箱"),
                                           QStringLiteral("https://mail.cn/"),
                                           QStringLiteral("默认"),
                                           {},
                                           QStringLiteral("zhang")}});
        c.Execute(QStringLiteral("update 网址 set 密码='plain'"));
        MainWindow& w = c.Start();
        const ServerAddress server = TestServer::NewDatabase();
        c.services.messageAnswers.enqueue(MessageAnswer::Yes);
        ChooseServerInDialog(server);
        Choose(w, BookmarkTexts::DatabaseLocationItem);
        QCOMPARE(MessageTexts(c),
                 (QStringList{BookmarkTexts::OfferCopyUp.arg(1), BookmarkTexts::CopyUpNeedsPrimaryPassword}));
        RecordTable records;
        QVERIFY(records.OpenServer(server));
        QVERIFY(ServerSchema::IsEmpty(records));
        QVERIFY(!w.Globals().Database->IsServer());
        QCOMPARE(IniFile(c.Path(SettingsFileName)).Read(Settings::DatabaseLocation), Settings::LocalLocation);
    }
};

QTEST_MAIN(ServerCollectionTest)
#include "ServerCollectionTest.moc"
