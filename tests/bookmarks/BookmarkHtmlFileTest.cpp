#include "BookmarkHtmlFile.h"
#include "Collection.h"
#include "Requirement.h"
#include "WindowProbes.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList Rows(const QList<BookmarkTextFile::Line>& lines)
{
    QStringList rows;
    for (const BookmarkTextFile::Line& line : lines)
        rows.append(line.name + u'|' + line.address + u'|' + line.category + u'|' + line.remark);
    return rows;
}

const QByteArray Head = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                        "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n";

} // namespace

class BookmarkHtmlFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_files;

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("notPages");
        QTest::newRow("nested folders below the toolbar, a description")
            << Head + "<DL><p>\n"
                      "<DT><H3 ADD_DATE=\"1\" PERSONAL_TOOLBAR_FOLDER=\"true\">书签栏</H3>\n"
                      "<DL><p>\n"
                      "  <DT><A HREF=\"https://a.cn/\" ADD_DATE=\"1\">甲站</A>\n"
                      "  <DD>第一行说明\n"
                      "  <DT><H3>工作</H3>\n"
                      "  <DL><p>\n"
                      "    <DT><H3>邮箱</H3>\n"
                      "    <DL><p>\n"
                      "      <DT><A HREF=\"https://mail.cn/\">邮件</A>\n"
                      "    </DL><p>\n"
                      "    <DT><A HREF=\"https://b.cn/\">乙站</A>\n"
                      "    <DD>乙的说明\n"
                      "  </DL><p>\n"
                      "</DL><p>\n"
                      "<DT><A HREF=\"https://c.cn/\">在外面</A>\n"
                      "</DL><p>\n"
            << QStringList{"甲站|https://a.cn/|导入的书签|第一行说明", "邮件|https://mail.cn/|工作/邮箱|",
                           "乙站|https://b.cn/|工作|乙的说明", "在外面|https://c.cn/|导入的书签|"}
            << 0;
        QTest::newRow("entities and character references")
            << Head +
                   "<DL><p><DT><H3>R&amp;D &lt;内部&gt;</H3><DL><p>"
                   "<DT><A HREF=\"https://x.cn/?a=1&amp;b=2\">&quot;引号&quot; &#20013;&#x6587; &nbsp;站</A>"
                   "<DD>a &lt; b &amp;&amp; c</DL></DL>"
            << QStringList{QStringLiteral("\"引号\" 中文 站|https://x.cn/?a=1&b=2|R&D <内部>|a < b && c")}
            << 0;
        QTest::newRow("addresses that are not pages are left out and counted")
            << Head + "<DL><p><DT><A HREF=\"javascript:alert(1)\">脚本</A>"
                      "<DT><A HREF=\"place:sort=8\">最近</A><DT><A>无地址</A>"
                      "<DT><A HREF=\"ftp://f.cn/\">文件</A><DT><A HREF=\"file:///home/a.html\">本地</A></DL>"
            << QStringList{"文件|ftp://f.cn/|导入的书签|", "本地|file:///home/a.html|导入的书签|"} << 3;
        QTest::newRow("the other browsers' top folders by name")
            << Head + "<DL><p><DT><H3>Other bookmarks</H3><DL><p><DT><H3>新闻</H3><DL><p>"
                      "<DT><A HREF=\"https://n.cn/\">新闻站</A></DL></DL>"
                      "<DT><H3>其他书签</H3><DL><p><DT><A HREF=\"https://o.cn/\">其他</A></DL></DL>"
            << QStringList{"新闻站|https://n.cn/|新闻|", "其他|https://o.cn/|导入的书签|"} << 0;
        QTest::newRow("unclosed tags and a cut file: what is readable")
            << Head + "<DL><p><DT><H3>断<DL><p><DT><A HREF=\"https://u.cn/\">未闭合<DT><A "
                      "HREF=\"https://v.cn/\">被截"
            << QStringList{"未闭合|https://u.cn/|断|", "被截|https://v.cn/|断|"} << 0;
        QTest::newRow("not a bookmark file")
            << QByteArray("\x00\x01\xff garbage <<<>>>", 17) << QStringList{} << 0;
        QTest::newRow("empty") << QByteArray() << QStringList{} << 0;
    }

    void parse()
    {
        QFETCH(QByteArray, html);
        const BookmarkHtmlFile::Contents contents = BookmarkHtmlFile::Parse(html);
        QTEST(Rows(contents.lines), "rows");
        QTEST(contents.notPages, "notPages");
    }

    void declaredCharsetIsRead()
    {
        const QString text = QStringLiteral(
            "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
            "charset=GB18030\">\n<DL><p><DT><H3>软件下载</H3><DL><p><DT><A "
            "HREF=\"https://g.cn/\">国标码𠀀</A></DL></DL>");
        QStringEncoder gb18030("GB18030");
        const BookmarkHtmlFile::Contents contents = BookmarkHtmlFile::Parse(gb18030.encode(text));
        QCOMPARE(Rows(contents.lines), QStringList{QStringLiteral("国标码𠀀|https://g.cn/|软件下载|")});
    }

    void formatThenParseLosesNothing()
    {
        const QList<BookmarkTextFile::Line> lines = {
            {QStringLiteral("<b>名</b> & \"引\""), QStringLiteral("https://a.cn/?x=1&y=\"2\""),
             QStringLiteral("工作/邮箱"), QStringLiteral("说明 <i>&amp;</i>")},
            {QStringLiteral("二"), QStringLiteral("https://b.cn/"), QStringLiteral("软件下载"), {}},
            {QStringLiteral("三"), QStringLiteral("https://c.cn/"), QStringLiteral("工作/邮箱"),
             QStringLiteral("x")},
        };
        const QByteArray html = BookmarkHtmlFile::Format(lines);
        QVERIFY(html.startsWith("<!DOCTYPE NETSCAPE-Bookmark-file-1>"));
        QVERIFY(html.contains("charset=UTF-8"));
        // One folder per category, nested as the path says: the third line joins the first's.
        QCOMPARE(html.count("<H3 "), 3);
        QVERIFY(!html.contains("工作/邮箱"));
        QCOMPARE(Rows(BookmarkHtmlFile::Parse(html).lines), Rows({lines[0], lines[2], lines[1]}));
    }

    void categoryNamesComeBackAsTheyWere_data()
    {
        QTest::addColumn<QString>("category");
        for (const char* name : {"其他书签", "书签栏", "Bookmarks bar", "Other Bookmarks", "外层/内层",
                                 "外层/内层/最里层", "导入的书签"})
            QTest::newRow(name) << QString::fromUtf8(name);
    }

    // A category named like a browser's own top folder, or made from nested folders, is read back
    // as it was written, beside a category of the same outer folder.
    void categoryNamesComeBackAsTheyWere()
    {
        QFETCH(QString, category);
        const QList<BookmarkTextFile::Line> lines = {
            {QStringLiteral("一"), QStringLiteral("https://a.cn/"), category, {}},
            {QStringLiteral("二"), QStringLiteral("https://b.cn/"), QStringLiteral("外层"), {}},
            // Typed into 添加 without a scheme: kept too.
            {QStringLiteral("三"), QStringLiteral("www.baidu.com"), QStringLiteral("外层"), {}},
        };
        QStringList read = Rows(BookmarkHtmlFile::Parse(BookmarkHtmlFile::Format(lines)).lines);
        QStringList written = Rows(lines);
        read.sort();
        written.sort();
        QCOMPARE(read, written);
    }

    // Exported from the window, the file reads the same through an HTML parser that is not ours.
    void exportReadsTheSameElsewhere()
    {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        Collection c;
        c.Seed({QStringLiteral("工作")}, {{QStringLiteral("邮箱 & 日历"),
                                           QStringLiteral("https://mail.cn/?a=1&b=2"),
                                           QStringLiteral("工作"),
                                           QStringLiteral("公司 <内部>"),
                                           {}},
                                          {QStringLiteral("日报"),
                                           QStringLiteral("https://daily.cn/"),
                                           QStringLiteral("新闻/国内"),
                                           {},
                                           {}}});
        MainWindow& w = c.Start();
        const QString file = m_files.filePath(QStringLiteral("out.html"));
        c.services.fileAnswers.enqueue(file);
        Choose(w, QStringLiteral("导出数据"));
        QCOMPARE(c.services.fileFilters.last(),
                 QStringLiteral("文本文件(*.txt)|*.txt|网页书签文件(*.html)|*.html"));
        QCOMPARE(c.services.messages.last().text, QStringLiteral("已导出 2 个网址"));

        // Back into an empty collection through the import.
        Collection back;
        MainWindow& again = back.Start();
        back.services.messageAnswers.enqueue(MessageAnswer::Yes);
        Choose(again, QStringLiteral("清空数据"));
        back.services.fileAnswers.enqueue(file);
        Choose(again, QStringLiteral("导入数据"));
        QCOMPARE(back.services.messages.last().text, QStringLiteral("已导入 2 个网址"));
        QCOMPARE(
            back.Select(QStringLiteral("select 名称||'|'||地址||'|'||分类||'|'||备注 from 网址 order by ID")),
            (QStringList{"邮箱 & 日历|https://mail.cn/?a=1&b=2|工作|公司 <内部>",
                         "日报|https://daily.cn/|新闻/国内|"}));

        QAVEX_REQUIRE(!python.isEmpty(), QStringLiteral("python3 is not installed"));
        QProcess reader;
        reader.start(python, {QStringLiteral(QAVEX_TEST_TOOLS "/read_bookmark_html.py"), file});
        QVERIFY(reader.waitForFinished(10000));
        QCOMPARE(reader.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
                 (QStringList{"工作\thttps://mail.cn/?a=1&b=2\t邮箱 & 日历\t公司 <内部>",
                              "新闻/国内\thttps://daily.cn/\t日报\t"}));
    }
};

QTEST_MAIN(BookmarkHtmlFileTest)
#include "BookmarkHtmlFileTest.moc"
