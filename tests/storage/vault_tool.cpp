// Drives a PasswordVault in a process of its own, for tests that kill it midway or take its
// session bus away.
//   vault_tool seal DATABASE PASSWORD   seals every password under a primary password
//   vault_tool unlock DATABASE          unlocks from the keyring
// Prints "ready" before the work and the VaultError number after it.
#include "PasswordVault.h"
#include "RecordTable.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    RecordTable records;
    if (!records.Open(args[2]))
        return 3;
    PasswordVault vault(records, SystemKeyring(QStringLiteral("qavex-test"), 3000));
    vault.SetPrimaryPasswordCost({1, 8192});
    std::printf("ready\n");
    std::fflush(stdout);
    VaultError error = VaultError::CryptoFailed;
    if (args[1] == QStringLiteral("seal") && args.size() > 3)
        error = vault.SwitchTo(PasswordProtection::PrimaryPassword, args[3]);
    else if (args[1] == QStringLiteral("unlock"))
        error = vault.Unlock();
    std::printf("%d\n", int(error));
    return 0;
}
