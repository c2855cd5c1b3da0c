#include "RecordTable.h"
#include "DatabaseFile.h"
#include "StorageNames.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class RecordTableTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    QString NewDatabase()
    {
        const QString path = m_dir.filePath(QStringLiteral("db%1.mdb").arg(++m_files));
        if (!CreateDatabaseFile(path))
            qFatal("cannot create %s", qPrintable(path));
        return path;
    }

    static void AddHistory(RecordTable& table, const QStringList& addresses)
    {
        for (const QString& address : addresses)
            QVERIFY(table.Insert(Tables::History, Columns::Address, {address}));
    }

    static QStringList History(RecordTable& table)
    {
        QStringList addresses;
        table.ReadColumn(addresses, Tables::History, Columns::Address);
        return addresses;
    }

private slots:
    void hostileValuesAreStoredAndMatchedAsThemselves_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("single quote") << "it's";
        QTest::newRow("double quotes") << "say \"hi\"";
        QTest::newRow("quote that closes the literal") << "' or '1'='1";
        QTest::newRow("like wildcards") << "100%_off";
        QTest::newRow("statement after a semicolon") << "x'; delete from 网址; --";
        QTest::newRow("comment") << "-- x";
        QTest::newRow("NUL byte") << QString::fromUtf16(u"before\0after", 12);
        QTest::newRow("10,000 characters") << QString(10000, u'长');
        QTest::newRow("backslash and newline") << "a\\b\nc";
    }

    void hostileValuesAreStoredAndMatchedAsThemselves()
    {
        QFETCH(QString, value);
        RecordTable table;
        QVERIFY(table.Open(NewDatabase()));
        const QString bookmarkColumns = Columns::Name + u',' + Columns::Address + u',' + Columns::Category;
        QVERIFY(table.Insert(Tables::Bookmarks, bookmarkColumns,
                             {QStringLiteral("旁观者"), QStringLiteral("x"), value}));
        QVERIFY(table.Insert(Tables::Bookmarks, bookmarkColumns, {value, value, QStringLiteral("分类")}));

        QVERIFY(table.Exists(Tables::Bookmarks, Columns::Address, QStringLiteral("地址=?"), {value}));
        QVERIFY(!table.Exists(Tables::Bookmarks, Columns::Address, QStringLiteral("地址=?"), {value + u'!'}));

        QVERIFY(table.Query(Tables::Bookmarks, QStringLiteral("*"), QStringLiteral("地址=?"), {value}) != 0);
        QCOMPARE(table.ReadText(Columns::Name), value);
        table.MoveNext();
        QVERIFY(table.IsAfterLast());
        table.CloseRecordSet();

        const QString changed = value + QStringLiteral("'改");
        QVERIFY(table.Update(Tables::Bookmarks, QStringLiteral("名称=?"), QStringLiteral("地址=?"),
                             {changed, value}));
        QVERIFY(table.Query(Tables::Bookmarks, {}, QStringLiteral("地址=?"), {value}) != 0);
        QCOMPARE(table.ReadText(Columns::Name), changed);
        table.CloseRecordSet();

        QVERIFY(table.Delete(Tables::Bookmarks, QStringLiteral("地址=?"), {value}));
        QVERIFY(!table.Exists(Tables::Bookmarks, {}, QStringLiteral("地址=?"), {value}));

        // The other row is untouched by every statement above.
        QVERIFY(table.Query(Tables::Bookmarks, {}, QStringLiteral("地址=?"), {QStringLiteral("x")}) != 0);
        QCOMPARE(table.ReadText(Columns::Name), QStringLiteral("旁观者"));
        QCOMPARE(table.ReadText(Columns::Category), value);
        table.CloseRecordSet();
    }

    void everythingFailsBeforeOpenAndAfterClose()
    {
        RecordTable table;
        for (int round = 0; round < 2; ++round) {
            QVERIFY(!table.Insert(Tables::History, Columns::Address, {QStringLiteral("a")}));
            QVERIFY(!table.Exists(Tables::History, {}, QStringLiteral("1=1")));
            QVERIFY(!table.Update(Tables::History, QStringLiteral("地址=?"), {}, {QStringLiteral("b")}));
            QCOMPARE(table.Query(Tables::History, {}), 0);
            QVERIFY(table.IsAfterLast());
            QCOMPARE(table.ReadText(Columns::Address), QString(""));
            QStringList column{QStringLiteral("stale")};
            QCOMPARE(table.ReadColumn(column, Tables::History, Columns::Address), 0);
            QVERIFY(column.isEmpty());
            QVERIFY(!table.Delete(Tables::History, QStringLiteral("1=1")));
            QVERIFY(!table.DeleteAll(Tables::History));

            QVERIFY(table.Open(NewDatabase()));
            AddHistory(table, {QStringLiteral("a")});
            table.Close();
            QVERIFY(!table.IsOpen());
        }
    }

    void openRefusesMissingAndForeignFiles()
    {
        RecordTable table;
        const QString missing = m_dir.filePath(QStringLiteral("missing.mdb"));
        QVERIFY(!table.Open(missing));
        QVERIFY(!QFile::exists(missing));

        const QString foreign = m_dir.filePath(QStringLiteral("jet.mdb"));
        const QByteArray jet =
            QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(4000, '\x5a');
        QFile file(foreign);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(jet);
        file.close();
        QVERIFY(!table.Open(foreign));
        QVERIFY(!table.Insert(Tables::History, Columns::Address, {QStringLiteral("a")}));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), jet);
    }

    void readerWalksRowsInStoredOrder()
    {
        RecordTable table;
        QVERIFY(table.Open(NewDatabase()));
        AddHistory(table, {QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")});

        const RecordSet rows = table.Query(Tables::History, {});
        QVERIFY(rows != 0);
        QStringList read;
        while (!table.IsAfterLast(rows)) {
            read.append(table.ReadText(Columns::Address, rows));
            table.MoveNext(rows);
        }
        table.CloseRecordSet(rows);
        QCOMPARE(read, (QStringList{"c", "a", "b"}));
        QVERIFY(table.IsAfterLast());
    }

    void queryWithoutRowsReturnsZero()
    {
        RecordTable table;
        QVERIFY(table.Open(NewDatabase()));
        AddHistory(table, {QStringLiteral("a")});
        QCOMPARE(table.Query(Tables::History, {}, QStringLiteral("地址=?"), {QStringLiteral("zz")}), 0);
        QVERIFY(table.IsAfterLast());
        table.CloseRecordSet();
        QCOMPARE(table.Query(QStringLiteral("no_such_table"), {}), 0);
        QVERIFY(table.IsAfterLast());
    }

    void readColumnLeavesTheReaderAlone()
    {
        RecordTable table;
        QVERIFY(table.Open(NewDatabase()));
        AddHistory(table, {QStringLiteral("a"), QStringLiteral("b")});
        QVERIFY(table.Query(Tables::History, {}) != 0);
        QCOMPARE(table.ReadText(Columns::Address), QStringLiteral("a"));

        QCOMPARE(History(table), (QStringList{"a", "b"}));

        table.MoveNext();
        QCOMPARE(table.ReadText(Columns::Address), QStringLiteral("b"));
        table.CloseRecordSet();
    }

    void existsLeavesNoRecordSet()
    {
        RecordTable table;
        QVERIFY(table.Open(NewDatabase()));
        AddHistory(table, {QStringLiteral("a")});
        QVERIFY(!table.Exists(Tables::History, Columns::Address, QStringLiteral("地址=?"),
                              {QStringLiteral("b")}));
        QVERIFY(table.IsAfterLast());
        QVERIFY(
            table.Exists(Tables::History, Columns::Address, QStringLiteral("地址=?"), {QStringLiteral("a")}));
        QVERIFY(table.IsAfterLast());
    }

    void updateWithoutConditionChangesEveryRow()
    {
        RecordTable table;
        QVERIFY(table.Open(NewDatabase()));
        AddHistory(table, {QStringLiteral("a"), QStringLiteral("b")});
        QVERIFY(table.Update(Tables::History, QStringLiteral("地址=?"), {}, {QStringLiteral("z")}));
        QCOMPARE(History(table), (QStringList{"z", "z"}));
    }

    void deleteNeedsACondition()
    {
        RecordTable table;
        QVERIFY(table.Open(NewDatabase()));
        AddHistory(table, {QStringLiteral("a"), QStringLiteral("b")});
        QVERIFY(!table.Delete(Tables::History, {}));
        QCOMPARE(History(table).size(), 2);
        QVERIFY(table.DeleteAll(Tables::History));
        QVERIFY(History(table).isEmpty());
    }

    void rolledBackStatementsLeaveNothing()
    {
        RecordTable table;
        QVERIFY(table.Open(NewDatabase()));
        QVERIFY(table.BeginTransaction());
        AddHistory(table, {QStringLiteral("a"), QStringLiteral("b")});
        QVERIFY(table.Rollback());
        QVERIFY(History(table).isEmpty());
        QVERIFY(table.BeginTransaction());
        AddHistory(table, {QStringLiteral("c")});
        QVERIFY(table.Commit());
        QCOMPARE(History(table), QStringList{"c"});
    }
};

QTEST_GUILESS_MAIN(RecordTableTest)
#include "RecordTableTest.moc"
