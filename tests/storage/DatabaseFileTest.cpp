#include "DatabaseFile.h"
#include "BuiltInTexts.h"
#include "IniFile.h"
#include "RecordTable.h"
#include "StorageNames.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class DatabaseFileTest : public QObject {
    Q_OBJECT

private:
    // The schema as SQLite keeps it: name → the statement that made it.
    static QMap<QString, QString> Schema(const QString& path)
    {
        QMap<QString, QString> schema;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("inspect"));
            db.setDatabaseName(path);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            if (db.open()) {
                QSqlQuery query(
                    QStringLiteral("select name, sql from sqlite_master where name not like 'sqlite_%'"), db);
                while (query.next())
                    schema.insert(query.value(0).toString(), query.value(1).toString());
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("inspect"));
        return schema;
    }

    static QByteArray ReadBytes(const QString& path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

private slots:
    void firstStartCreatesTheDatabase()
    {
        QTemporaryDir dir;
        const IniFile settings(QDir(dir.path()).filePath(SettingsFileName));
        RecordTable records;
        QCOMPARE(PrepareDatabase(records, dir.path(), settings), DatabaseState::Created);

        const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
        QVERIFY(IsSqliteFile(path));
        struct stat status = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0600u);

        const QMap<QString, QString> schema = Schema(path);
        QCOMPARE(schema.value(QStringLiteral("历史地址")),
                 QStringLiteral(
                     "CREATE TABLE 历史地址([ID] INTEGER PRIMARY KEY AUTOINCREMENT ,[地址] VARCHAR(255))"));
        QCOMPARE(schema.value(QStringLiteral("分类")),
                 QStringLiteral(
                     "CREATE TABLE 分类([ID] INTEGER PRIMARY KEY AUTOINCREMENT ,[分类名] VARCHAR(40))"));
        QCOMPARE(
            schema.value(QStringLiteral("网址")),
            QStringLiteral("CREATE TABLE 网址([ID] INTEGER PRIMARY KEY AUTOINCREMENT ,[名称] VARCHAR(100),"
                           "[地址] VARCHAR(100),[分类] VARCHAR(40),[备注] VARCHAR(100),[账号] VARCHAR(20),"
                           "[密码] VARCHAR(20),[账号标识] VARCHAR(100),[密码标识] VARCHAR(100),"
                           "[标识类型] VARCHAR(2),[按钮标识] VARCHAR(100),[按钮标识类型] VARCHAR(2),"
                           "[控件类型] VARCHAR(6))"));
        QCOMPARE(schema.value(QStringLiteral("网址_地址")),
                 QStringLiteral("CREATE INDEX 网址_地址 on 网址(地址)"));
        QCOMPARE(schema.value(QStringLiteral("网址_分类")),
                 QStringLiteral("CREATE INDEX 网址_分类 on 网址(分类)"));
        QCOMPARE(schema.value(QStringLiteral("历史地址_地址")),
                 QStringLiteral("CREATE INDEX 历史地址_地址 on 历史地址(地址)"));

        QStringList history;
        records.ReadColumn(history, Tables::History, Columns::Address);
        QCOMPARE(history, QStringList{BuiltInTexts::StartAddress()});
        QCOMPARE(settings.Read(Settings::LastBrowserAddress), BuiltInTexts::StartAddress());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"qavex.ini", "qavex.mdb"}));
    }

    void laterStartsCreateNothing()
    {
        QTemporaryDir dir;
        const IniFile settings(QDir(dir.path()).filePath(SettingsFileName));
        {
            RecordTable records;
            QCOMPARE(PrepareDatabase(records, dir.path(), settings), DatabaseState::Created);
        }
        QFile::remove(settings.Path());
        RecordTable records;
        QCOMPARE(PrepareDatabase(records, dir.path(), settings), DatabaseState::Opened);
        QVERIFY(!QFile::exists(settings.Path()));
        QStringList history;
        QCOMPARE(records.ReadColumn(history, Tables::History, Columns::Address), 1);
    }

    void foreignFileIsNeverTouched_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<DatabaseState>("state");
        QFile fixture(QStringLiteral(QAVEX_SHARED_DIR "/fixtures/legacy/qavex.mdb"));
        if (fixture.open(QIODevice::ReadOnly))
            QTest::newRow("Jet database cut short")
                << fixture.read(155000) << DatabaseState::UnreadableLegacy;
        QTest::newRow("text") << QByteArray("not a database\n") << DatabaseState::NotADatabase;
        QTest::newRow("SQLite header cut short") << QByteArray("SQLite form") << DatabaseState::NotADatabase;
    }

    void foreignFileIsNeverTouched()
    {
        QFETCH(QByteArray, content);
        QFETCH(DatabaseState, state);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        const IniFile settings(QDir(dir.path()).filePath(SettingsFileName));
        RecordTable records;
        QCOMPARE(PrepareDatabase(records, dir.path(), settings), state);
        QVERIFY(!records.IsOpen());
        QCOMPARE(ReadBytes(path), content);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"qavex.mdb"});
    }

    void danglingLinkIsNotFollowed()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("elsewhere/qavex.mdb"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("elsewhere")));
        QVERIFY(QFile::link(target, dir.filePath(QStringLiteral("qavex.mdb"))));
        RecordTable records;
        QCOMPARE(PrepareDatabase(records, dir.path(), IniFile(dir.filePath(SettingsFileName))),
                 DatabaseState::Failed);
        QVERIFY(!QFile::exists(target));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("qavex.mdb"))).isSymLink());
    }

    void anotherProgramsSqliteFileIsRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery(QStringLiteral("create table notes(id integer, text varchar(10))"), db);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
        const QByteArray before = ReadBytes(path);
        RecordTable records;
        QCOMPARE(PrepareDatabase(records, dir.path(), IniFile(dir.filePath(SettingsFileName))),
                 DatabaseState::NotADatabase);
        QVERIFY(!records.IsOpen());
        QCOMPARE(ReadBytes(path), before);
    }

    // What a kill during creation left is cleared at the next start, and only that: the user's
    // own files named like ours stay. What holds passwords is readable by its owner only.
    void leftoversGoAndPasswordsAreTheOwnersOnly()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
        QVERIFY(CreateDatabaseFile(path));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadGroup | QFileDevice::ReadOther));
        const QStringList users{"qavex.mdb.backup",         "qavex.mdb.before", "qavex.mdb.Ab12Cd",
                                "qavex.mdb.Ab12Cd-journal", "qavex.mdb.jet",    "qavex.mdb.jet.2"};
        for (const QString& name : users + QStringList{".qavex-creating-qavex.mdb.Ab12Cd",
                                                       ".qavex-creating-qavex.mdb.Ab12Cd-journal"})
            QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
        RecordTable records;
        QCOMPARE(PrepareDatabase(records, dir.path(), IniFile(dir.filePath(SettingsFileName))),
                 DatabaseState::Opened);
        QStringList expected = users + QStringList{"qavex.mdb"};
        expected.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
        QCOMPARE(QFile::permissions(path) & 0xF0FF, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void emptyFileIsTakenForNoFile()
    {
        QTemporaryDir dir;
        QFile(dir.filePath(QStringLiteral("qavex.mdb"))).open(QIODevice::WriteOnly);
        RecordTable records;
        QCOMPARE(PrepareDatabase(records, dir.path(), IniFile(dir.filePath(QStringLiteral("qavex.ini")))),
                 DatabaseState::Created);
    }

    void failedCreationLeavesNoFile()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("gone"));
        RecordTable records;
        QCOMPARE(PrepareDatabase(records, missing, IniFile(missing + QStringLiteral("/qavex.ini"))),
                 DatabaseState::Failed);
        QVERIFY(!QFile::exists(missing));
        QVERIFY(!CreateDatabaseFile(missing + QStringLiteral("/qavex.mdb")));
    }

    void creationNeverReplacesAFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("mine");
        file.close();
        QVERIFY(!CreateDatabaseFile(path));
        QCOMPARE(ReadBytes(path), QByteArray("mine"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"qavex.mdb"});
    }
};

QTEST_GUILESS_MAIN(DatabaseFileTest)
#include "DatabaseFileTest.moc"
