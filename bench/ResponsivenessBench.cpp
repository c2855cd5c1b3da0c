// How long the window's event loop stood still while slow work ran: a 10 ms timer measures its
// own lateness. Each case runs on the real window until the work ends by itself.
#include "BrowserImportDialog.h"
#include "Collection.h"
#include "DatabaseLocationDialog.h"
#include "FrozenKeyring.h"
#include "MainWindow.h"
#include "PasswordVault.h"
#include "ProgramGlobals.h"
#include "ServerProxy.h"
#include "SilentServer.h"
#include "TestServer.h"
#include "WindowProbes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

constexpr double GoalMs = 100;

// The longest gap between two turns of the event loop beyond the timer's own 10 ms.
class StallMeter : public QObject {
public:
    StallMeter()
    {
        m_clock.start();
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.elapsed();
            longest = std::max(longest, double(now - m_last - 10));
            m_last = now;
        });
        m_timer.start(10);
    }
    double longest = 0;

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
};

void Run(const char* what, const std::function<void()>& work)
{
    StallMeter meter;
    QElapsedTimer clock;
    clock.start();
    work();
    const double took = double(clock.elapsed());
    std::printf("%-52s work %7.0f ms   longest stall %6.0f ms (goal %g ms)%s\n", what, took, meter.longest,
                GoalMs, meter.longest > GoalMs ? "  OVER" : "");
    std::fflush(stdout);
}

QByteArray ServerSettings(quint16 port)
{
    return QStringLiteral(
               "[数据库]\n位置=PostgreSQL 服务器\n主机=127.0.0.1\n端口=%1\n数据库名=qavex\n用户名=qavex\n")
        .arg(port)
        .toUtf8();
}

// A reader of the Windows program's database that takes `seconds` and then fails, as on a damaged file.
QString SlowReader(const QString& directory, int seconds)
{
    const QString path = QDir(directory).filePath(QStringLiteral("slow-reader.sh"));
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write(QStringLiteral("#!/bin/sh\nsleep %1\nexit 1\n").arg(seconds).toUtf8());
    script.close();
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    return path;
}

// Bookmark HTML of `count` bookmarks in one folder.
QString WriteBookmarkHtml(const QString& path, int count)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><H3>导入</H3>\n<DL><p>\n");
    QByteArray chunk;
    for (int i = 0; i < count; ++i) {
        chunk += "<DT><A HREF=\"https://site" + QByteArray::number(i) + ".example.cn/\">网站" +
                 QByteArray::number(i) + "</A>\n";
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk + "</DL><p>\n</DL><p>\n");
    return path;
}

// A Chromium profile under `home` with `count` bookmarks on its bar.
void WriteChromiumProfile(const QString& home, int count)
{
    const QString dir = QDir(home).filePath(QStringLiteral(".config/chromium/Default"));
    QDir().mkpath(dir);
    QFile file(QDir(dir).filePath(QStringLiteral("Bookmarks")));
    file.open(QIODevice::WriteOnly);
    file.write(
        R"({"checksum": "0", "version": 1, "roots": {"bookmark_bar": {"type": "folder", "name": "书签栏", "children": [)");
    for (int i = 0; i < count; ++i)
        file.write((i ? ",\n" : "") +
                   QStringLiteral(R"({"type": "url", "name": "网站%1", "url": "https://site%1.example.cn/"})")
                       .arg(i)
                       .toUtf8());
    file.write(R"(]}, "other": {"type": "folder", "name": "其他书签", "children": []}}})");
}

// Accepts the next 从浏览器导入 dialog, past the progress dialogs before it.
void WhenBrowserChoice()
{
    WhenModal([](QWidget* modal) {
        if (auto* dialog = qobject_cast<BrowserImportDialog*>(modal))
            dialog->按钮_导入->click();
        else
            QTimer::singleShot(10, [] { WhenBrowserChoice(); });
    });
}

// A keyring-protected collection opened while the Secret Service stands still for 3 s.
void RunKeyringCase()
{
    Collection c;
    c.Seed({QStringLiteral("工作")}, {});
    c.Execute(
        QStringLiteral("insert into 网址 values (null, '网银', 'https://bank.cn/', '工作', '', 'li', 'pw', "
                       "'u', 'p', '3', 'go', '1', '链接')"));
    c.Start();
    if (c.Globals().Vault->SwitchTo(PasswordProtection::Keyring) != VaultError::None) {
        std::printf("no Secret Service here: the keyring case left out\n");
        return;
    }
    MainWindow& w = c.Start();
    FrozenKeyring frozen;
    QTimer::singleShot(3000, [&frozen] { frozen.GoOn(); });
    Run("修改, the Secret Service answers after 3 s", [&] {
        SelectRows(w, {0});
        w.按钮2->click();
    });
}

void RunServerCases()
{
    if (!TestServer::Missing().isEmpty()) {
        std::printf("%s: the server cases left out\n", qPrintable(TestServer::Missing()));
        return;
    }
    const auto pointAt = [](Collection& c, const ServerAddress& server) {
        c.WriteSettings(
            QStringLiteral("[数据库]\n位置=PostgreSQL 服务器\n主机=%1\n端口=%2\n数据库名=%3\n用户名=%4\n")
                .arg(server.host, QString::number(server.port), server.database, server.user)
                .toUtf8());
    };
    {
        const ServerAddress server = TestServer::NewCollection();
        Collection c;
        pointAt(c, server);
        MainWindow& w = c.Start();
        c.services.fileAnswers.enqueue(WriteBookmarkHtml(c.Path(QStringLiteral("big.html")), 100000));
        QTimer::singleShot(1500, [server] { TestServer::DropConnections(server); });
        Run("导入数据 of 100,000 on a server, dropped after 1.5 s",
            [&] { Choose(w, QStringLiteral("导入数据")); });
        std::printf("    said: %s\n", qPrintable(c.services.messages.value(0).text.left(40)));
    }
    {
        ServerProxy proxy(TestServer::NewCollection());
        Collection c;
        pointAt(c, proxy.Address());
        MainWindow& w = c.Start();
        proxy.GoSilent();
        QTest::qWait(200);
        Run("an act after a loss, the server then never answers", [&] {
            Type(w, QStringLiteral("一"), QStringLiteral("https://1.cn/"), QStringLiteral("工作"));
            QTest::keyClick(w.网站名框, Qt::Key_Return);
        });
    }
}

} // namespace

int main(int argc, char** argv)
{
    // The browser profiles are looked for in a home of the bench's own.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    const QString fixture = QStringLiteral(QAVEX_SHARED_DIR "/fixtures/legacy/qavex.mdb");

    {
        SilentServer silent;
        Collection c;
        MainWindow& w = c.Start();
        Run("测试连接, a server that never answers", [&] {
            WhenModal([&](QWidget* modal) {
                auto* dialog = qobject_cast<DatabaseLocationDialog*>(modal);
                dialog->服务器按钮->setChecked(true);
                dialog->主机框->setText(QStringLiteral("127.0.0.1"));
                dialog->端口框->setValue(silent.serverPort());
                dialog->数据库框->setText(QStringLiteral("qavex"));
                dialog->用户框->setText(QStringLiteral("qavex"));
                dialog->测试连接按钮->click();
                dialog->reject();
            });
            Choose(w, QStringLiteral("数据库位置..."));
        });
    }
    {
        SilentServer silent;
        Collection c;
        c.WriteSettings(ServerSettings(silent.serverPort()));
        Run("start, the chosen server never answers", [&] { c.Start(); });
    }
    if (QFile::exists(fixture)) {
        Collection c;
        qputenv("QAVEX_JET_READER", SlowReader(c.Path({}), 3).toUtf8());
        MainWindow& w = c.Start();
        c.services.fileAnswers.enqueue(fixture);
        Run("导入数据, a Windows database read for 3 s", [&] { Choose(w, QStringLiteral("导入数据")); });
    }
    if (QFile::exists(fixture)) {
        Collection c;
        QFile::copy(fixture, c.Path(QStringLiteral("qavex.mdb")));
        qputenv("QAVEX_JET_READER", SlowReader(c.Path({}), 3).toUtf8());
        Run("start, a Windows database read for 3 s", [&] { c.Start(); });
    } else {
        std::printf("the legacy fixture is not beside the project: the Windows database cases left out\n");
    }
    {
        Collection c;
        MainWindow& w = c.Start();
        c.services.fileAnswers.enqueue(WriteBookmarkHtml(c.Path(QStringLiteral("big.html")), 1000000));
        Run("导入数据, a bookmark HTML file of 1,000,000", [&] { Choose(w, QStringLiteral("导入数据")); });
        std::printf("    said: %s\n", qPrintable(c.services.messages.value(0).text.left(40)));
    }
    {
        WriteChromiumProfile(home.path(), 100000);
        Collection c;
        MainWindow& w = c.Start();
        WhenBrowserChoice();
        Run("从浏览器导入, a profile of 100,000", [&] { Choose(w, QStringLiteral("从浏览器导入...")); });
        std::printf("    said: %s\n", qPrintable(c.services.messages.value(0).text.left(40)));
    }
    RunKeyringCase();
    RunServerCases();
    return 0;
}
