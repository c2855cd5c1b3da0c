#include "SealedText.h"

#include <sodium.h>

namespace {

constexpr std::size_t NonceSize = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t TagSize = crypto_aead_xchacha20poly1305_ietf_ABYTES;

bool IsSealingKey(const SecretBytes& key)
{
    return CryptoReady() && key.Size() == SealKeySize;
}

} // namespace

bool IsSealedText(const QString& stored)
{
    return stored.startsWith(SealedPrefix);
}

QByteArray SealBytes(const unsigned char* data, std::size_t size, const SecretBytes& key)
{
    if (!IsSealingKey(key))
        return {};
    QByteArray sealed(qsizetype(NonceSize + size + TagSize), Qt::Uninitialized);
    auto* nonce = reinterpret_cast<unsigned char*>(sealed.data());
    randombytes_buf(nonce, NonceSize);
    unsigned long long written = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(nonce + NonceSize, &written, data, size, nullptr, 0, nullptr,
                                               nonce, key.Data());
    return sealed;
}

std::optional<SecretBytes> OpenSealedBytes(const QByteArray& sealed, const SecretBytes& key)
{
    if (!IsSealingKey(key) || std::size_t(sealed.size()) < NonceSize + TagSize)
        return std::nullopt;
    const auto* nonce = reinterpret_cast<const unsigned char*>(sealed.constData());
    const std::size_t cipherSize = std::size_t(sealed.size()) - NonceSize;
    SecretBytes plain(cipherSize - TagSize);
    unsigned long long read = 0;
    // An empty plain text still needs somewhere to point.
    unsigned char none = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(plain.IsEmpty() ? &none : plain.Data(), &read, nullptr,
                                                   nonce + NonceSize, cipherSize, nullptr, 0, nonce,
                                                   key.Data()) != 0)
        return std::nullopt;
    return plain;
}

QString SealText(const QString& plain, const SecretBytes& key)
{
    QByteArray text = plain.toUtf8();
    const QByteArray sealed =
        SealBytes(reinterpret_cast<const unsigned char*>(text.constData()), std::size_t(text.size()), key);
    Wipe(text);
    if (sealed.isEmpty())
        return {};
    return SealedPrefix + QString::fromLatin1(sealed.toBase64());
}

std::optional<QString> OpenSealedText(const QString& sealed, const SecretBytes& key)
{
    if (!IsSealedText(sealed))
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(sealed.mid(SealedPrefix.size()).toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    const std::optional<SecretBytes> plain = OpenSealedBytes(*decoded, key);
    if (!plain)
        return std::nullopt;
    return QString::fromUtf8(reinterpret_cast<const char*>(plain->Data()), qsizetype(plain->Size()));
}
