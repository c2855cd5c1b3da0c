#pragma once

#include "SecretBytes.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A password as stored under protection: "qvx1:" and base64 of nonce + ciphertext
// (XChaCha20-Poly1305 under a 32-byte key). Anything without the prefix is a plain password.
inline const QString SealedPrefix = QStringLiteral("qvx1:");
constexpr std::size_t SealKeySize = 32;

bool IsSealedText(const QString& stored);
// Empty when the key is not a sealing key.
QString SealText(const QString& plain, const SecretBytes& key);
// nullopt when the value is not authentic under this key (another key, a changed byte).
std::optional<QString> OpenSealedText(const QString& sealed, const SecretBytes& key);

// The same for raw bytes (a key wrapped by another key): nonce + ciphertext.
QByteArray SealBytes(const unsigned char* data, std::size_t size, const SecretBytes& key);
std::optional<SecretBytes> OpenSealedBytes(const QByteArray& sealed, const SecretBytes& key);
