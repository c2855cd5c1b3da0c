#include "PumpingWait.h"

#include <QTest>
#include <QTimer>

class PumpingWaitTest : public QObject {
    Q_OBJECT

private slots:
    void dueTime_data()
    {
        QTest::addColumn<int>("amount");
        QTest::addColumn<int>("unit");
        QTest::addColumn<qint64>("due");
        QTest::newRow("500 ms") << 500 << 0 << qint64(-5000000);
        QTest::newRow("100 ms") << 100 << 0 << qint64(-1000000);
        QTest::newRow("3 s") << 3 << 2 << qint64(-30000000);
        QTest::newRow("0 ms") << 0 << 0 << qint64(0);
        QTest::newRow("7 µs") << 7 << 1 << qint64(-70);
        QTest::newRow("2 min") << 2 << 3 << qint64(-1200000000);
        QTest::newRow("1 day") << 1 << 5 << qint64(-864000000000);
    }

    void dueTime()
    {
        QFETCH(int, amount);
        QFETCH(int, unit);
        QFETCH(qint64, due);
        QCOMPARE(DueTime(amount, WaitUnit(unit)), due);
    }

    // Events are handled during the wait, a wait started inside it ends first, and the outer
    // one then goes on until its own time is up.
    void waitsNest()
    {
        QStringList order;
        QTimer::singleShot(20, [&] {
            order.append(QStringLiteral("inner start"));
            PumpingWait(50);
            order.append(QStringLiteral("inner end"));
        });
        PumpingWait(30);
        order.append(QStringLiteral("outer end"));
        QCOMPARE(order, (QStringList{"inner start", "inner end", "outer end"}));
    }

    void zeroWaitHandlesPendingEvents()
    {
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        PumpingWait(0);
        QVERIFY(ran);
    }
};

QTEST_GUILESS_MAIN(PumpingWaitTest)
#include "PumpingWaitTest.moc"
