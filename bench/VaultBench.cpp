// Sealing and unsealing every password of a 100,000-bookmark collection (goal 1 s each way), and
// the time a primary password takes to unlock at the cost new collections are given (goal
// 0.3–1 s: dear enough to slow a guesser, cheap enough not to be noticed once a run).
#include "DatabaseFile.h"
#include "PasswordVault.h"
#include "RecordTable.h"
#include "StorageNames.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qavex.mdb"));
    RecordTable records;
    if (!CreateDatabaseFile(path) || !records.Open(path) || !records.BeginTransaction())
        return 1;
    for (int i = 0; i < count; ++i)
        records.Insert(Tables::Bookmarks, QStringLiteral("名称,地址,分类,账号,密码"),
                       {QStringLiteral("网站%1").arg(i),
                        QStringLiteral("https://www.site%1.com.cn/login").arg(i),
                        QStringLiteral("分类%1").arg(i % 50), QStringLiteral("user%1").arg(i),
                        QStringLiteral("密码-%1-Passw0rd!").arg(i)});
    records.Commit();

    // Sealed at the cheapest cost first, so that the figure is the sealing alone; the real cost is
    // then put on by rewrapping the key, which is what a derivation costs.
    PasswordVault vault(records);
    vault.SetPrimaryPasswordCost({1, 8192});
    const QString primary = QStringLiteral("一个足够长的主密码");
    QElapsedTimer timer;
    timer.start();
    if (vault.SwitchTo(PasswordProtection::PrimaryPassword, primary) != VaultError::None)
        return 2;
    std::printf("seal %d passwords: %lld ms (goal 1000 ms)\n", count,
                static_cast<long long>(timer.elapsed()));
    vault.SetPrimaryPasswordCost(PrimaryPasswordCost::Moderate());
    timer.restart();
    if (vault.ChangePrimaryPassword(primary) != VaultError::None)
        return 2;
    std::printf("change the primary password: %lld ms\n", static_cast<long long>(timer.elapsed()));

    PasswordVault later(records);
    timer.restart();
    if (later.Unlock(primary) != VaultError::None)
        return 3;
    const PrimaryPasswordCost cost = PrimaryPasswordCost::Moderate();
    std::printf(
        "unlock with the primary password (Argon2id, %llu passes, %llu MiB): %lld ms (goal 300-1000 ms)\n",
        static_cast<unsigned long long>(cost.operations), static_cast<unsigned long long>(cost.memory >> 20),
        static_cast<long long>(timer.elapsed()));

    timer.restart();
    int opened = 0;
    for (RecordSet set = records.Query(Tables::Bookmarks, Columns::Password);
         set != 0 && !records.IsAfterLast(set); records.MoveNext(set))
        opened += later.Open(records.ReadText(Columns::Password, set)).value_or(QString()).startsWith(u'密');
    records.CloseRecordSet();
    std::printf("open one sealed password as a login does (of %d): %.1f us\n", opened,
                double(timer.nsecsElapsed()) / 1000.0 / std::max(opened, 1));

    timer.restart();
    if (later.SwitchTo(PasswordProtection::None) != VaultError::None)
        return 4;
    std::printf("unseal %d passwords: %lld ms (goal 1000 ms)\n", count,
                static_cast<long long>(timer.elapsed()));
    return 0;
}
