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

    bool Unlock(Asking asking = Asking::Ask);
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
};
