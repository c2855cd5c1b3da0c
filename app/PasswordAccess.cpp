#include "PasswordAccess.h"

#include "MessageStyle.h"
#include "PasswordTexts.h"
#include "RuntimeServices.h"
#include "SealedText.h"

#include <QApplication>
#include <QCursor>

PasswordAccess::PasswordAccess(PasswordVault& vault, RuntimeServices& services, QWidget* owner)
    : m_vault(vault), m_services(services), m_owner(owner)
{
}

bool PasswordAccess::Unlock(Asking asking)
{
    if (m_vault.IsUnlocked())
        return true;
    QString typed;
    if (m_vault.Protection() == PasswordProtection::PrimaryPassword) {
        if (asking == Asking::Quiet ||
            !m_services.AskPassword(PasswordTexts::PrimaryPasswordPrompt, PasswordTexts::PrimaryPasswordTitle,
                                    typed, m_owner))
            return false;
    }
    // Deriving the key from the primary password takes most of a second by design.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const VaultError error = m_vault.Unlock(typed);
    QApplication::restoreOverrideCursor();
    typed.fill(u'\0');
    if (error != VaultError::None && asking == Asking::Ask)
        Tell(error);
    return error == VaultError::None;
}

std::optional<QString> PasswordAccess::Reveal(const QString& stored, Asking asking)
{
    if (!IsSealedText(stored))
        return stored;
    if (!Unlock(asking))
        return std::nullopt;
    VaultError error = VaultError::None;
    std::optional<QString> plain = m_vault.Open(stored, &error);
    if (!plain && asking == Asking::Ask)
        Tell(error);
    return plain;
}

std::optional<QString> PasswordAccess::Seal(const QString& plain)
{
    VaultError error = VaultError::None;
    std::optional<QString> sealed = m_vault.Seal(plain, &error);
    if (!sealed && error == VaultError::Locked && Unlock())
        sealed = m_vault.Seal(plain, &error);
    if (!sealed && error != VaultError::Locked)
        Tell(error, true);
    return sealed;
}

void PasswordAccess::Tell(VaultError error, bool writing)
{
    QString text;
    switch (error) {
    case VaultError::None:
    case VaultError::Locked:
        return; // the user declined to unlock
    case VaultError::WrongPassword:
        text = PasswordTexts::WrongPrimaryPassword;
        break;
    case VaultError::KeyringFailed:
        text = (writing ? PasswordTexts::KeyringWriteFailed : PasswordTexts::KeyringFailed)
                   .arg(m_vault.KeyringError());
        break;
    case VaultError::KeyMissing:
        text = PasswordTexts::KeyMissing;
        break;
    case VaultError::KeyMismatch:
        text = PasswordTexts::KeyMismatch;
        break;
    case VaultError::Tampered:
        text = PasswordTexts::Tampered;
        break;
    case VaultError::StorageFailed:
        text = PasswordTexts::StorageFailed;
        break;
    case VaultError::CryptoFailed:
        text = PasswordTexts::CryptoFailed;
        break;
    case VaultError::Damaged:
        text = PasswordTexts::Damaged;
        break;
    case VaultError::ServerNeedsPrimaryPassword:
        text = PasswordTexts::ServerNeedsPrimaryPassword;
        break;
    }
    m_services.ShowMessage(text, MessageStyle::Ok | MessageStyle::ErrorIcon, PasswordTexts::ErrorTitle,
                           m_owner);
}
