#include "HotKeyTable.h"
#include "HotKeyService.h"

#include <QTest>
#include <QWidget>

namespace {

// Hands out identifiers from 100 up and writes down every call.
class RecordingHotKeys : public HotKeyService {
public:
    int RegisterHotKey(QWidget* owner, int modifiers, int key) override
    {
        calls.append(QStringLiteral("register %1 %2 %3")
                         .arg(owner ? owner->objectName() : "-")
                         .arg(modifiers)
                         .arg(key));
        return next++;
    }
    void UnregisterHotKey(QWidget* owner, int id) override
    {
        calls.append(QStringLiteral("unregister %1 %2").arg(owner ? owner->objectName() : "-").arg(id));
    }

    QStringList calls;
    int next = 100;
};

} // namespace

class HotKeyTableTest : public QObject {
    Q_OBJECT

private slots:
    void registerNamesAndUnregisters()
    {
        RecordingHotKeys service;
        QWidget window, label;
        window.setObjectName(QStringLiteral("browser"));
        HotKeyTable table(&service);
        table.Bind(&window, &label);
        table.Register(1, 0x4C, QStringLiteral("取元素"));
        table.Register(1, 0x4D, QStringLiteral("other"));
        QCOMPARE(service.calls, (QStringList{"register browser 1 76", "register browser 1 77"}));
        QCOMPARE(table.NameOf(100), QStringLiteral("取元素"));
        QCOMPARE(table.NameOf(101), QStringLiteral("other"));
        QCOMPARE(table.NameOf(7), QString());

        QVERIFY(!table.Unregister(QStringLiteral("nothing")));
        QVERIFY(table.Unregister(QStringLiteral("other")));
        QCOMPARE(service.calls.last(), QStringLiteral("unregister browser 101"));
        // Unregistered but still listed.
        QCOMPARE(table.NameOf(101), QStringLiteral("other"));

        table.UnregisterAll();
        QVERIFY(table.Entries().isEmpty());
        QCOMPARE(service.calls.mid(3), (QStringList{"unregister browser 100", "unregister browser 101"}));
    }

    void bindReleasesWhatWasThere()
    {
        RecordingHotKeys service;
        QWidget first, second, label;
        first.setObjectName(QStringLiteral("first"));
        second.setObjectName(QStringLiteral("second"));
        HotKeyTable table(&service);
        table.Bind(&first, &label);
        table.Register(1, 0x4C, QStringLiteral("取元素"));
        table.Bind(&second, &label);
        QVERIFY(table.Entries().isEmpty());
        // Released with the handles just bound, as the table keeps only one owner.
        QCOMPARE(service.calls.last(), QStringLiteral("unregister second 100"));
    }

    void destroyReleasesEverything()
    {
        RecordingHotKeys service;
        {
            HotKeyTable table(&service);
            table.Register(1, 0x4C, QStringLiteral("a"));
            table.Register(1, 0x4C, QStringLiteral("b"));
        }
        QCOMPARE(service.calls.mid(2), (QStringList{"unregister - 100", "unregister - 101"}));
        {
            HotKeyTable empty(&service);
        }
        QCOMPARE(service.calls.size(), 4);
    }
};

QTEST_MAIN(HotKeyTableTest)
#include "HotKeyTableTest.moc"
