#include "BrowserProfiles.h"
#include "BrowserImportDialog.h"
#include "Collection.h"
#include "ForeignDatabase.h"
#include "WindowProbes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList Rows(const QList<BookmarkTextFile::Line>& lines)
{
    QStringList rows;
    for (const BookmarkTextFile::Line& line : lines)
        rows.append(line.name + u'|' + line.address + u'|' + line.category);
    return rows;
}

QByteArray Digest(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

} // namespace

class BrowserProfilesTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QString m_places;

    // The tables of a places database that hold bookmarks and folders, as their browser makes them.
    void MakePlaces()
    {
        const QString dir = m_home.filePath(QStringLiteral(".mozilla/firefox/abc.default-release"));
        QVERIFY(QDir().mkpath(dir));
        m_places = QDir(dir).filePath(QStringLiteral("places.sqlite"));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
        db.setDatabaseName(m_places);
        QVERIFY(db.open());
        QSqlQuery q(db);
        const QStringList statements = {
            "create table moz_places (id integer primary key, url text, title text)",
            "create table moz_bookmarks (id integer primary key, type integer, fk integer, parent integer, "
            "position integer, title text, guid text)",
            "insert into moz_places values (1, 'https://mail.cn/', null), (2, 'https://a.cn/', null), "
            "(3, 'place:sort=8', null), (4, 'https://deep.cn/', null)",
            "insert into moz_bookmarks values "
            "(1, 2, null, 0, 0, '', 'root________'), (2, 2, null, 1, 0, 'menu', 'menu________'), "
            "(3, 2, null, 1, 1, 'toolbar', 'toolbar_____'), (4, 2, null, 1, 2, 'tags', 'tags________'), "
            "(5, 2, null, 1, 3, 'unfiled', 'unfiled_____'), "
            "(10, 2, null, 3, 0, '工作', 'f1'), (11, 2, null, 10, 0, '邮箱', 'f2'), "
            "(20, 1, 1, 11, 0, '公司邮件', 'b1'), (21, 1, 2, 2, 0, '甲站', 'b2'), (22, 1, 3, 5, 0, '最近', "
            "'b3'), "
            "(30, 2, null, 4, 0, '标签', 't1'), (31, 1, 1, 30, 0, '', 'b4'), (32, 1, 4, 11, 1, '深处', 'b5')",
        };
        for (const QString& statement : statements)
            QVERIFY2(q.exec(statement), qPrintable(q.lastError().text()));
    }

    static void MakeDatabase(const QString& path, const QStringList& statements)
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("made"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            for (const QString& statement : statements)
                QVERIFY2(q.exec(statement), qPrintable(q.lastError().text()));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("made"));
    }

    void MakeJson()
    {
        const QString dir = m_home.filePath(QStringLiteral(".config/chromium/Default"));
        QVERIFY(QDir().mkpath(dir));
        QFile file(QDir(dir).filePath(QStringLiteral("Bookmarks")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        // Written with single quotes for readability; JSON wants double ones.
        file.write(QByteArray("{'checksum': '0', 'version': 1, 'roots': { "
                              "'bookmark_bar': {'type': 'folder', 'name': '书签栏', 'children': [ "
                              "{'type': 'url', 'name': '乙站', 'url': 'https://b.cn/'}, "
                              "{'type': 'folder', 'name': '新闻', 'children': [ "
                              "{'type': 'url', 'name': '日报', 'url': 'https://daily.cn/'}, "
                              "{'type': 'folder', 'name': '国内', 'children': [ "
                              "{'type': 'url', 'name': '脚本', 'url': 'javascript:void(0)'}]}]}]}, "
                              "'other': {'type': 'folder', 'name': '其他书签', 'children': [ "
                              "{'type': 'url', 'name': '丙站', 'url': 'https://c.cn/'}]}, "
                              "'synced': {'type': 'folder', 'name': '移动设备书签', 'children': []}}} ")
                       .replace('\'', '"'));
    }

private slots:
    void initTestCase()
    {
        MakePlaces();
        MakeJson();
        // A file in the profile that is not a bookmark store is passed over.
        QVERIFY(QDir().mkpath(m_home.filePath(QStringLiteral(".config/vivaldi/Default"))));
        QFile broken(m_home.filePath(QStringLiteral(".config/vivaldi/Default/Bookmarks")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("{ not json");
    }

    void profilesAreFoundWithTheirCounts()
    {
        const QList<BrowserProfile> profiles = FindBrowserProfiles(m_home.path());
        QCOMPARE(profiles.size(), 2);
        QCOMPARE(profiles[0].browser, QStringLiteral("Firefox"));
        QCOMPARE(profiles[0].name, QStringLiteral("abc.default-release"));
        QCOMPARE(profiles[0].bookmarkCount, 3);
        QCOMPARE(profiles[1].browser, QStringLiteral("Chromium"));
        QCOMPARE(profiles[1].name, QStringLiteral("Default"));
        QCOMPARE(profiles[1].bookmarkCount, 3);
    }

    void foldersBecomeCategories()
    {
        const QList<BrowserProfile> profiles = FindBrowserProfiles(m_home.path());
        const BookmarkHtmlFile::Contents places = ReadBrowserProfile(profiles[0]).value();
        // Tags are no folders; the top folders are not part of the names.
        QCOMPARE(Rows(places.lines),
                 (QStringList{"甲站|https://a.cn/|导入的书签", "公司邮件|https://mail.cn/|工作/邮箱",
                              "深处|https://deep.cn/|工作/邮箱"}));
        QCOMPARE(places.notPages, 1);
        const BookmarkHtmlFile::Contents json = ReadBrowserProfile(profiles[1]).value();
        QCOMPARE(Rows(json.lines),
                 (QStringList{"乙站|https://b.cn/|导入的书签", "日报|https://daily.cn/|新闻",
                              "丙站|https://c.cn/|导入的书签"}));
        QCOMPARE(json.notPages, 1);
    }

    void hostilePlaces_data()
    {
        QTest::addColumn<QStringList>("statements");
        const QString places = QStringLiteral("create table moz_places (id integer primary key, url text)");
        const QString bookmarks = QStringLiteral("create table moz_bookmarks (id integer primary key, type "
                                                 "integer, fk integer, parent integer, position integer, "
                                                 "title text, guid text)");
        QTest::newRow("endless recursive view") << QStringList{
            places, "create view moz_bookmarks as with recursive r(id, type, fk, parent, position, "
                    "title, guid) as (select 1, 1, 1, 0, 0, 'x', 'g' union all select id + 1, "
                    "1, 1, 0, 0, hex(zeroblob(1000)), 'g' from r) select * from r"};
        QTest::newRow("view of places") << QStringList{bookmarks, "create view moz_places as select 1 as id, "
                                                                  "'https://a.cn/' as url"};
        QTest::newRow("columns missing")
            << QStringList{places, "create table moz_bookmarks (id integer primary key, title text)"};
        QTest::newRow("no tables") << QStringList{"create table other (x)"};
    }

    // A profile's database made to hang, to fill the disk or to pass for another shape is refused
    // at once, and never listed.
    void hostilePlaces()
    {
        QFETCH(QStringList, statements);
        QTemporaryDir home;
        const QString dir = home.filePath(QStringLiteral(".mozilla/firefox/evil.default"));
        QVERIFY(QDir().mkpath(dir));
        const QString path = QDir(dir).filePath(QStringLiteral("places.sqlite"));
        MakeDatabase(path, statements);
        QVERIFY(FindBrowserProfiles(home.path()).isEmpty());
        QVERIFY(!ReadBrowserProfile(
            {QStringLiteral("Firefox"), QStringLiteral("evil.default"), path, BrowserProfile::Kind::Places}));
    }

    // A real table too large to read in time: the reading stops at its deadline or when cancelled.
    void slowReadingStops()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("places.sqlite"));
        MakeDatabase(path, {QStringLiteral("create table t (x)"),
                            QStringLiteral("with recursive r(i) as (select 1 union all select i + 1 from r "
                                           "where i < 100000) insert into t select i from r")});
        const QString cross = QStringLiteral("select count(*) from t a, t b");
        ForeignDatabase timed(path, nullptr, {.timeMs = 200});
        QVERIFY(!timed.ForEachRow(cross, [](const QStringList&) {}));
        std::atomic<bool> cancelled = true;
        ForeignDatabase stopped(path, &cancelled);
        QVERIFY(!stopped.ForEachRow(cross, [](const QStringList&) {}));
        ForeignDatabase limited(path, nullptr, {.rows = 10});
        QVERIFY(!limited.ForEachRow(QStringLiteral("select x from t"), [](const QStringList&) {}));
        QVERIFY(limited.ForEachRow(QStringLiteral("select x from t limit 10"), [](const QStringList&) {}));
    }

    // The browser runs: its database is locked and being written. It is read from a copy, untouched.
    void openProfileIsReadFromACopy()
    {
        QSqlDatabase browser =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("browser"));
        browser.setDatabaseName(m_places);
        QVERIFY(browser.open());
        QSqlQuery q(browser);
        QVERIFY(q.exec(QStringLiteral("pragma locking_mode=exclusive")));
        QVERIFY(q.exec(QStringLiteral("begin exclusive")));
        QVERIFY(q.exec(QStringLiteral("update moz_bookmarks set title='改' where id=21")));
        const QByteArray before = Digest(m_places);
        const QStringList files = QDir(QFileInfo(m_places).path()).entryList(QDir::Files);

        const QList<BrowserProfile> profiles = FindBrowserProfiles(m_home.path());
        QCOMPARE(profiles.size(), 2);
        QCOMPARE(Rows(ReadBrowserProfile(profiles[0]).value().lines).first(),
                 QStringLiteral("甲站|https://a.cn/|导入的书签"));
        QCOMPARE(Digest(m_places), before);
        QCOMPARE(QDir(QFileInfo(m_places).path()).entryList(QDir::Files), files);
        QVERIFY(q.exec(QStringLiteral("rollback")));
    }

    void chosenProfilesAreImported()
    {
        qputenv("HOME", m_home.path().toUtf8());
        Collection c;
        MainWindow& w = c.Start();
        bool listed = false;
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<BrowserImportDialog*>(modal);
            listed = dialog && dialog->列表框_浏览器->count() == 2 &&
                     dialog->列表框_浏览器->item(0)->text() ==
                         QStringLiteral("Firefox – abc.default-release（3 个书签）");
            // Only the second one.
            dialog->列表框_浏览器->item(0)->setCheckState(Qt::Unchecked);
            dialog->按钮_导入->click();
        });
        Choose(w, QStringLiteral("从浏览器导入..."));
        QVERIFY(listed);
        QCOMPARE(c.services.messages.last().text,
                 QStringLiteral("已导入 3 个网址，1 个不是网页的地址未导入"));
        QCOMPARE(c.Select(QStringLiteral(
                     "select 名称||'|'||地址||'|'||分类 from 网址 where 地址 like '%.cn/' order by ID")),
                 (QStringList{"乙站|https://b.cn/|导入的书签", "日报|https://daily.cn/|新闻",
                              "丙站|https://c.cn/|导入的书签"}));

        // Nothing found: said, no dialog.
        QTemporaryDir empty;
        qputenv("HOME", empty.path().toUtf8());
        Choose(w, QStringLiteral("从浏览器导入..."));
        QCOMPARE(c.services.messages.last().text, QStringLiteral("没有在本机找到浏览器的书签"));
    }
};

QTEST_MAIN(BrowserProfilesTest)
#include "BrowserProfilesTest.moc"
