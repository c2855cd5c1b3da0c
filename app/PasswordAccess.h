#pragma once

#include "PasswordVault.h"

#include <QString>

#include <optional>

class QWidget;
class RuntimeServices;

// How the windows reach stored passwords: the vault is unlocked when a password is first needed
// (the keyring without a word, the primary password asked once a run), and every failure is told.
// Quiet: only what needs no question and no message (a comparison the user did not ask for).
class PasswordAccess {
public:
    enum class Asking { Ask, Quiet };

    PasswordAccess(PasswordVault& vault, RuntimeServices& services, QWidget* owner);

    // A mistyped primary password is asked again, up to three times.
    bool Unlock(Asking asking = Asking::Ask);
    // After Unlock failed: the user declined to type the primary password, or why the vault refused.
    bool Declined() const { return m_declined; }
    VaultError LastError() const { return m_lastError; }
    // The password a stored value holds; nullopt when it cannot be had (the user was told).
    std::optional<QString> Reveal(const QString& stored, Asking asking = Asking::Ask);
    // What to store for a password typed or captured; nullopt: nothing may be written.
    std::optional<QString> Seal(const QString& plain);
    // Tells the user why the vault refused.
    void Tell(VaultError error, bool writing = false);

private:
    PasswordVault& m_vault;
    RuntimeServices& m_services;
    QWidget* m_owner;
    bool m_declined = false;
    VaultError m_lastError = VaultError::None;
};
