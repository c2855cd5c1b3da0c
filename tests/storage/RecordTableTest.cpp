#include "RecordTable.h"
#include "DatabaseFile.h"
#include "StorageNames.h"
#include "TestServer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Every case runs twice: on an SQLite file, and on a collection on a PostgreSQL server.
class RecordTableTest : public QObject {
    Q_OBJECT

public:
    explicit RecordTableTest(bool onServer) : m_onServer(onServer) {}

private:
    bool m_onServer;
    QTemporaryDir m_dir;
    int m_files = 0;

    bool OpenNew(RecordTable& table)
    {
        return m_onServer ? table.OpenServer(TestServer::NewCollection()) : table.Open(NewDatabase());
    }

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
    void initTestCase()
    {
        if (m_onServer)
            QAVEX_NEEDS_SERVER();
    }

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
        QVERIFY(OpenNew(table));
        const QString bookmarkColumns = Columns::Name + u',' + Columns::Address + u',' + Columns::Category;
        if (m_onServer && value.contains(QChar(0))) {
            // PostgreSQL's text holds no NUL: refused, and said why, rather than cut short.
            QVERIFY(
                !table.Insert(Tables::Bookmarks, bookmarkColumns, {value, value, QStringLiteral("分类")}));
            QVERIFY(!table.LastError().isEmpty());
            QVERIFY(!table.ConnectionLost());
            return;
        }
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

            QVERIFY(OpenNew(table));
            AddHistory(table, {QStringLiteral("a")});
            table.Close();
            QVERIFY(!table.IsOpen());
        }
    }

    void openRefusesMissingAndForeignFiles()
    {
        if (m_onServer)
            QSKIP("a file's case");
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
        QVERIFY(OpenNew(table));
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
        QVERIFY(OpenNew(table));
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
        QVERIFY(OpenNew(table));
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
        QVERIFY(OpenNew(table));
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
        QVERIFY(OpenNew(table));
        AddHistory(table, {QStringLiteral("a"), QStringLiteral("b")});
        QVERIFY(table.Update(Tables::History, QStringLiteral("地址=?"), {}, {QStringLiteral("z")}));
        QCOMPARE(History(table), (QStringList{"z", "z"}));
    }

    void deleteNeedsACondition()
    {
        RecordTable table;
        QVERIFY(OpenNew(table));
        AddHistory(table, {QStringLiteral("a"), QStringLiteral("b")});
        QVERIFY(!table.Delete(Tables::History, {}));
        QCOMPARE(History(table).size(), 2);
        QVERIFY(table.DeleteAll(Tables::History));
        QVERIFY(History(table).isEmpty());
    }

    void rolledBackStatementsLeaveNothing()
    {
        RecordTable table;
        QVERIFY(OpenNew(table));
        QVERIFY(table.BeginTransaction());
        AddHistory(table, {QStringLiteral("a"), QStringLiteral("b")});
        // Written out to the file before the end, a long transaction is still undone whole.
        QStringList many;
        for (int i = 0; i < 3000; ++i)
            many.append(QStringLiteral("https://%1.cn/").arg(i));
        AddHistory(table, many);
        table.WriteOutChanges();
        AddHistory(table, {QStringLiteral("z")});
        QVERIFY(table.Rollback());
        QVERIFY(History(table).isEmpty());
        if (!m_onServer) {
            RecordTable other;
            QVERIFY(other.Open(table.Path()));
            QVERIFY(History(other).isEmpty());
            QCOMPARE(other.ReadRows(QStringLiteral("pragma_integrity_check"), {QStringLiteral("*")}, {}),
                     QList<QStringList>{{QStringLiteral("ok")}});
        }
        QVERIFY(table.BeginTransaction());
        AddHistory(table, {QStringLiteral("c")});
        QVERIFY(table.Commit());
        QCOMPARE(History(table), QStringList{"c"});
    }

    void serverStoresAnAddressOnce()
    {
        if (!m_onServer)
            QSKIP("the server's unique index");
        const ServerAddress server = TestServer::NewCollection();
        RecordTable first;
        RecordTable second;
        QVERIFY(first.OpenServer(server) && second.OpenServer(server));
        const QString columns = Columns::Name + u',' + Columns::Address;
        QVERIFY(first.Insert(Tables::Bookmarks, columns,
                             {QStringLiteral("一"), QStringLiteral("https://a.cn/")}));
        QVERIFY(first.LastInsertId() > 0);
        QVERIFY(!second.Insert(Tables::Bookmarks, columns,
                               {QStringLiteral("二"), QStringLiteral("https://a.cn/")}));
        QVERIFY(second.LastFailureWasDuplicate());
        QVERIFY(second.Insert(Tables::Bookmarks, columns,
                              {QStringLiteral("二"), QStringLiteral("https://b.cn/")}));
        QVERIFY(!second.LastFailureWasDuplicate() || second.LastInsertId() > first.LastInsertId());
        QCOMPARE(second.ReadIds(Tables::Bookmarks)->size(), size_t(2));
    }

    void serverChangesAreAnnouncedToTheOthers()
    {
        if (!m_onServer)
            QSKIP("the server's notifications");
        const ServerAddress server = TestServer::NewCollection();
        RecordTable watcher;
        RecordTable writer;
        QVERIFY(watcher.OpenServer(server) && writer.OpenServer(server));
        int told = 0;
        QObject context;
        QVERIFY(watcher.WatchOtherChanges(&context, [&told] { ++told; }));
        // Its own changes are not news to it.
        QVERIFY(watcher.Insert(Tables::Categories, Columns::CategoryName, {QStringLiteral("自己的")}));
        QTest::qWait(300);
        QCOMPARE(told, 0);
        QVERIFY(writer.Insert(Tables::Categories, Columns::CategoryName, {QStringLiteral("别人的")}));
        QTRY_COMPARE_WITH_TIMEOUT(told, 1, 1000);
        QVERIFY(writer.Delete(Tables::Bookmarks, QStringLiteral("1=1")));
        QTRY_COMPARE_WITH_TIMEOUT(told, 2, 1000);
        // A connection opened again listens again.
        TestServer::DropConnections(server);
        QVERIFY(!watcher.Exists(Tables::Categories, Columns::Id, QStringLiteral("1=1")));
        QVERIFY(watcher.ConnectionLost());
        QCoreApplication::processEvents();
        QVERIFY(watcher.Exists(Tables::Categories, Columns::Id, QStringLiteral("1=1")));
        QVERIFY(!writer.Insert(Tables::Categories, Columns::CategoryName, {QStringLiteral("第三")}));
        QCoreApplication::processEvents();
        QVERIFY(writer.Insert(Tables::Categories, Columns::CategoryName, {QStringLiteral("第三")}));
        QTRY_COMPARE_WITH_TIMEOUT(told, 3, 1000);
    }

    void serverConnectionLostIsToldAndOpenedAgain()
    {
        if (!m_onServer)
            QSKIP("a server's connection");
        const ServerAddress server = TestServer::NewCollection();
        RecordTable table;
        QVERIFY(table.OpenServer(server));
        QStringList told;
        table.OnConnectionLost([&told](const QString& reason) { told.append(reason); });
        AddHistory(table, {QStringLiteral("before")});

        // Lost outside a transaction: that statement fails and says so, the next one reconnects.
        TestServer::DropConnections(server);
        QVERIFY(!table.Insert(Tables::History, Columns::Address, {QStringLiteral("lost")}));
        QVERIFY(table.ConnectionLost());
        QCOMPARE(told.size(), 1);
        QVERIFY(!told[0].isEmpty());
        // Not within the same act: what the user asked after the failure reconnects.
        QVERIFY(!table.Insert(Tables::History, Columns::Address, {QStringLiteral("same act")}));
        QCoreApplication::processEvents();
        AddHistory(table, {QStringLiteral("after")});
        QVERIFY(!table.ConnectionLost());

        // Lost inside a transaction: nothing after it is stored until the transaction is given up.
        QVERIFY(table.BeginTransaction());
        AddHistory(table, {QStringLiteral("in transaction")});
        TestServer::DropConnections(server);
        QVERIFY(!table.Insert(Tables::History, Columns::Address, {QStringLiteral("x")}));
        QVERIFY(!table.Insert(Tables::History, Columns::Address, {QStringLiteral("y")}));
        QVERIFY(!table.Commit());
        table.Rollback();
        QCoreApplication::processEvents();
        QCOMPARE(History(table), (QStringList{"before", "after"}));
        QCOMPARE(told.size(), 2);

        // A server that is not there at all fails to open, with the reason.
        ServerAddress nowhere = server;
        nowhere.port = 1;
        RecordTable unreachable;
        QVERIFY(!unreachable.OpenServer(nowhere));
        QVERIFY(!unreachable.LastError().isEmpty());
        QVERIFY(!unreachable.IsOpen());
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    RecordTableTest onFile(false);
    RecordTableTest onServer(true);
    return QTest::qExec(&onFile, argc, argv) | QTest::qExec(&onServer, argc, argv);
}
#include "RecordTableTest.moc"
