#include "BookmarkHtmlFile.h"
#include "BookmarkListModel.h"
#include "BookmarkTextFile.h"
#include "Collection.h"
#include "Requirement.h"
#include "WindowProbes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>

#include <sqlite3.h>

namespace {

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

QStringList Bookmarks(Collection& c)
{
    return c.Select(
        QStringLiteral("select 名称||'|'||地址||'|'||分类||'|'||ifnull(备注,'') from 网址 order by ID"));
}

// Counts the times the bookmark list is read from the window's database while it lives.
class ListReads {
public:
    ListReads()
    {
        QString newest;
        for (const QString& name : QSqlDatabase::connectionNames()) {
            if (name.startsWith(QStringLiteral("qavex-records-")) &&
                name.mid(14).toInt() > newest.mid(14).toInt())
                newest = name;
        }
        const QVariant handle = QSqlDatabase::database(newest, false).driver()->handle();
        m_db = *static_cast<sqlite3* const*>(handle.constData());
        sqlite3_trace_v2(m_db, SQLITE_TRACE_STMT, &ListReads::Seen, this);
    }
    ~ListReads() { sqlite3_trace_v2(m_db, 0, nullptr, nullptr); }
    ListReads(const ListReads&) = delete;
    ListReads& operator=(const ListReads&) = delete;

    int count = 0;

private:
    static int Seen(unsigned, void* self, void* statement, void*)
    {
        const QString sql = QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
        if (sql.startsWith(QStringLiteral("select ID from 网址")))
            ++static_cast<ListReads*>(self)->count;
        return 0;
    }

    sqlite3* m_db = nullptr;
};

// A reader of the Windows program's database that never ends, telling its process ID; in place
// while it lives.
class SlowReader {
public:
    explicit SlowReader(const QString& directory)
        : m_pidFile(QDir(directory).filePath(QStringLiteral("reader.pid"))),
          m_configured(qgetenv("QAVEX_JET_READER"))
    {
        const QString reader = QDir(directory).filePath(QStringLiteral("slow-reader.sh"));
        WriteBytes(reader, "#!/bin/sh\necho $$ > '" + m_pidFile.toUtf8() + "'\nexec sleep 60\n");
        QFile::setPermissions(reader, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        qputenv("QAVEX_JET_READER", reader.toUtf8());
    }
    ~SlowReader()
    {
        if (m_configured.isEmpty())
            qunsetenv("QAVEX_JET_READER");
        else
            qputenv("QAVEX_JET_READER", m_configured);
    }
    SlowReader(const SlowReader&) = delete;
    SlowReader& operator=(const SlowReader&) = delete;

    // It was started, and it is no longer running.
    bool Gone() const
    {
        QFile pid(m_pidFile);
        return pid.open(QIODevice::ReadOnly) && ::kill(pid_t(pid.readAll().trimmed().toInt()), 0) == -1;
    }

private:
    QString m_pidFile;
    QByteArray m_configured;
};

// Chooses "取消" in every progress dialog once it shows some of the work done.
class CancelOnShow : public QObject {
public:
    CancelOnShow() { qApp->installEventFilter(this); }
    ~CancelOnShow() override { qApp->removeEventFilter(this); }
    QStringList labels;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QProgressDialog*>(watched);
        if (dialog && event->type() == QEvent::Show && !labels.contains(dialog->labelText())) {
            labels.append(dialog->labelText());
            QObject::connect(dialog->findChild<QProgressBar*>(), &QProgressBar::valueChanged, dialog,
                             [dialog](int value) {
                                 if (value > 0)
                                     dialog->cancel();
                             });
        }
        return false;
    }
};

} // namespace

class TransferTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_files;

private slots:
    void exportWritesTheExactBytes()
    {
        Collection c;
        c.Seed({QStringLiteral("分类")},
               {{QStringLiteral("名1"), QStringLiteral("http://a/"), QStringLiteral("分类"), {}, {}},
                {QStringLiteral("名2"), QStringLiteral("http://b/"), QStringLiteral("分类"),
                 QStringLiteral("备注"), QStringLiteral("secret")}});
        MainWindow& w = c.Start();
        c.services.fileAnswers.enqueue(m_files.filePath(QStringLiteral("out")));
        Choose(w, QStringLiteral("导出数据"));
        QCOMPARE(c.services.fileFilters, QStringList{"文本文件(*.txt)|*.txt|网页书签文件(*.html)|*.html"});
        QCOMPARE(ReadBytes(m_files.filePath(QStringLiteral("out.txt"))),
                 QByteArray("名1|http://a/|分类|\r\n名2|http://b/|分类|备注\r\n"));
    }

    void exportOfNothingOrToNowhere()
    {
        Collection c;
        MainWindow& w = c.Start();
        const QString unwritable = m_files.filePath(QStringLiteral("no/such/dir/x.txt"));
        c.services.fileAnswers.enqueue(unwritable);
        Choose(w, QStringLiteral("导出数据"));
        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text, QStringLiteral("无法写入文件：") + unwritable);
        QCOMPARE(c.services.messages[0].icon, MessageStyle::ErrorIcon);

        c.services.messageAnswers.enqueue(MessageAnswer::Yes);
        Choose(w, QStringLiteral("清空数据"));
        const QString empty = m_files.filePath(QStringLiteral("empty.txt"));
        c.services.fileAnswers.enqueue(empty);
        Choose(w, QStringLiteral("导出数据"));
        QVERIFY(!QFile::exists(empty));
    }

    void exportThenImportRestoresEveryBookmark()
    {
        const QString file = m_files.filePath(QStringLiteral("round.txt"));
        QStringList exported;
        {
            Collection from;
            from.Seed({QStringLiteral("乙"), QStringLiteral("甲")},
                      {{QStringLiteral("O'Brien \"站\""),
                        QStringLiteral("https://a.cn/?q='1'"),
                        QStringLiteral("甲"),
                        QStringLiteral("备'注"),
                        {}},
                       {QStringLiteral("二"), QStringLiteral("https://b.cn/"), QStringLiteral("乙"), {}, {}},
                       {QStringLiteral("三"),
                        QStringLiteral("https://c.cn/"),
                        QStringLiteral("甲"),
                        QStringLiteral("x"),
                        {}}});
            from.services.fileAnswers.enqueue(file);
            Choose(from.Start(), QStringLiteral("导出数据"));
            exported = Bookmarks(from);
        }
        Collection to;
        MainWindow& w = to.Start();
        to.services.messageAnswers.enqueue(MessageAnswer::Yes);
        Choose(w, QStringLiteral("清空数据"));
        to.services.fileAnswers.enqueue(file);
        Choose(w, QStringLiteral("导入数据"));
        QCOMPARE(Bookmarks(to), exported);
        QCOMPARE(to.Select(QStringLiteral("select 分类名 from 分类 order by ID")), (QStringList{"甲", "乙"}));
        QCOMPARE(Names(w), (QStringList{"O'Brien \"站\"", "二", "三"}));
        QCOMPARE(CategoryEntries(w), (QStringList{"甲", "乙", "显示全部"}));
        QCOMPARE(to.services.messages.last().text, QStringLiteral("已导入 3 个网址"));

        // Again: every address is stored already.
        to.services.fileAnswers.enqueue(file);
        Choose(w, QStringLiteral("导入数据"));
        QCOMPARE(Bookmarks(to), exported);
        QCOMPARE(to.services.messages.last().text,
                 QStringLiteral("已导入 0 个网址，3 个已经收藏过的网址未导入"));
    }

    void newCategoriesReadNoList_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("added");
        QTest::newRow("text import, 50 categories") << QStringLiteral("txt") << 500;
        QTest::newRow("bookmark HTML import, 50 folders") << QStringLiteral("html") << 500;
        QTest::newRow("one bookmark with a new category") << QStringLiteral("add") << 1;
    }

    // With "显示全部" on show, as on every first run, new rows and categories are shown as they are
    // stored; the list is read again only when the user chooses a category.
    void newCategoriesReadNoList()
    {
        QFETCH(QString, how);
        QFETCH(int, added);
        Collection c;
        MainWindow& w = c.Start();
        const int before = int(Names(w).size());
        {
            ListReads reads;
            if (how == QStringLiteral("add")) {
                Type(w, QStringLiteral("新站"), QStringLiteral("https://new.cn/"), QStringLiteral("新分类"));
                w.按钮1->click();
            } else {
                QList<BookmarkTextFile::Line> lines;
                for (int i = 0; i < added; ++i)
                    lines.append({QStringLiteral("站%1").arg(i),
                                  QStringLiteral("https://s%1.cn/").arg(i),
                                  QStringLiteral("分类%1").arg(i % 50),
                                  {}});
                const QString file = m_files.filePath(QStringLiteral("many.") + how);
                QByteArray bytes;
                for (const BookmarkTextFile::Line& line : lines)
                    bytes += BookmarkTextFile::Format(line);
                WriteBytes(file, how == QStringLiteral("txt") ? bytes : BookmarkHtmlFile::Format(lines));
                c.services.fileAnswers.enqueue(file);
                Choose(w, QStringLiteral("导入数据"));
            }
            QCOMPARE(reads.count, 0);
            QCOMPARE(Names(w).size(), before + added);
            QCOMPARE(CategoryEntries(w).last(), QStringLiteral("显示全部"));
        }
        ListReads reads;
        w.列表框_分类->setCurrentRow(0);
        QCOMPARE(reads.count, 1);
    }

    // A database that fails half-way through the rows (a damaged page near the end of the table):
    // said so, and no file that looks complete.
    void exportThatCannotReadEveryRowWritesNothing()
    {
        Collection c;
        QList<Collection::Bookmark> bookmarks;
        for (int i = 0; i < 3000; ++i)
            bookmarks.append({QStringLiteral("站%1").arg(i),
                              QStringLiteral("https://s%1.cn/").arg(i),
                              QStringLiteral("类"),
                              QString(200, u'注'),
                              {}});
        c.Seed({QStringLiteral("类")}, bookmarks);
        const int page = c.Select(QStringLiteral("select max(pageno) from dbstat where name = '网址' and "
                                                 "pagetype = 'leaf'"))
                             .value(0)
                             .toInt();
        const int pageSize = c.Select(QStringLiteral("pragma page_size")).value(0).toInt();
        QVERIFY(page > 10 && pageSize > 0);
        QFile database(c.Path(QStringLiteral("qavex.mdb")));
        QVERIFY(database.open(QIODevice::ReadWrite));
        QVERIFY(database.seek(qint64(page - 1) * pageSize));
        database.write(QByteArray(pageSize, char(0x5A)));
        database.close();

        MainWindow& w = c.Start();
        QVERIFY(c.services.messages.isEmpty());
        const QString file = m_files.filePath(QStringLiteral("partial.txt"));
        c.services.fileAnswers.enqueue(file);
        Choose(w, QStringLiteral("导出数据"));
        QCOMPARE(c.services.messages.last().text, QStringLiteral("无法读取数据库中的网址，没有导出。"));
        QVERIFY(!QFile::exists(file));
    }

    void cancelledTransferKeepsNothing_data()
    {
        QTest::addColumn<bool>("importing");
        QTest::newRow("import") << true;
        QTest::newRow("export") << false;
    }

    // "取消" in the progress dialog: an import leaves the collection as it was, an export no file.
    void cancelledTransferKeepsNothing()
    {
        QFETCH(bool, importing);
        Collection c;
        MainWindow& w = c.Start();
        const QString file = m_files.filePath(QStringLiteral("big.txt"));
        QByteArray bytes;
        for (int i = 0; i < 20000; ++i)
            bytes += BookmarkTextFile::Format({QStringLiteral("站%1").arg(i),
                                               QStringLiteral("https://b%1.cn/").arg(i),
                                               QStringLiteral("类%1").arg(i % 7),
                                               {}});
        WriteBytes(file, bytes);
        if (!importing) {
            c.services.fileAnswers.enqueue(file);
            Choose(w, QStringLiteral("导入数据"));
            QFile::remove(file);
        }
        const QStringList before = Bookmarks(c);
        const QStringList categories = CategoryEntries(w);
        const int rows = w.Bookmarks().rowCount();

        w.SetProgressDelay(0);
        // The user answers the progress dialog as soon as it shows.
        CancelOnShow cancel;
        c.services.fileAnswers.enqueue(file);
        Choose(w, importing ? QStringLiteral("导入数据") : QStringLiteral("导出数据"));
        const QStringList labels = cancel.labels;
        QCOMPARE(labels, QStringList{importing ? "正在导入网址……" : "正在导出网址……"});
        QCOMPARE(c.services.messages.last().text, importing ? QStringLiteral("已取消导入，没有导入任何网址。")
                                                            : QStringLiteral("已取消导出，没有写入文件。"));
        QCOMPARE(Bookmarks(c), before);
        QCOMPARE(CategoryEntries(w), categories);
        QCOMPARE(w.Bookmarks().rowCount(), rows);
        if (!importing)
            QVERIFY(!QFile::exists(file));
    }

    void importReadsTheWindowsProgramsFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("stored");
        const QString gbk = QStringLiteral("网站|https://g.cn/|下载|精品");
        QTest::newRow("GBK") << QByteArray(QStringEncoder("GB18030")(gbk + QStringLiteral("\r\n"))) << gbk;
        // These GBK bytes are valid UTF-8 too, and read there as "ʵʱ".
        const QString looksUtf8 = QStringLiteral("实时|https://s.cn/|实时|");
        QTest::newRow("GBK that is valid UTF-8")
            << QByteArray(QStringEncoder("GB18030")(looksUtf8 + QStringLiteral("\r\n"))) << looksUtf8;
        const QString utf8 = QStringLiteral("实时|https://u.cn/|新闻|ʵʱ");
        QTest::newRow("UTF-8 with Chinese") << (utf8 + QStringLiteral("\r\n")).toUtf8() << utf8;
        QTest::newRow("UTF-8 with a BOM")
            << QByteArray("\xEF\xBB\xBF") + (utf8 + QStringLiteral("\n")).toUtf8() << utf8;
    }

    void importReadsTheWindowsProgramsFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, stored);
        const QString file = m_files.filePath(QStringLiteral("legacy.txt"));
        WriteBytes(file, bytes);
        Collection c;
        c.services.fileAnswers.enqueue(file);
        Choose(c.Start(), QStringLiteral("导入数据"));
        QVERIFY2(Bookmarks(c).contains(stored), qPrintable(Bookmarks(c).join(u'\n')));
    }

    void importShowsWhatTheSelectedCategoryHolds_data()
    {
        QTest::addColumn<bool>("searchFirst");
        QTest::newRow("a category selected") << false;
        QTest::newRow("after a search that found nothing") << true;
    }

    // Lines "添加" would refuse are left out and said with their line numbers; afterwards the list
    // shows what the selected category holds, the new rows of it among them.
    void importShowsWhatTheSelectedCategoryHolds()
    {
        QFETCH(bool, searchFirst);
        Collection c;
        c.Seed({QStringLiteral("甲"), QStringLiteral("乙")},
               {{QStringLiteral("一"), QStringLiteral("https://1.cn/"), QStringLiteral("甲"), {}, {}},
                {QStringLiteral("二"), QStringLiteral("https://2.cn/"), QStringLiteral("乙"), {}, {}}});
        c.WriteSettings("[记录]\n当前分类=1\n");
        MainWindow& w = c.Start();
        const QString selected = w.列表框_分类->item(1)->text();
        if (searchFirst) {
            c.services.inputAnswers.enqueue(QStringLiteral("没有这个"));
            Choose(w, QStringLiteral("在名称中查找..."));
            QVERIFY(Names(w).isEmpty());
        }
        const QStringList before = Names(w);
        const QString file = m_files.filePath(QStringLiteral("mixed.txt"));
        WriteBytes(file, ("|||\r\n新甲|https://n1.cn/|" + selected +
                          "|\r\n只有名称\r\n新乙|https://n2.cn/|别的|\r\n"
                          "脚本|javascript:alert(1)|" +
                          selected + "|\r\n")
                             .toUtf8());
        c.services.fileAnswers.enqueue(file);
        Choose(w, QStringLiteral("导入数据"));
        QCOMPARE(
            c.services.messages.last().text,
            QStringLiteral("已导入 2 个网址，2 行格式不对未导入（第 1 行：缺少网站名；第 3 行：少于三项），"
                           "1 个不是网页的地址未导入"));
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 网址 where 名称='' or 地址=''")),
                 QStringList{"0"});
        QCOMPARE(w.SelectedCategoryRow(), 1);
        const QStringList shown = Names(w);
        QVERIFY(shown.contains(QStringLiteral("新甲")));
        QVERIFY(!shown.contains(QStringLiteral("新乙")));
        if (!searchFirst)
            QCOMPARE(shown, before + QStringList{"新甲"});
    }

    void importOfAMissingFileSaysSo()
    {
        Collection c;
        const QString file = m_files.filePath(QStringLiteral("gone.txt"));
        c.services.fileAnswers.enqueue(file);
        Choose(c.Start(), QStringLiteral("导入数据"));
        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text, QStringLiteral("无法打开文件：") + file);
    }

    // A damaged database of the Windows program where qavex.mdb belongs: said so, the file left
    // as it is, and the window starts.
    void damagedWindowsDatabaseAtStart()
    {
        const QString fixture = QStringLiteral(QAVEX_SHARED_DIR "/fixtures/legacy/qavex.mdb");
        QAVEX_REQUIRE(QFile::exists(fixture),
                      QStringLiteral("the legacy fixtures are not beside the project"));
        Collection c;
        QFile source(fixture);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray bytes = source.readAll();
        bytes[0x2037] = char(0xFF);
        WriteBytes(c.Path(QStringLiteral("qavex.mdb")), bytes);
        MainWindow& w = c.Start();
        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text,
                 QStringLiteral("不是可读取的旧版数据库文件：") +
                     QDir::toNativeSeparators(c.Path(QStringLiteral("qavex.mdb"))));
        QVERIFY(!c.Globals().Database->IsOpen());
        QCOMPARE(Names(w), QStringList());
        QFile kept(c.Path(QStringLiteral("qavex.mdb")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), bytes);
    }

    // A reader that takes its time: the window turns, and 取消 ends the reader with nothing merged.
    void windowsDatabaseReadIsCancelled()
    {
        const QString fixture = QStringLiteral(QAVEX_SHARED_DIR "/fixtures/legacy/qavex.mdb");
        QAVEX_REQUIRE(QFile::exists(fixture),
                      QStringLiteral("the legacy fixtures are not beside the project"));
        Collection c;
        MainWindow& w = c.Start();
        w.SetProgressDelay(0);
        const QStringList before = Names(w);
        SlowReader reader(c.Path({}));
        CancelProgressLater cancel;
        LoopTurns loop;
        c.services.fileAnswers.enqueue(fixture);
        Choose(w, QStringLiteral("导入数据"));
        QCOMPARE(cancel.shown, 1);
        QVERIFY(loop.turns >= 3);
        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text, QStringLiteral("已取消导入，没有导入任何网址。"));
        QCOMPARE(Names(w), before);
        QVERIFY(reader.Gone());
    }

    // At start too: the window's loop turns while the reader runs, and 取消 leaves the file for the
    // next start, with nothing said and nothing open.
    void windowsDatabaseAtStartIsCancelled()
    {
        const QString fixture = QStringLiteral(QAVEX_SHARED_DIR "/fixtures/legacy/qavex.mdb");
        QAVEX_REQUIRE(QFile::exists(fixture),
                      QStringLiteral("the legacy fixtures are not beside the project"));
        Collection c;
        QFile source(fixture);
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray bytes = source.readAll();
        WriteBytes(c.Path(QStringLiteral("qavex.mdb")), bytes);
        SlowReader reader(c.Path({}));
        CancelProgressLater cancel;
        LoopTurns loop;
        MainWindow& w = c.Start();
        QCOMPARE(cancel.shown, 1);
        QVERIFY(loop.turns >= 3);
        QVERIFY(c.services.messages.isEmpty());
        QVERIFY(!c.Globals().Database->IsOpen());
        QCOMPARE(Names(w), QStringList());
        QFile kept(c.Path(QStringLiteral("qavex.mdb")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), bytes);
        QVERIFY(reader.Gone());
    }

    void mergeTheWindowsProgramsDatabase()
    {
        const QString fixture = QStringLiteral(QAVEX_SHARED_DIR "/fixtures/legacy/qavex.mdb");
        QAVEX_REQUIRE(QFile::exists(fixture),
                      QStringLiteral("the legacy fixtures are not beside the project"));
        Collection c;
        c.Seed({QStringLiteral("软件下载")}, {{QStringLiteral("已有"),
                                               QStringLiteral("https://flathub.org/"),
                                               QStringLiteral("软件下载"),
                                               {},
                                               {}}});
        MainWindow& w = c.Start();
        c.services.fileAnswers.enqueue(fixture);
        Choose(w, QStringLiteral("导入数据"));
        QCOMPARE(
            c.services.fileFilters,
            QStringList{
                "文本文件(*.txt)|*.txt|网页书签文件(*.htm;*.html)|*.htm;*.html|旧版数据库(*.mdb)|*.mdb"});
        QCOMPARE(c.services.messages.size(), 1);
        QCOMPARE(c.services.messages[0].text,
                 QStringLiteral("已合并旧版数据库：网址 3 个，分类 3 个，历史地址 2 个"));
        QCOMPARE(c.services.messages[0].icon, MessageStyle::InformationIcon);
        QCOMPARE(Names(w), (QStringList{"已有", "新浪网", "企业邮箱", "O'Brien 的博客"}));
        QVERIFY(w.Bookmarks().RowAt(2).hasLogin);
        QCOMPARE(CategoryEntries(w), (QStringList{"软件下载", "新闻门户", "邮箱", "O'Brien", "显示全部"}));
        QCOMPARE(c.Select(QStringLiteral("select 密码 || 控件类型 from 网址 where 名称='企业邮箱'")),
                 QStringList{"p'w\"d密码按钮"});
        QCOMPARE(c.Select(QStringLiteral("select 账号 from 网址 where 名称='新浪网'")),
                 QStringList{"<NULL>"});
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 历史地址")), QStringList{"2"});

        // Not the Windows program's database: said so, nothing changed.
        const QString text = m_files.filePath(QStringLiteral("fake.mdb"));
        WriteBytes(text, "not a database");
        c.services.fileAnswers.enqueue(text);
        Choose(w, QStringLiteral("导入数据"));
        QCOMPARE(c.services.messages[1].text, QStringLiteral("不是可读取的旧版数据库文件：") + text);
        QCOMPARE(c.Select(QStringLiteral("select count(*) from 网址")), QStringList{"4"});
    }

    void parseLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("skipped");
        QTest::addColumn<int>("notPages");
        QTest::newRow("CRLF") << QByteArray("a|http://b/|c|d\r\ne|http://f/|g|h\r\n")
                              << QStringList{"a|http://b/|c|d", "e|http://f/|g|h"} << QStringList() << 0;
        QTest::newRow("LF and no last line end")
            << QByteArray("a|http://b/|c|d\ne|http://f/|g")
            << QStringList{"a|http://b/|c|d", "e|http://f/|g|"} << QStringList() << 0;
        QTest::newRow("BOM") << QByteArray("\xEF\xBB\xBF名|https://址/|类|注\r\n")
                             << QStringList{"名|https://址/|类|注"} << QStringList() << 0;
        QTest::newRow("five fields keep four")
            << QByteArray("a|http://b/|c|d|e\r\n") << QStringList{"a|http://b/|c|d"} << QStringList() << 0;
        QTest::newRow("three fields, empty remark")
            << QByteArray("a|http://b/|c\r\n") << QStringList{"a|http://b/|c|"} << QStringList() << 0;
        QTest::newRow("addresses without a scheme are pages")
            << QByteArray("旧|www.baidu.com|类|\r\n本机|localhost:8080/x|类|\r\n")
            << QStringList{"旧|www.baidu.com|类|", "本机|localhost:8080/x|类|"} << QStringList() << 0;
        // What "添加" refuses is left out and counted, with its line; empty lines are no lines.
        QTest::newRow("short, empty and junk lines")
            << QByteArray("\r\na|http://b/\r\nonly\r\n\r\n|||\r\n名||类|\r\n名|http://b/"
                          "||\r\n脚本|javascript:go()|类|\r\n")
            << QStringList()
            << QStringList{"2:少于三项", "3:少于三项", "5:缺少网站名", "6:缺少网址", "7:缺少分类"} << 1;
    }

    void parseLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, skipped);
        QFETCH(int, notPages);
        const BookmarkTextFile::Read read = BookmarkTextFile::Parse(bytes);
        QStringList parsed;
        for (const BookmarkTextFile::Line& line : read.lines)
            parsed.append(line.name + u'|' + line.address + u'|' + line.category + u'|' + line.remark);
        QCOMPARE(parsed, lines);
        QStringList left;
        for (const BookmarkTextFile::Skipped& line : read.skipped)
            left.append(QString::number(line.number) + u':' + line.why);
        QCOMPARE(left, skipped);
        QCOMPARE(read.notPages, notPages);
    }
};

QTEST_MAIN(TransferTest)
#include "TransferTest.moc"
