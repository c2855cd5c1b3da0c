#include "PasswordAccess.h"

#include "FailureExplanation.h"

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

namespace {

// A mistyped primary password is asked again, a few times.
constexpr int PrimaryPasswordTries = 3;

} // namespace

bool PasswordAccess::Unlock(Asking asking)
{
    m_declined = false;
    m_lastError = VaultError::None;
    if (m_vault.IsUnlocked())
        return true;
    const bool primary = m_vault.Protection() == PasswordProtection::PrimaryPassword;
    VaultError error = VaultError::None;
    for (int attempt = 0; attempt < (primary ? PrimaryPasswordTries : 1); ++attempt) {
        QString typed;
        if (primary) {
            const QString& prompt =
                attempt == 0 ? PasswordTexts::PrimaryPasswordPrompt : PasswordTexts::PrimaryPasswordAgain;
            if (asking == Asking::Quiet ||
                !m_services.AskPassword(prompt, PasswordTexts::PrimaryPasswordTitle, typed, m_owner)) {
                m_declined = true;
                return false;
            }
        }
        // Deriving the key from the primary password takes most of a second by design.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        error = m_vault.Unlock(typed);
        QApplication::restoreOverrideCursor();
        typed.fill(u'\0');
        if (error != VaultError::WrongPassword)
            break;
    }
    m_lastError = error;
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
    case VaultError::Cancelled:
        return; // the user declined to unlock, or stopped waiting for the keyring
    case VaultError::WrongPassword:
        text = PasswordTexts::WrongPrimaryPassword;
        break;
    case VaultError::KeyringFailed:
        text = writing ? FailureExplanation::KeyringWrite(m_vault.KeyringError())
                       : FailureExplanation::KeyringRead(m_vault.KeyringError());
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
