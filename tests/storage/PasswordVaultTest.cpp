#include "PasswordVault.h"
#include "DatabaseFile.h"
#include "RecordTable.h"
#include "SealedText.h"
#include "StorageNames.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

Q_DECLARE_METATYPE(PasswordProtection)
Q_DECLARE_METATYPE(VaultError)

namespace {

const QString KeyringService = QStringLiteral("qavex-test");
const QString Primary = QStringLiteral("正确的主密码");

// Passwords as a collection holds them: plain, empty, non-ASCII, long, and one of the user's that
// begins like a sealed value.
const QStringList Passwords{QStringLiteral("hunter2-plain"), QString(), QStringLiteral("口令·密码🔑"),
                            QString(300, u'x') + QStringLiteral("tail-of-long"),
                            QStringLiteral("qvx1:AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA")};

QStringList StoredPasswords(RecordTable& records)
{
    QStringList values;
    for (RecordSet set = records.Query(Tables::Bookmarks, QStringLiteral("密码"), {}, {});
         set != 0 && !records.IsAfterLast(set); records.MoveNext(set))
        values.append(records.ReadText(Columns::Password));
    records.CloseRecordSet();
    return values;
}

} // namespace

class PasswordVaultTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    QString NewCollection(const QStringList& passwords)
    {
        const QString path = m_dir.filePath(QStringLiteral("c%1.mdb").arg(++m_files));
        RecordTable records;
        if (!CreateDatabaseFile(path) || !records.Open(path) || !records.BeginTransaction())
            qFatal("cannot make %s", qPrintable(path));
        for (int i = 0; i < passwords.size(); ++i)
            records.Insert(Tables::Bookmarks, QStringLiteral("名称,地址,分类,账号,密码"),
                           {QStringLiteral("站%1").arg(i), QStringLiteral("https://s%1.example/").arg(i),
                            QStringLiteral("分类"), QStringLiteral("user%1").arg(i), passwords[i]});
        records.Commit();
        return path;
    }

    static std::unique_ptr<PasswordVault> Vault(RecordTable& records)
    {
        auto vault = std::make_unique<PasswordVault>(records, SystemKeyring(KeyringService, 5000));
        vault->SetPrimaryPasswordCost({1, 8192});
        return vault;
    }

    static QStringList Opened(PasswordVault& vault, RecordTable& records)
    {
        QStringList plain;
        for (const QString& stored : StoredPasswords(records))
            plain.append(vault.Open(stored).value_or(QStringLiteral("<unopened>")));
        return plain;
    }

    static void Protect(PasswordVault& vault, PasswordProtection mode)
    {
        QCOMPARE(vault.SwitchTo(mode, Primary), VaultError::None);
    }

private slots:
    void sealedValuesRoundTrip()
    {
        const SecretBytes key = SecretBytes::Random(SealKeySize);
        const SecretBytes other = SecretBytes::Random(SealKeySize);
        for (const QString& plain : {QString(), QStringLiteral("a"), QStringLiteral("密码🔑")}) {
            const QString sealed = SealText(plain, key);
            QVERIFY(sealed.startsWith(QStringLiteral("qvx1:")));
            QCOMPARE(OpenSealedText(sealed, key), plain);
            QVERIFY(!OpenSealedText(sealed, other));
            QVERIFY(SealText(plain, key) != sealed); // a fresh nonce each time
        }
        QVERIFY(!OpenSealedText(QStringLiteral("qvx1:not base64!"), key));
        QVERIFY(!OpenSealedText(QStringLiteral("qvx1:AAAA"), key));
    }

    void switchingBetweenModes_data()
    {
        QTest::addColumn<PasswordProtection>("from");
        QTest::addColumn<PasswordProtection>("to");
        const QList<std::pair<const char*, PasswordProtection>> modes{
            {"不保护", PasswordProtection::None},
            {"系统密钥环", PasswordProtection::Keyring},
            {"主密码", PasswordProtection::PrimaryPassword}};
        for (const auto& [fromName, from] : modes)
            for (const auto& [toName, to] : modes)
                QTest::addRow("%s → %s", fromName, toName) << from << to;
    }

    // From every mode to every other, with a plain value an older copy of qavex wrote in between:
    // afterwards every password is in the new form, reads back the same, and a later run with a
    // new vault on the file opens them.
    void switchingBetweenModes()
    {
        QFETCH(PasswordProtection, from);
        QFETCH(PasswordProtection, to);
        const QString path = NewCollection(Passwords);
        {
            RecordTable records;
            QVERIFY(records.Open(path));
            auto vault = Vault(records);
            Protect(*vault, from);
            QVERIFY(records.Update(Tables::Bookmarks, QStringLiteral("密码=?"), QStringLiteral("名称=?"),
                                   {Passwords[0], QStringLiteral("站0")}));
            Protect(*vault, to);
            QCOMPARE(vault->Protection(), to);
            QCOMPARE(Opened(*vault, records), Passwords);
        }
        RecordTable records;
        QVERIFY(records.Open(path));
        auto vault = Vault(records);
        QCOMPARE(vault->Protection(), to);
        QCOMPARE(vault->IsUnlocked(), to == PasswordProtection::None);
        QCOMPARE(vault->Unlock(Primary), VaultError::None);
        QCOMPARE(Opened(*vault, records), Passwords);

        const QStringList stored = StoredPasswords(records);
        QCOMPARE(records.HasColumns(Protection::Table, {Protection::Mode}), to != PasswordProtection::None);
        records.Close();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        for (int i = 0; i < Passwords.size(); ++i) {
            if (to == PasswordProtection::None || Passwords[i].isEmpty()) {
                QCOMPARE(stored[i], Passwords[i]);
            } else {
                QVERIFY2(IsSealedText(stored[i]), qPrintable(stored[i]));
                // Nowhere in the file, not even in the space the plain value left.
                QVERIFY(!bytes.contains(Passwords[i].toUtf8()));
            }
        }
    }

    void wrongPrimaryPasswordOpensNothing()
    {
        const QString path = NewCollection(Passwords);
        RecordTable records;
        QVERIFY(records.Open(path));
        Protect(*Vault(records), PasswordProtection::PrimaryPassword);
        auto vault = Vault(records);
        QCOMPARE(vault->Unlock(QStringLiteral("错误的密码")), VaultError::WrongPassword);
        VaultError error = VaultError::None;
        QVERIFY(!vault->Open(StoredPasswords(records)[0], &error));
        QCOMPARE(error, VaultError::Locked);
        QVERIFY(!vault->Seal(QStringLiteral("new"), &error));
        QCOMPARE(error, VaultError::Locked);
        QCOMPARE(vault->SwitchTo(PasswordProtection::None), VaultError::Locked);
        QVERIFY(IsSealedText(StoredPasswords(records)[0]));
    }

    void changingThePrimaryPasswordRewrapsOnly()
    {
        const QString path = NewCollection(Passwords);
        RecordTable records;
        QVERIFY(records.Open(path));
        auto vault = Vault(records);
        Protect(*vault, PasswordProtection::PrimaryPassword);
        const QStringList before = StoredPasswords(records);
        QCOMPARE(vault->ChangePrimaryPassword(QStringLiteral("新主密码")), VaultError::None);
        QCOMPARE(StoredPasswords(records), before);
        auto later = Vault(records);
        QCOMPARE(later->Unlock(Primary), VaultError::WrongPassword);
        QCOMPARE(later->Unlock(QStringLiteral("新主密码")), VaultError::None);
        QCOMPARE(Opened(*later, records), Passwords);
    }

    // A changed byte in a sealed value: that one password fails, the others open, and unsealing
    // refuses as a whole rather than leaving a mix.
    void tamperedValueIsRefused()
    {
        const QString path = NewCollection(Passwords);
        RecordTable records;
        QVERIFY(records.Open(path));
        auto vault = Vault(records);
        Protect(*vault, PasswordProtection::PrimaryPassword);
        QString sealed = StoredPasswords(records)[0];
        sealed[10] = sealed[10] == u'A' ? u'B' : u'A';
        QVERIFY(records.Update(Tables::Bookmarks, QStringLiteral("密码=?"), QStringLiteral("名称=?"),
                               {sealed, QStringLiteral("站0")}));
        VaultError error = VaultError::None;
        QVERIFY(!vault->Open(sealed, &error));
        QCOMPARE(error, VaultError::Tampered);
        QCOMPARE(vault->Open(StoredPasswords(records)[2]), Passwords[2]);

        const QStringList before = StoredPasswords(records);
        QCOMPARE(vault->SwitchTo(PasswordProtection::None), VaultError::Tampered);
        QCOMPARE(StoredPasswords(records), before);
        QCOMPARE(vault->Protection(), PasswordProtection::PrimaryPassword);
    }

    void derivationCostOutOfBounds_data()
    {
        QTest::addColumn<QString>("operations");
        QTest::addColumn<QString>("memory");
        QTest::addColumn<VaultError>("expected");
        QTest::newRow("as written") << "1"
                                    << "8192" << VaultError::WrongPassword;
        QTest::newRow("endless operations") << "4294967295"
                                            << "8192" << VaultError::Damaged;
        QTest::newRow("no operations") << "0"
                                       << "8192" << VaultError::Damaged;
        QTest::newRow("a terabyte") << "1"
                                    << "1099511627776" << VaultError::Damaged;
        QTest::newRow("not a number") << "viele"
                                      << "8192" << VaultError::Damaged;
    }

    // A copied collection whose key-derivation cost was changed is damaged, not obeyed.
    void derivationCostOutOfBounds()
    {
        QFETCH(QString, operations);
        QFETCH(QString, memory);
        QFETCH(VaultError, expected);
        const QString path = NewCollection(Passwords);
        RecordTable records;
        QVERIFY(records.Open(path));
        Protect(*Vault(records), PasswordProtection::PrimaryPassword);
        QVERIFY(records.Update(Protection::Table,
                               QStringLiteral("%1=?,%2=?").arg(Protection::Operations, Protection::Memory),
                               {}, {operations, memory}));
        QCOMPARE(Vault(records)->Unlock(QStringLiteral("错误的密码")), expected);
    }

    void keyringThatLostTheKey()
    {
        const QString path = NewCollection(Passwords);
        RecordTable records;
        QVERIFY(records.Open(path));
        Protect(*Vault(records), PasswordProtection::Keyring);
        RecordSet set = records.Query(Protection::Table, Protection::KeyringItem);
        const QString name = records.ReadText(Protection::KeyringItem);
        records.CloseRecordSet(set);
        QVERIFY(SystemKeyring(KeyringService).Remove(name).ok);

        auto vault = Vault(records);
        QCOMPARE(vault->Unlock(), VaultError::KeyMissing);
        QVERIFY(!vault->Open(StoredPasswords(records)[0]));
        QVERIFY(IsSealedText(StoredPasswords(records)[0]));
    }

    void keyringThatDoesNotAnswer()
    {
        const QString path = NewCollection(Passwords);
        {
            RecordTable records;
            QVERIFY(records.Open(path));
            Protect(*Vault(records), PasswordProtection::Keyring);
        }
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           QStringLiteral("unix:path=/nonexistent"));
        tool.setProcessEnvironment(environment);
        tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vault_tool"),
                   {QStringLiteral("unlock"), path});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.readAllStandardOutput().split('\n').value(1).toInt(), int(VaultError::KeyringFailed));
    }

    void killedWhileSealing_data()
    {
        QTest::addColumn<int>("delayMs");
        for (int delay : {0, 30, 100, 200, 350, 600, -1})
            QTest::addRow("%d ms", delay) << delay;
    }

    // kill -9 at any moment of sealing 100,000 passwords leaves the collection wholly plain or wholly
    // sealed, and a sound file.
    void killedWhileSealing()
    {
        QFETCH(int, delayMs);
        static QString prepared;
        if (prepared.isEmpty()) {
            QStringList many;
            for (int i = 0; i < 100000; ++i)
                many.append(QStringLiteral("password-%1").arg(i));
            prepared = NewCollection(many);
        }
        const QString path = m_dir.filePath(QStringLiteral("killed%1.mdb").arg(++m_files));
        QVERIFY(QFile::copy(prepared, path));

        QProcess tool;
        tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/vault_tool"),
                   {QStringLiteral("seal"), path, Primary});
        QVERIFY(tool.waitForReadyRead(10000));
        if (delayMs >= 0) {
            QTest::qSleep(delayMs);
            ::kill(pid_t(tool.processId()), SIGKILL);
        }
        QVERIFY(tool.waitForFinished(30000));

        RecordTable records;
        QVERIFY(records.Open(path));
        const QStringList stored = StoredPasswords(records);
        QCOMPARE(stored.size(), 100000);
        const qsizetype sealed = std::count_if(stored.begin(), stored.end(), IsSealedText);
        auto vault = Vault(records);
        if (sealed == 0) {
            QCOMPARE(vault->Protection(), PasswordProtection::None);
        } else {
            QCOMPARE(sealed, stored.size());
            QCOMPARE(vault->Protection(), PasswordProtection::PrimaryPassword);
            QCOMPARE(vault->Unlock(Primary), VaultError::None);
            QCOMPARE(vault->Open(stored.last()), QStringLiteral("password-99999"));
        }
        if (delayMs < 0)
            QCOMPARE(sealed, stored.size());
        records.Close();
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("integrity"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery integrity(db);
        QVERIFY(integrity.exec(QStringLiteral("PRAGMA integrity_check")) && integrity.next());
        QCOMPARE(integrity.value(0).toString(), QStringLiteral("ok"));
        integrity = QSqlQuery();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("integrity"));
    }
};

QTEST_GUILESS_MAIN(PasswordVaultTest)
#include "PasswordVaultTest.moc"
