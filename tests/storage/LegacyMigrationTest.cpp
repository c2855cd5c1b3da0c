#include "DatabaseFile.h"
#include "IniFile.h"
#include "LegacyReader.h"
#include "RecordTable.h"
#include "Requirement.h"
#include "SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString Fixture(const QString& name)
{
    return QStringLiteral(QAVEX_SHARED_DIR "/fixtures/legacy/") + name;
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Every row of a table as "ID|value|value…", NULL shown as <NULL>.
QStringList Dump(const QString& path, const QString& table)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("dump"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(QStringLiteral("select * from %1 order by ID").arg(table), db);
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values.append(query.value(i).isNull() ? QStringLiteral("<NULL>") : query.value(i).toString());
            rows.append(values.join(u'|'));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("dump"));
    return rows;
}

} // namespace

class LegacyMigrationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QAVEX_REQUIRE(QFile::exists(Fixture(QStringLiteral("qavex.mdb"))),
                      QStringLiteral("the legacy fixtures are not beside the project"));
    }

    void migratesEveryRow_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::newRow("compressed text") << "qavex.mdb";
        QTest::newRow("uncompressed text") << "qavex-nocomp.mdb";
    }

    void migratesEveryRow()
    {
        QFETCH(QString, fixture);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
        QVERIFY(QFile::copy(Fixture(fixture), path));
        const QByteArray original = ReadBytes(path);

        RecordTable records;
        int bookmarks = -1;
        QCOMPARE(PrepareDatabase(records, dir.path(), IniFile(dir.filePath(SettingsFileName)), &bookmarks),
                 DatabaseState::Migrated);
        QCOMPARE(bookmarks, 4);
        QVERIFY(records.IsOpen());
        records.Close();

        QCOMPARE(Dump(path, QStringLiteral("历史地址")),
                 (QStringList{"1|http://www.example.com/", "2|https://mail.example.cn/login"}));
        QCOMPARE(Dump(path, QStringLiteral("分类")),
                 (QStringList{"1|软件下载", "2|新闻门户", "3|邮箱", "4|O'Brien"}));
        const QString nulls = QStringLiteral("|<NULL>|<NULL>|<NULL>|<NULL>|<NULL>|<NULL>|<NULL>|<NULL>");
        QCOMPARE(
            Dump(path, QStringLiteral("网址")),
            (QStringList{
                QStringLiteral("1|精品下载|https://flathub.org/|软件下载|精品软件下载站") + nulls,
                QStringLiteral("2|新浪网|http://www.sina.com.cn|新闻门户|") + nulls,
                QStringLiteral("3|企业邮箱|https://mail.example.cn/login|邮箱|登录页|alice|p'w\"d密码|user|"
                               "pass|0|go|0|按钮"),
                QStringLiteral("4|O'Brien 的博客|http://obrien.example/?a=1&b=2|O'Brien|引号'测试|bob|x|u|"
                               "p|1|登录|2|链接")}));
        // The old file is kept, whole, beside the new one, readable by its owner only (it holds
        // passwords in plain text); and the first-run rows are not added.
        QCOMPARE(ReadBytes(path + QStringLiteral(".jet")), original);
        QCOMPARE(QFile::permissions(path + QStringLiteral(".jet")) & 0xF0FF,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"qavex.mdb", "qavex.mdb.jet"}));
    }

    // What the library prints on standard output does not mix with the rows.
    void libraryDiagnosticsDoNotSpoilTheRows()
    {
        const QByteArray preload = qgetenv("LD_PRELOAD");
        const QByteArray asan = qgetenv("ASAN_OPTIONS");
        qputenv("LD_PRELOAD", CHATTY_MDB);
        qputenv("ASAN_OPTIONS", asan + ":verify_asan_link_order=0");
        const auto tables = ReadLegacyTables(Fixture(QStringLiteral("qavex.mdb")));
        qputenv("LD_PRELOAD", preload);
        qputenv("ASAN_OPTIONS", asan);
        QVERIFY(tables);
        QCOMPARE(tables->value(QStringLiteral("网址")).rows.size(), 4);
    }

    void emptyDatabaseGivesEmptyTables()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
        QVERIFY(QFile::copy(Fixture(QStringLiteral("qavex-empty.mdb")), path));
        QFile(dir.filePath(QStringLiteral("qavex.mdb.jet"))).open(QIODevice::WriteOnly);
        RecordTable records;
        int bookmarks = -1;
        QCOMPARE(PrepareDatabase(records, dir.path(), IniFile(dir.filePath(SettingsFileName)), &bookmarks),
                 DatabaseState::Migrated);
        QCOMPARE(bookmarks, 0);
        records.Close();
        QVERIFY(Dump(path, QStringLiteral("网址")).isEmpty());
        QVERIFY(Dump(path, QStringLiteral("历史地址")).isEmpty());
        // qavex.mdb.jet was taken: the old file goes to the next free name.
        QVERIFY(QFile::exists(path + QStringLiteral(".jet.2")));
    }

    void cutCopyIsLeftAsItWas()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
        const QByteArray cut = ReadBytes(Fixture(QStringLiteral("qavex.mdb"))).left(100000);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(cut);
        file.close();
        RecordTable records;
        QCOMPARE(PrepareDatabase(records, dir.path(), IniFile(dir.filePath(SettingsFileName))),
                 DatabaseState::UnreadableLegacy);
        QCOMPARE(ReadBytes(path), cut);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"qavex.mdb"});
        QVERIFY(!MigrateJetDatabase(path));
    }

    // Damaged copies that crash the library, or send it into an endless loop eating memory: each is
    // refused as damaged, the file left as it was. A row claiming more columns than its table has
    // is read within the table's columns (under AddressSanitizer, the reader would fail otherwise).
    void damagedFileIsRefused_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<DatabaseState>("state");
        const DatabaseState refused = DatabaseState::UnreadableLegacy;
        QTest::newRow("page map (library crash)") << "qavex.mdb" << qint64(0x2037) << 0x00 << 0xFF << refused;
        QTest::newRow("property loop (memory runaway)")
            << "qavex-nocomp.mdb" << qint64(0x17DC7) << 0x26 << 0x00 << refused;
        QTest::newRow("property loop, empty tables")
            << "qavex-empty.mdb" << qint64(0x17EB8) << 0x09 << 0x00 << refused;
        QTest::newRow("row column count (over-read)")
            << "qavex-nocomp.mdb" << qint64(0x25010) << 0x38 << 0x36 << DatabaseState::Migrated;
        QTest::newRow("cut at a page boundary") << "qavex.mdb" << qint64(-0x8000) << 0 << 0 << refused;
    }

    void damagedFileIsRefused()
    {
        QFETCH(QString, fixture);
        QFETCH(qint64, offset);
        QFETCH(int, from);
        QFETCH(int, to);
        QByteArray bytes = ReadBytes(Fixture(fixture));
        if (offset < 0) {
            bytes.chop(-offset);
        } else {
            QCOMPARE(int(quint8(bytes[offset])), from);
            bytes[offset] = char(to);
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        QFETCH(DatabaseState, state);
        RecordTable records;
        QCOMPARE(PrepareDatabase(records, dir.path(), IniFile(dir.filePath(SettingsFileName))), state);
        if (state == DatabaseState::Migrated)
            return;
        QVERIFY(!records.IsOpen());
        QCOMPARE(ReadBytes(path), bytes);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"qavex.mdb"});
    }
};

QTEST_GUILESS_MAIN(LegacyMigrationTest)
#include "LegacyMigrationTest.moc"
