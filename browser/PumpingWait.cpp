#include "PumpingWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

qint64 DueTime(int amount, WaitUnit unit)
{
    static const double millisecondsPerUnit[] = {1, 0, 1000, 60000, 3600000, 86400000};
    const int code = int(unit);
    if (unit == WaitUnit::Microsecond)
        return qint64(double(amount) * -10.0);
    if (code < 0 || code > 5)
        return 0;
    return qint64(double(amount) * millisecondsPerUnit[code] * -10000.0);
}

void PumpingWait(int amount, WaitUnit unit)
{
    const qint64 due = DueTime(amount, unit);
    // Due times are in 100 ns steps; the loop's timer counts whole milliseconds.
    const qint64 milliseconds = -due / 10000;
    if (milliseconds <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(int(std::min<qint64>(milliseconds, std::numeric_limits<int>::max())));
    loop.exec();
}
