// How long the window's event loop stood still while slow work ran: a 10 ms timer measures its
// own lateness. Each case runs on the real window until the work ends by itself.
#include "Collection.h"
#include "DatabaseLocationDialog.h"
#include "MainWindow.h"
#include "SilentServer.h"
#include "WindowProbes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
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

} // namespace

int main(int argc, char** argv)
{
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
    return 0;
}
