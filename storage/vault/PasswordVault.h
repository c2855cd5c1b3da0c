#pragma once

#include "SecretBytes.h"
#include "SystemKeyring.h"

#include <QString>

#include <optional>

class RecordTable;

enum class PasswordProtection { None, Keyring, PrimaryPassword };

enum class VaultError {
    None,
    Locked,        // the key is needed and not unlocked yet
    WrongPassword, // the primary password does not open the key
    KeyringFailed, // the Secret Service did not answer or refused; see KeyringError()
    Cancelled,     // the user stopped waiting for the Secret Service; nothing was changed
    KeyMissing,    // the Secret Service has no key for this collection
    KeyMismatch,   // the Secret Service's key is not this collection's
    Tampered,      // a sealed value is not authentic under the key
    StorageFailed, // the database refused the change; nothing was changed
    CryptoFailed,  // libsodium could not start or ran out of memory
    Damaged,       // the stored protection row is not one qavex could have written (a cost out of bounds)
    // The collection is on a shared server: passwords there are sealed under a primary password,
    // never plain and never under one machine's keyring
    ServerNeedsPrimaryPassword,
};

// Argon2id cost of turning a primary password into a key. Stored with the collection, so a cheaper
// or dearer choice later still opens what was sealed before.
struct PrimaryPasswordCost {
    quint64 operations;
    quint64 memory; // bytes
    static PrimaryPasswordCost Moderate();
    // Within what qavex writes, with room: a copied file cannot make a run derive for hours.
    bool IsSane() const;
};

// The one place where passwords of 网址 are sealed and opened. The key lives in the desktop's keyring
// or is wrapped by a key derived from the primary password (table 密码保护, one row); without that
// table, passwords are stored plain as they always were. The vault reads the table on every use, so
// a change by another copy of qavex locks it again rather than mixing keys.
class PasswordVault {
public:
    explicit PasswordVault(RecordTable& records, SystemKeyring keyring = SystemKeyring());

    PasswordProtection Protection();
    // On a shared server only the primary password protects passwords.
    bool OnlyPrimaryPassword() const;
    // Whether passwords can be sealed and opened now without unlocking.
    bool IsUnlocked();
    // Keyring: fetches the key (the argument is ignored). Primary password: derives and unwraps.
    VaultError Unlock(const QString& primaryPassword = {});
    void Lock();

    // What to store for this password: sealed under protection (an empty password stays empty).
    std::optional<QString> Seal(const QString& plain, VaultError* error = nullptr);
    // The password a stored value holds; a plain value is its own password.
    std::optional<QString> Open(const QString& stored, VaultError* error = nullptr);

    // Seals or unseals every stored password and records the key's new place, in one transaction.
    // Leaving a protected mode needs the vault unlocked; the primary password is the new one.
    VaultError SwitchTo(PasswordProtection target, const QString& primaryPassword = {});
    // Rewraps the key under a new primary password; no sealed password is touched.
    VaultError ChangePrimaryPassword(const QString& newPassword);

    // The Secret Service's own words for the last KeyringFailed.
    QString KeyringError() const { return m_keyringError; }
    // What the next primary password costs to derive; the default is libsodium's moderate limits.
    void SetPrimaryPasswordCost(PrimaryPasswordCost cost) { m_cost = cost; }

private:
    struct Setting {
        PasswordProtection mode = PasswordProtection::None;
        QByteArray salt;
        quint64 operations = 0;
        quint64 memory = 0;
        QByteArray wrappedKey;
        QString keyCheck;
        QString keyringItem;
    };
    std::optional<Setting> ReadSetting();
    bool WriteSetting(const std::optional<Setting>& setting);
    bool KeyIsCurrent(const Setting& setting) const;
    VaultError Accept(SecretBytes key, const Setting& setting);
    std::optional<Setting> Wrap(const SecretBytes& key, const QString& primaryPassword, VaultError& error);
    VaultError Renew(const Setting& current, const QString& primaryPassword);
    bool Reseal(bool seal, const SecretBytes& key, const SecretBytes* oldKey, VaultError& error);

    RecordTable& m_records;
    SystemKeyring m_keyring;
    PrimaryPasswordCost m_cost;
    SecretBytes m_key;
    QString m_keyFor; // the key check of the setting the key was accepted under
    QString m_keyringError;
};
