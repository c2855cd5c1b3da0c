#include "SearchIndex.h"
#include "DatabaseFile.h"
#include "RecordTable.h"
#include "StorageNames.h"
#include "TestServer.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList Names(RecordTable& records, const SearchIndex::Condition& condition)
{
    QStringList names;
    for (RecordSet set = records.Query(Tables::Bookmarks, Columns::Name,
                                       condition.where + QStringLiteral(" order by ID"), condition.args);
         set != 0 && !records.IsAfterLast(set); records.MoveNext(set))
        names.append(records.ReadText(Columns::Name, set));
    records.CloseRecordSet();
    return names;
}

} // namespace

class SearchIndexTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    RecordTable m_records;
    RecordTable m_server;

    void Add(const QString& name, const QString& address)
    {
        for (RecordTable* records : {&m_records, &m_server}) {
            if (records->IsOpen())
                QVERIFY(records->Insert(Tables::Bookmarks, QStringLiteral("名称,地址,分类"),
                                        {name, address, QStringLiteral("分类")}));
        }
    }

private slots:
    void initTestCase()
    {
        const QString path = m_dir.filePath(QStringLiteral("qavex.mdb"));
        QVERIFY(CreateDatabaseFile(path));
        QVERIFY(m_records.Open(path));
        // The same rows on a server, when there is one, answer the same searches.
        if (TestServer::Missing().isEmpty())
            QVERIFY(m_server.OpenServer(TestServer::NewCollection()));
        // Half the rows are there before the index, half come after it, through the triggers.
        Add(QStringLiteral("Alpha Beta"), QStringLiteral("https://ALPHA.example/x"));
        Add(QStringLiteral("alphabet soup"), QStringLiteral("http://a.cn/"));
        Add(QStringLiteral("100%_off 特价"), QStringLiteral("https://shop.cn/100%25"));
        Add(QStringLiteral("Élan émigré"), QStringLiteral("https://élan.fr/"));
        QVERIFY(!SearchIndex::Exists(m_records));
        QVERIFY(SearchIndex::Ensure(m_records));
        QVERIFY(SearchIndex::Exists(m_records));
        Add(QStringLiteral("引号\"双\""), QStringLiteral("https://q.cn/"));
        Add(QStringLiteral("淘宝网 购物"), QStringLiteral("https://www.taobao.com/"));
        Add(QStringLiteral("🔑🔑钥匙"), QStringLiteral("https://key.cn/a\\b"));
        Add(QStringLiteral("old name"), QStringLiteral("https://gone.cn/"));
        Add(QStringLiteral("deleted one"), QStringLiteral("https://deleted.cn/"));
        for (RecordTable* records : {&m_records, &m_server}) {
            if (!records->IsOpen())
                continue;
            QVERIFY(records->Update(Tables::Bookmarks, QStringLiteral("名称=?"), QStringLiteral("名称=?"),
                                    {QStringLiteral("renamed"), QStringLiteral("old name")}));
            QVERIFY(records->Delete(Tables::Bookmarks, QStringLiteral("名称=?"),
                                    {QStringLiteral("deleted one")}));
        }
    }

    void indexedAndLiteralAgree_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        const QString name = Columns::Name;
        const QString address = Columns::Address;
        QTest::newRow("ASCII in either case")
            << name << "ALPHA" << QStringList{"Alpha Beta", "alphabet soup"};
        QTest::newRow("longer than one word") << name << "pha bet" << QStringList{"Alpha Beta"};
        QTest::newRow("% and _ as themselves") << name << "0%_o" << QStringList{"100%_off 特价"};
        QTest::newRow("_ is not any character") << name << "a_b" << QStringList{};
        QTest::newRow("other letters keep their case") << name << "élan" << QStringList{};
        QTest::newRow("other letters as typed") << name << "Élan" << QStringList{"Élan émigré"};
        QTest::newRow("double quotes") << name << "\"双\"" << QStringList{"引号\"双\""};
        QTest::newRow("Chinese") << name << "淘宝网" << QStringList{"淘宝网 购物"};
        QTest::newRow("two characters") << name << "宝网" << QStringList{"淘宝网 购物"};
        QTest::newRow("one character") << name << "p" << QStringList{"Alpha Beta", "alphabet soup"};
        QTest::newRow("two characters beyond the BMP") << name << "🔑钥" << QStringList{"🔑🔑钥匙"};
        QTest::newRow("three characters beyond the BMP") << name << "🔑🔑钥" << QStringList{"🔑🔑钥匙"};
        QTest::newRow("address, any case") << address << "TAOBAO.com" << QStringList{"淘宝网 购物"};
        QTest::newRow("backslash") << address << "a\\b" << QStringList{"🔑🔑钥匙"};
        QTest::newRow("renamed row, new name") << name << "renamed" << QStringList{"renamed"};
        QTest::newRow("renamed row, old name") << name << "old name" << QStringList{};
        QTest::newRow("deleted row") << name << "deleted" << QStringList{};
        QTest::newRow("nothing") << name << "xyz" << QStringList{};
        QTest::newRow("FTS syntax as text") << name << "AND OR NEAR(*" << QStringList{};
    }

    void indexedAndLiteralAgree()
    {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        QCOMPARE(Names(m_records, SearchIndex::Literal(column, text)), found);
        QCOMPARE(Names(m_records, SearchIndex::Indexed(column, text)), found);
        QCOMPARE(Names(m_records, SearchIndex::Matching(m_records, column, text)), found);
    }

    void serverAgrees_data() { indexedAndLiteralAgree_data(); }

    void serverAgrees()
    {
        QAVEX_NEEDS_SERVER();
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        QCOMPARE(Names(m_server, SearchIndex::Matching(m_server, column, text)), found);
    }

    void serverSearchUsesTheTrigramIndex()
    {
        QAVEX_NEEDS_SERVER();
        // Planned as on a large table, where a scan costs: the plan goes through the index.
        const SearchIndex::Condition condition =
            SearchIndex::Matching(m_server, Columns::Name, QStringLiteral("淘宝网"));
        QString where = condition.where;
        where.replace(u'?', QStringLiteral("'%1'").arg(condition.args[0].toString()));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("plan"));
            const ServerAddress& server = m_server.Server();
            db.setHostName(server.host);
            db.setPort(server.port);
            db.setDatabaseName(server.database);
            db.setUserName(server.user);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral("set enable_seqscan = off")));
            QVERIFY(query.exec(QStringLiteral("explain select ID from 网址 where ") + where));
            QStringList plan;
            while (query.next())
                plan.append(query.value(0).toString());
            QVERIFY2(plan.join(u'\n').contains(QStringLiteral("网址_名称_三元")),
                     qPrintable(plan.join(u'\n')));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("plan"));
    }
};

QTEST_GUILESS_MAIN(SearchIndexTest)
#include "SearchIndexTest.moc"
