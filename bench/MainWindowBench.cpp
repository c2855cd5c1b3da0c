#include "BookmarkHtmlFile.h"
#include "BookmarkListModel.h"
#include "Collection.h"
#include "CollectionCopy.h"
#include "RecordTable.h"
#include "ServerSchema.h"
#include "StorageNames.h"
#include "WindowProbes.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <cstdio>
#include <malloc.h>

namespace {

constexpr int Categories = 50;

long ResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

// A target of 0: a figure without a goal of its own.
void Report(const char* what, double milliseconds, double target)
{
    if (target <= 0) {
        std::printf("%-42s %9.1f ms\n", what, milliseconds);
        return;
    }
    std::printf("%-42s %9.1f ms   (target %g ms)%s\n", what, milliseconds, target,
                milliseconds > target ? "  OVER" : "");
}

template <typename Action> double Measure(Action action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    QCoreApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

// bench_main_window [BOOKMARKS] [--server]: a collection of BOOKMARKS (100,000) in 50 categories,
// in the local file or, with --server, on the PostgreSQL server the PG* variables name (run it
// through tests/support/with_postgres.sh for a throw-away one).
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    const bool onServer = arguments.removeAll(QStringLiteral("--server")) > 0;
    const int count = arguments.isEmpty() ? 100000 : arguments[0].toInt();
    if (count < 4000) {
        std::fprintf(stderr, "usage: bench_main_window [BOOKMARKS, at least 4000] [--server]\n");
        return 2;
    }
    const int perCategory = count / Categories;
    Collection c;
    QStringList categories;
    for (int i = 0; i < Categories; ++i)
        categories.append(QStringLiteral("分类%1号").arg(i));
    {
        QList<Collection::Bookmark> bookmarks;
        bookmarks.reserve(count);
        for (int i = 0; i < count; ++i)
            bookmarks.append({QStringLiteral("网站名称第%1个").arg(i),
                              QStringLiteral("https://www.例子%1.中国/登录").arg(i),
                              categories[i % Categories],
                              QStringLiteral("备注%1").arg(i),
                              {}});
        c.Seed(categories, bookmarks);
    }
    c.WriteSettings("[记录]\n当前分类=0\n");
    if (onServer) {
        ServerAddress server;
        server.host = qEnvironmentVariable("PGHOST");
        server.port = qEnvironmentVariableIntValue("PGPORT");
        server.user = qEnvironmentVariable("PGUSER");
        server.database = qEnvironmentVariable("PGDATABASE");
        RecordTable local;
        RecordTable remote;
        if (!local.Open(c.Path(QStringLiteral("qavex.mdb"))) || !remote.OpenServer(server) ||
            (ServerSchema::Exists(remote) && !ServerSchema::IsEmpty(remote) &&
             (!remote.DeleteAll(Tables::Bookmarks) || !remote.DeleteAll(Tables::Categories)))) {
            std::fprintf(stderr, "no server: %s\n", qPrintable(remote.LastError()));
            return 1;
        }
        const auto made = [&](RecordTable& records) {
            return ServerSchema::Exists(records) || ServerSchema::CreateTables(records);
        };
        if (!CopyCollection(local, remote, {}, made).ok) {
            std::fprintf(stderr, "cannot copy up: %s\n", qPrintable(remote.LastError()));
            return 1;
        }
        remote.RunSchemaStatement(QStringLiteral("vacuum analyze"));
        c.WriteSettings(
            QStringLiteral("[记录]\n当前分类=0\n[数据库]\n位置=PostgreSQL 服务器\n主机=%1\n端口=%2\n"
                           "数据库名=%3\n用户名=%4\n")
                .arg(server.host, QString::number(server.port), server.database, server.user)
                .toUtf8());
        std::printf("on the server %s\n", qPrintable(server.Label()));
    }
    // What building the collection left on the heap is not the window's; it goes back first.
    malloc_trim(0);
    std::printf("%d bookmarks in %d categories, database %.1f MB\n", count, Categories,
                QFileInfo(c.Path(QStringLiteral("qavex.mdb"))).size() / 1048576.0);

    MainWindow* w = nullptr;
    Report("start, MainWindow shown", Measure([&] {
               w = &c.Start();
               w->show();
               [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(w);
           }),
           500);
    Report("switch to 显示全部", Measure([&] { w->列表框_分类->setCurrentRow(Categories); }), 100);
    Report("scroll to the end", Measure([&] { w->网址框->scrollToBottom(); }), 50);
    std::printf("%-42s %9.1f MB   (target 150 MB)\n", "resident memory, all rows shown",
                ResidentKilobytes() / 1024.0);
    w->列表框_分类->setCurrentRow(0);
    std::printf("switching between two %d-row categories\n", perCategory);
    Report("switch between two categories", Measure([&] { w->列表框_分类->setCurrentRow(1); }), 10);
    Report("  and back", Measure([&] { w->列表框_分类->setCurrentRow(0); }), 10);
    w->列表框_分类->setCurrentRow(Categories);
    Report("add one bookmark", Measure([&] {
               w->网站名框->setText(QStringLiteral("新网站"));
               w->地址框->setText(QStringLiteral("https://新网站.中国/"));
               w->类型框->setCurrentText(QStringLiteral("分类3号"));
               w->按钮1->click();
           }),
           50);
    QItemSelection selection;
    for (int row = 0; row < 2000; row += 2)
        selection.select(w->Bookmarks().index(row, 0), w->Bookmarks().index(row, 0));
    w->网址框->selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w->网址框->selectionModel()->setCurrentIndex(w->Bookmarks().index(0, 0), QItemSelectionModel::NoUpdate);
    c.services.messageAnswers.enqueue(MessageAnswer::Yes);
    Report("delete 1,000 selected rows", Measure([&] { Choose(*w, QStringLiteral("删除网址")); }), 300);
    std::printf("rows left: %d\n", w->Bookmarks().rowCount());

    QTemporaryDir files;
    const QString exported = files.filePath(QStringLiteral("bookmarks.txt"));
    c.services.fileAnswers.enqueue(exported);
    Report("export all bookmarks", Measure([&] { Choose(*w, QStringLiteral("导出数据")); }), 300);
    // The first search of a collection builds its index; the ones after it are the daily figure.
    c.services.inputAnswers.enqueue(QStringLiteral("第12"));
    Report("first search by name (builds the index)",
           Measure([&] { Choose(*w, QStringLiteral("在名称中查找...")); }), 0);
    const auto search = [&](const char* what, const QString& item, const QString& text, double target) {
        c.services.inputAnswers.enqueue(text);
        Report(what, Measure([&] { Choose(*w, item); }), target);
        std::printf("  \"%s\": %d found\n", qPrintable(text), w->Bookmarks().rowCount());
    };
    search("search by name", QStringLiteral("在名称中查找..."), QStringLiteral("第12345个"), 30);
    search("search by name, many found", QStringLiteral("在名称中查找..."), QStringLiteral("第12"), 100);
    search("search by address", QStringLiteral("在地址中查找..."), QStringLiteral("例子54321."), 30);
    search("search by two characters (scan)", QStringLiteral("在名称中查找..."), QStringLiteral("99"), 300);

    c.services.messageAnswers.enqueue(MessageAnswer::Yes);
    Choose(*w, QStringLiteral("清空数据"));
    c.services.fileAnswers.enqueue(exported);
    Report("import the exported file, 显示全部 on show",
           Measure([&] { Choose(*w, QStringLiteral("导入数据")); }), 1500);
    std::printf("  %d rows shown\n", w->Bookmarks().rowCount());

    // The same collection as bookmark HTML, out and back in.
    const QString html = files.filePath(QStringLiteral("bookmarks.html"));
    c.services.fileAnswers.enqueue(html);
    Report("export all bookmarks as bookmark HTML", Measure([&] { Choose(*w, QStringLiteral("导出数据")); }),
           1500);
    QFile htmlFile(html);
    const QByteArray htmlBytes = htmlFile.open(QIODevice::ReadOnly) ? htmlFile.readAll() : QByteArray();
    int parsed = 0;
    Report("  of which reading the HTML",
           Measure([&] { parsed = int(BookmarkHtmlFile::Parse(htmlBytes).lines.size()); }), 1500);
    std::printf("  %d links, %.1f MB\n", parsed, htmlBytes.size() / 1048576.0);
    c.services.messageAnswers.enqueue(MessageAnswer::Yes);
    Choose(*w, QStringLiteral("清空数据"));
    c.services.fileAnswers.enqueue(html);
    Report("import that bookmark HTML, emptied collection",
           Measure([&] { Choose(*w, QStringLiteral("导入数据")); }), 1500);
    std::printf("  %d rows shown\n", w->Bookmarks().rowCount());
    return 0;
}
