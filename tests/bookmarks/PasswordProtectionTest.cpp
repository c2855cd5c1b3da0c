#include "AccountDialog.h"
#include "Collection.h"
#include "DatabaseBackup.h"
#include "FrozenKeyring.h"
#include "PasswordProtectionDialog.h"
#include "Requirement.h"
#include "SealedText.h"
#include "WindowProbes.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

Q_DECLARE_METATYPE(QList<std::optional<QString>>)

namespace {

const QString Primary = QStringLiteral("主密码123");
const PrimaryPasswordCost Cheap{1, 8192};

// 工作: 邮箱 (no login), 网银 (account li, password pw).
MainWindow& Start(Collection& c)
{
    c.Seed({QStringLiteral("工作")},
           {{QStringLiteral("邮箱"), QStringLiteral("https://mail.cn/"), QStringLiteral("工作"), {}, {}}});
    c.Execute(
        QStringLiteral("insert into 网址 values (null, '网银', 'https://bank.cn/', '工作', '', 'li', 'pw', "
                       "'u', 'p', '3', 'go', '1', '链接')"));
    c.WriteSettings("[记录]\n当前分类=0\n");
    MainWindow& w = c.Start();
    c.Globals().Vault->SetPrimaryPasswordCost(Cheap);
    return w;
}

QString StoredPassword(Collection& c, const QString& name = QStringLiteral("网银"))
{
    return c.Select(QStringLiteral("select 密码 from 网址 where 名称='%1'").arg(name)).value(0);
}

// The passwords a copy of the collection holds, by name.
QStringList PasswordsIn(const QString& path)
{
    QStringList passwords;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("copy"));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
        QSqlQuery query(QStringLiteral("select 密码 from 网址 where 密码<>'' order by 名称"), db);
        while (query.next())
            passwords.append(query.value(0).toString());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("copy"));
    return passwords;
}

AccountDialog* OpenAccountDialog(MainWindow& w, int row)
{
    SelectRows(w, {row});
    w.按钮2->click();
    return w.OpenedAccountDialog();
}

} // namespace

class PasswordProtectionTest : public QObject {
    Q_OBJECT

private slots:
    // Once the passwords are sealed, the backup (made before with them plain) holds them sealed
    // too; unsealed again, the backup follows.
    void dialogSealsAndRefusesMistypes()
    {
        Collection c;
        MainWindow& w = Start(c);
        const QString backup = c.Path(QStringLiteral("qavex.mdb.bak"));
        QVERIFY(BackUpDatabase(*c.Globals().Database, c.Path(QStringLiteral("qavex.mdb"))));
        QCOMPARE(PasswordsIn(backup), QStringList{"pw"});
        PasswordProtectionDialog d(*c.Globals().Vault, *c.Globals().Database, c.services, &w);
        QVERIFY(d.不保护按钮->isChecked());
        QVERIFY(!d.主密码框->isEnabled());

        d.主密码按钮->setChecked(true);
        QVERIFY(d.主密码框->isEnabled());
        d.主密码框->setText(Primary);
        d.确认密码框->setText(Primary + u'x');
        d.确定按钮->click();
        QCOMPARE(c.services.messages.value(0).text, QStringLiteral("两次输入的主密码不一致"));
        QCOMPARE(StoredPassword(c), QStringLiteral("pw"));
        QCOMPARE(d.result(), int(QDialog::Rejected));

        d.确认密码框->setText(Primary);
        d.确定按钮->click();
        QCOMPARE(c.services.messages.value(1).text,
                 QStringLiteral("密码保护已改为“主密码”。\n备份（qavex.mdb.bak）已按新的密码保护重新制作。"));
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(IsSealedText(StoredPassword(c)));
        QCOMPARE(PasswordsIn(backup), QStringList{StoredPassword(c)});
        QCOMPARE(QFile::permissions(backup) & 0x0FFF, QFileDevice::ReadUser | QFileDevice::WriteUser);
        QCOMPARE(StoredPassword(c, QStringLiteral("邮箱")), QStringLiteral("<NULL>"));

        // Back to plain: the vault is unlocked this run, nothing is asked.
        PasswordProtectionDialog back(*c.Globals().Vault, *c.Globals().Database, c.services, &w);
        QVERIFY(back.主密码按钮->isChecked());
        // The change-password hint comes and goes with the choice; nothing moves for it, so a
        // second click lands where the first one did.
        back.show();
        QVERIFY(QTest::qWaitForWindowExposed(&back));
        const auto places = [&back] {
            return QList<QPoint>{back.不保护按钮->pos(), back.密钥环按钮->pos(), back.主密码按钮->pos(),
                                 back.确定按钮->mapTo(&back, QPoint())};
        };
        const QList<QPoint> before = places();
        back.不保护按钮->setChecked(true);
        QCoreApplication::processEvents();
        QCOMPARE(places(), before);
        back.确定按钮->click();
        QCOMPARE(StoredPassword(c), QStringLiteral("pw"));
        QCOMPARE(PasswordsIn(backup), QStringList{"pw"});
        QVERIFY(c.services.passwordPrompts.isEmpty());
    }

    void primaryPasswordAskedWhenFirstNeeded_data()
    {
        QTest::addColumn<QList<std::optional<QString>>>("typed");
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<QString>("message");
        const QString first = QStringLiteral("请输入主密码：");
        const QString again = QStringLiteral("主密码不正确，请重新输入：");
        const std::optional<QString> wrong = QStringLiteral("猜的");
        QTest::newRow("right") << QList<std::optional<QString>>{Primary} << QStringList{first} << QString();
        QTest::newRow("wrong, then right")
            << QList<std::optional<QString>>{wrong, Primary} << QStringList{first, again} << QString();
        QTest::newRow("wrong three times")
            << QList<std::optional<QString>>{wrong, wrong, wrong} << QStringList{first, again, again}
            << QStringLiteral("主密码不正确");
        QTest::newRow("wrong, then cancelled")
            << QList<std::optional<QString>>{wrong, std::nullopt} << QStringList{first, again} << QString();
        QTest::newRow("cancelled") << QList<std::optional<QString>>{std::nullopt} << QStringList{first}
                                   << QString();
    }

    // Never at start; once, when the account dialog shows the password. Without it the box stays
    // locked and 修改 keeps the stored value.
    void primaryPasswordAskedWhenFirstNeeded()
    {
        QFETCH(QList<std::optional<QString>>, typed);
        QFETCH(QStringList, prompts);
        QFETCH(QString, message);
        const bool unlocks = typed.contains(std::optional<QString>(Primary));
        Collection c;
        Start(c);
        QCOMPARE(c.Globals().Vault->SwitchTo(PasswordProtection::PrimaryPassword, Primary), VaultError::None);
        const QString sealed = StoredPassword(c);
        MainWindow& w = c.Start();
        QVERIFY(c.services.passwordPrompts.isEmpty());

        for (const std::optional<QString>& answer : typed)
            c.services.passwordAnswers.enqueue(answer);
        AccountDialog* d = OpenAccountDialog(w, 1);
        QCOMPARE(c.services.passwordPrompts, prompts);
        QCOMPARE(c.services.messages.value(0).text, message);
        SelectRows(w, {0});
        SelectRows(w, {1});
        QCOMPARE(c.services.passwordPrompts.size(), prompts.size());

        if (unlocks) {
            QCOMPARE(d->密码框->text(), QStringLiteral("pw"));
            d->密码框->setText(QStringLiteral("新密码"));
            d->按钮1->click();
            QVERIFY(IsSealedText(StoredPassword(c)));
            QCOMPARE(c.Globals().Vault->Open(StoredPassword(c)), QStringLiteral("新密码"));
        } else {
            QVERIFY(!d->密码框->isEnabled());
            QCOMPARE(d->密码框->text(), QString());
            QCOMPARE(d->密码框->placeholderText(), QStringLiteral("未解锁"));
            d->备注框->setText(QStringLiteral("改了备注"));
            d->按钮1->click();
            QCOMPARE(c.Select(QStringLiteral("select 备注 from 网址 where 名称='网银'")),
                     QStringList{"改了备注"});
            QCOMPARE(StoredPassword(c), sealed);
        }
    }

    // Adding a bookmark with a login under protection stores no plain password.
    void addedLoginIsSealed()
    {
        Collection c;
        MainWindow& w = Start(c);
        QCOMPARE(c.Globals().Vault->SwitchTo(PasswordProtection::PrimaryPassword, Primary), VaultError::None);
        AccountDialog* d = OpenAccountDialog(w, 1);
        d->站名框->setText(QStringLiteral("新站"));
        d->地址框->setText(QStringLiteral("https://new.cn/"));
        d->密码框->setText(QStringLiteral("新站密码"));
        d->按钮3->click();
        const QString stored = StoredPassword(c, QStringLiteral("新站"));
        QVERIFY2(IsSealedText(stored), qPrintable(stored));
        QCOMPARE(c.Globals().Vault->Open(stored), QStringLiteral("新站密码"));
    }

    void keyringOpensWithoutAsking()
    {
        Collection c;
        MainWindow& first = Start(c);
        {
            PasswordProtectionDialog d(*c.Globals().Vault, *c.Globals().Database, c.services, &first);
            d.密钥环按钮->setChecked(true);
            d.确定按钮->click();
        }
        QCOMPARE(
            c.services.messages.value(0).text,
            QStringLiteral("密码保护已改为“系统密钥环”。\n备份（qavex.mdb.bak）已按新的密码保护重新制作。"));
        QVERIFY(IsSealedText(StoredPassword(c)));

        MainWindow& w = c.Start();
        AccountDialog* opened = OpenAccountDialog(w, 1);
        QCOMPARE(opened->密码框->text(), QStringLiteral("pw"));
        QVERIFY(c.services.passwordPrompts.isEmpty());
        QCOMPARE(c.services.messages.size(), 1);

        // The key gone from the keyring: said so, the password kept as it is.
        const QString item = c.Select(QStringLiteral("select 密钥环项 from 密码保护")).value(0);
        QVERIFY(SystemKeyring().Remove(item).ok);
        MainWindow& later = c.Start();
        AccountDialog* locked = OpenAccountDialog(later, 1);
        QCOMPARE(c.services.messages.value(1).text,
                 QStringLiteral("系统密钥环中没有这个收藏的密钥，加密的密码无法使用。"));
        QVERIFY(!locked->密码框->isEnabled());
    }

    // A Secret Service that does not answer holds nothing: the wait shows progress and takes 取消,
    // which leaves the password locked and the collection as it was, with nothing said; once the
    // service answers again, the password opens.
    void slowKeyringTakesCancel()
    {
        Collection c;
        Start(c);
        QCOMPARE(c.Globals().Vault->SwitchTo(PasswordProtection::Keyring), VaultError::None);
        const QString sealed = StoredPassword(c);
        MainWindow& w = c.Start();
        {
            FrozenKeyring frozen;
            QAVEX_REQUIRE(frozen.Frozen(), QStringLiteral("no Secret Service on the session bus"));
            CancelProgressLater cancel;
            LoopTurns loop;
            AccountDialog* locked = OpenAccountDialog(w, 1);
            QCOMPARE(cancel.shown, 1);
            QVERIFY(loop.turns >= 3);
            QVERIFY(c.services.messages.isEmpty());
            QVERIFY(!locked->密码框->isEnabled());
            locked->reject();
            QTRY_VERIFY(!w.OpenedAccountDialog());
        }
        QCOMPARE(StoredPassword(c), sealed);
        AccountDialog* opened = OpenAccountDialog(w, 1);
        QCOMPARE(opened->密码框->text(), QStringLiteral("pw"));
        QVERIFY(c.services.messages.isEmpty());
    }

    void mergedOldPasswordsAreSealed()
    {
        const QString fixture = QStringLiteral(QAVEX_SHARED_DIR "/fixtures/legacy/qavex.mdb");
        QAVEX_REQUIRE(QFile::exists(fixture),
                      QStringLiteral("the legacy fixtures are not beside the project"));
        Collection c;
        MainWindow& w = Start(c);
        QCOMPARE(c.Globals().Vault->SwitchTo(PasswordProtection::PrimaryPassword, Primary), VaultError::None);
        c.services.fileAnswers.enqueue(fixture);
        Choose(w, QStringLiteral("导入数据"));
        QVERIFY(c.services.messages.value(0).text.startsWith(QStringLiteral("已合并旧版数据库：网址 4 个")));
        const QString stored = StoredPassword(c, QStringLiteral("企业邮箱"));
        QVERIFY2(IsSealedText(stored), qPrintable(stored));
        QCOMPARE(c.Globals().Vault->Open(stored), QStringLiteral("p'w\"d密码"));
    }
};

QTEST_MAIN(PasswordProtectionTest)
#include "PasswordProtectionTest.moc"
