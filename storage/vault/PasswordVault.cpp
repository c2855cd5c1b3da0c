#include "PasswordVault.h"

#include "RecordTable.h"
#include "SealedText.h"
#include "StorageNames.h"

#include <sodium.h>

#include <QList>

namespace {

// Sealed under the key when it is chosen: a key from the keyring that opens it is this collection's.
const QString KeyCheckText = QStringLiteral("qavex");

QString ModeName(PasswordProtection mode)
{
    return mode == PasswordProtection::Keyring ? Protection::KeyringMode : Protection::PrimaryPasswordMode;
}

std::optional<SecretBytes> Derive(const QString& password, const QByteArray& salt, quint64 operations,
                                  quint64 memory)
{
    if (salt.size() != crypto_pwhash_SALTBYTES || !CryptoReady())
        return std::nullopt;
    SecretBytes key(SealKeySize);
    QByteArray text = password.toUtf8();
    const int failed = key.IsEmpty()
                           ? -1
                           : crypto_pwhash(key.Data(), key.Size(), text.constData(), quint64(text.size()),
                                           reinterpret_cast<const unsigned char*>(salt.constData()),
                                           operations, std::size_t(memory), crypto_pwhash_ALG_ARGON2ID13);
    Wipe(text);
    if (failed != 0)
        return std::nullopt;
    return key;
}

} // namespace

PrimaryPasswordCost PrimaryPasswordCost::Moderate()
{
    return {crypto_pwhash_OPSLIMIT_MODERATE, crypto_pwhash_MEMLIMIT_MODERATE};
}

bool PrimaryPasswordCost::IsSane() const
{
    return operations >= crypto_pwhash_OPSLIMIT_MIN && operations <= 4 * crypto_pwhash_OPSLIMIT_SENSITIVE &&
           memory >= crypto_pwhash_MEMLIMIT_MIN && memory <= crypto_pwhash_MEMLIMIT_SENSITIVE;
}

PasswordVault::PasswordVault(RecordTable& records, SystemKeyring keyring)
    : m_records(records), m_keyring(std::move(keyring)), m_cost(PrimaryPasswordCost::Moderate())
{
}

std::optional<PasswordVault::Setting> PasswordVault::ReadSetting()
{
    if (!m_records.HasColumns(Protection::Table, {Protection::Mode}))
        return std::nullopt;
    if (m_records.Query(Protection::Table, {}) == 0) {
        m_records.CloseRecordSet();
        return std::nullopt;
    }
    Setting setting;
    const QString mode = m_records.ReadText(Protection::Mode);
    setting.mode =
        mode == Protection::KeyringMode ? PasswordProtection::Keyring : PasswordProtection::PrimaryPassword;
    setting.salt = QByteArray::fromBase64(m_records.ReadText(Protection::Salt).toLatin1());
    setting.operations = m_records.ReadText(Protection::Operations).toULongLong();
    setting.memory = m_records.ReadText(Protection::Memory).toULongLong();
    setting.wrappedKey = QByteArray::fromBase64(m_records.ReadText(Protection::WrappedKey).toLatin1());
    setting.keyCheck = m_records.ReadText(Protection::KeyCheck);
    setting.keyringItem = m_records.ReadText(Protection::KeyringItem);
    m_records.CloseRecordSet();
    return setting;
}

bool PasswordVault::WriteSetting(const std::optional<Setting>& setting)
{
    // Without protection the file is as it always was: no table of ours in it.
    if (!setting)
        return m_records.DropTable(Protection::Table);
    using namespace Protection;
    return m_records.CreateTable(
               Table,
               m_records.IdColumnDefinition() +
                   QStringLiteral(", %1 TEXT, %2 TEXT, %3 BIGINT, %4 BIGINT, %5 TEXT, %6 TEXT, %7 TEXT")
                       .arg(Mode, Salt, Operations, Memory, WrappedKey, KeyCheck, KeyringItem)) &&
           m_records.DeleteAll(Table) &&
           m_records.Insert(
               Table,
               QStringList{Mode, Salt, Operations, Memory, WrappedKey, KeyCheck, KeyringItem}.join(u','),
               {ModeName(setting->mode), QString::fromLatin1(setting->salt.toBase64()), setting->operations,
                setting->memory, QString::fromLatin1(setting->wrappedKey.toBase64()), setting->keyCheck,
                setting->keyringItem});
}

bool PasswordVault::OnlyPrimaryPassword() const
{
    return m_records.IsServer();
}

PasswordProtection PasswordVault::Protection()
{
    const std::optional<Setting> setting = ReadSetting();
    return setting ? setting->mode : PasswordProtection::None;
}

bool PasswordVault::KeyIsCurrent(const Setting& setting) const
{
    return !m_key.IsEmpty() && m_keyFor == setting.keyCheck;
}

bool PasswordVault::IsUnlocked()
{
    const std::optional<Setting> setting = ReadSetting();
    return !setting || KeyIsCurrent(*setting);
}

void PasswordVault::Lock()
{
    m_key = SecretBytes();
    m_keyFor.clear();
}

VaultError PasswordVault::Accept(SecretBytes key, const Setting& setting)
{
    if (!OpenSealedText(setting.keyCheck, key))
        return setting.mode == PasswordProtection::Keyring ? VaultError::KeyMismatch : VaultError::Tampered;
    m_key = std::move(key);
    m_keyFor = setting.keyCheck;
    return VaultError::None;
}

VaultError PasswordVault::Unlock(const QString& primaryPassword)
{
    if (!CryptoReady())
        return VaultError::CryptoFailed;
    const std::optional<Setting> setting = ReadSetting();
    if (!setting)
        return VaultError::None;
    if (KeyIsCurrent(*setting))
        return VaultError::None;
    if (setting->mode == PasswordProtection::Keyring) {
        SystemKeyring::Answer answer = m_keyring.Read(setting->keyringItem);
        if (!answer.ok) {
            m_keyringError = answer.error;
            return answer.cancelled ? VaultError::Cancelled
                   : answer.missing ? VaultError::KeyMissing
                                    : VaultError::KeyringFailed;
        }
        SecretBytes key = SecretBytes::CopyOf(reinterpret_cast<const unsigned char*>(answer.data.constData()),
                                              std::size_t(answer.data.size()));
        Wipe(answer.data);
        if (key.Size() != SealKeySize)
            return VaultError::KeyMismatch;
        return Accept(std::move(key), *setting);
    }
    if (!PrimaryPasswordCost{setting->operations, setting->memory}.IsSane() ||
        setting->salt.size() != crypto_pwhash_SALTBYTES)
        return VaultError::Damaged;
    const std::optional<SecretBytes> derived =
        Derive(primaryPassword, setting->salt, setting->operations, setting->memory);
    if (!derived)
        return VaultError::CryptoFailed;
    std::optional<SecretBytes> key = OpenSealedBytes(setting->wrappedKey, *derived);
    if (!key || key->Size() != SealKeySize)
        return VaultError::WrongPassword;
    return Accept(std::move(*key), *setting);
}

std::optional<QString> PasswordVault::Seal(const QString& plain, VaultError* error)
{
    VaultError unused;
    VaultError& why = error ? *error : unused;
    why = VaultError::None;
    const std::optional<Setting> setting = ReadSetting();
    if (plain.isEmpty())
        return plain;
    if (m_records.IsServer() && (!setting || setting->mode != PasswordProtection::PrimaryPassword)) {
        why = VaultError::ServerNeedsPrimaryPassword;
        return std::nullopt;
    }
    if (!setting)
        return plain;
    if (!KeyIsCurrent(*setting)) {
        why = VaultError::Locked;
        return std::nullopt;
    }
    QString sealed = SealText(plain, m_key);
    if (sealed.isEmpty()) {
        why = VaultError::CryptoFailed;
        return std::nullopt;
    }
    return sealed;
}

std::optional<QString> PasswordVault::Open(const QString& stored, VaultError* error)
{
    VaultError unused;
    VaultError& why = error ? *error : unused;
    why = VaultError::None;
    if (!IsSealedText(stored))
        return stored;
    // Without protection nothing is sealed: a password of the user's may well begin like a sealed one.
    const std::optional<Setting> setting = ReadSetting();
    if (!setting)
        return stored;
    if (!KeyIsCurrent(*setting)) {
        why = VaultError::Locked;
        return std::nullopt;
    }
    std::optional<QString> plain = OpenSealedText(stored, m_key);
    if (!plain)
        why = VaultError::Tampered;
    return plain;
}

std::optional<PasswordVault::Setting> PasswordVault::Wrap(const SecretBytes& key,
                                                          const QString& primaryPassword, VaultError& error)
{
    Setting setting;
    setting.mode = PasswordProtection::PrimaryPassword;
    setting.salt.resize(crypto_pwhash_SALTBYTES);
    randombytes_buf(setting.salt.data(), std::size_t(setting.salt.size()));
    setting.operations = m_cost.operations;
    setting.memory = m_cost.memory;
    const std::optional<SecretBytes> derived =
        Derive(primaryPassword, setting.salt, setting.operations, setting.memory);
    if (!derived) {
        error = VaultError::CryptoFailed;
        return std::nullopt;
    }
    setting.wrappedKey = SealBytes(key.Data(), key.Size(), *derived);
    setting.keyCheck = SealText(KeyCheckText, key);
    return setting;
}

bool PasswordVault::Reseal(bool seal, const SecretBytes& key, const SecretBytes* oldKey, VaultError& error)
{
    QList<std::pair<qint64, QString>> rows;
    for (RecordSet set =
             m_records.Query(Tables::Bookmarks, QStringLiteral("ID,密码"), QStringLiteral("密码<>''"));
         set != 0 && !m_records.IsAfterLast(set); m_records.MoveNext(set))
        rows.append({m_records.ReadText(Columns::Id).toLongLong(), m_records.ReadText(Columns::Password)});
    m_records.CloseRecordSet();
    for (auto& [id, stored] : rows) {
        QString changed;
        // Coming from no protection, every value is plain, whatever it looks like.
        if (seal && (!oldKey || !IsSealedText(stored))) {
            changed = SealText(stored, key);
        } else if (seal && (!oldKey || !OpenSealedText(stored, *oldKey))) {
            // Between protected modes the key stays; what it does not open is not ours to keep.
            error = VaultError::Tampered;
        } else if (!seal && IsSealedText(stored)) {
            std::optional<QString> plain = oldKey ? OpenSealedText(stored, *oldKey) : std::nullopt;
            if (!plain)
                error = VaultError::Tampered;
            else
                changed = *plain;
        }
        if (error != VaultError::None)
            return false;
        if (changed.isNull())
            continue;
        if (!m_records.Update(Tables::Bookmarks, QStringLiteral("密码=?"), QStringLiteral("ID=?"),
                              {changed, id})) {
            error = VaultError::StorageFailed;
            return false;
        }
    }
    return true;
}

VaultError PasswordVault::SwitchTo(PasswordProtection target, const QString& primaryPassword)
{
    if (!CryptoReady())
        return VaultError::CryptoFailed;
    if (m_records.IsServer() && target != PasswordProtection::PrimaryPassword)
        return VaultError::ServerNeedsPrimaryPassword;
    const std::optional<Setting> current = ReadSetting();
    if (current && !KeyIsCurrent(*current))
        return VaultError::Locked;
    const PasswordProtection from = current ? current->mode : PasswordProtection::None;
    if (target == from)
        return target == PasswordProtection::None ? VaultError::None : Renew(*current, primaryPassword);

    // Moving between the keyring and a primary password keeps the key: no password is resealed.
    SecretBytes key;
    if (target != PasswordProtection::None)
        key = current ? m_key.Copy() : SecretBytes::Random(SealKeySize);
    if (target != PasswordProtection::None && key.Size() != SealKeySize)
        return VaultError::CryptoFailed;

    VaultError error = VaultError::None;
    std::optional<Setting> next;
    if (target == PasswordProtection::PrimaryPassword) {
        next = Wrap(key, primaryPassword, error);
        if (!next)
            return error;
    } else if (target == PasswordProtection::Keyring) {
        next = Setting();
        next->mode = PasswordProtection::Keyring;
        QByteArray id(16, Qt::Uninitialized);
        randombytes_buf(id.data(), std::size_t(id.size()));
        next->keyringItem = QStringLiteral("collection-") + QString::fromLatin1(id.toHex());
        next->keyCheck = SealText(KeyCheckText, key);
        // Kept before the passwords are sealed: a collection never refers to a key that is not there.
        QByteArray bytes(reinterpret_cast<const char*>(key.Data()), qsizetype(key.Size()));
        const SystemKeyring::Answer answer = m_keyring.Write(next->keyringItem, bytes);
        Wipe(bytes);
        if (!answer.ok) {
            m_keyringError = answer.error;
            return answer.cancelled ? VaultError::Cancelled : VaultError::KeyringFailed;
        }
    }

    const bool stored = m_records.BeginTransaction() &&
                        Reseal(target != PasswordProtection::None, key, current ? &m_key : nullptr, error) &&
                        WriteSetting(next) && m_records.Commit();
    if (!stored) {
        m_records.Rollback();
        if (next && next->mode == PasswordProtection::Keyring)
            m_keyring.Remove(next->keyringItem);
        return error == VaultError::None ? VaultError::StorageFailed : error;
    }
    if (current && current->mode == PasswordProtection::Keyring)
        m_keyring.Remove(current->keyringItem);
    m_key = std::move(key);
    m_keyFor = next ? next->keyCheck : QString();
    return VaultError::None;
}

VaultError PasswordVault::ChangePrimaryPassword(const QString& newPassword)
{
    return SwitchTo(PasswordProtection::PrimaryPassword, newPassword);
}

VaultError PasswordVault::Renew(const Setting& current, const QString& primaryPassword)
{
    // The same mode again: a new primary password rewraps the key, and plain values that an older
    // copy of qavex wrote meanwhile are sealed; sealed values stay as they are.
    VaultError error = VaultError::None;
    std::optional<Setting> next;
    if (current.mode == PasswordProtection::PrimaryPassword) {
        next = Wrap(m_key, primaryPassword, error);
        if (!next)
            return error;
    }
    const bool stored = m_records.BeginTransaction() && Reseal(true, m_key, &m_key, error) &&
                        (!next || WriteSetting(next)) && m_records.Commit();
    if (!stored) {
        m_records.Rollback();
        return error == VaultError::None ? VaultError::StorageFailed : error;
    }
    if (next)
        m_keyFor = next->keyCheck;
    return VaultError::None;
}
