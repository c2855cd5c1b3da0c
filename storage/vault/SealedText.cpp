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

namespace {

// Decrypts into `plain`, which has room for the plain text (sealed size less nonce and tag).
bool OpenInto(const QByteArray& sealed, const SecretBytes& key, unsigned char* plain)
{
    const auto* nonce = reinterpret_cast<const unsigned char*>(sealed.constData());
    unsigned long long read = 0;
    return crypto_aead_xchacha20poly1305_ietf_decrypt(plain, &read, nullptr, nonce + NonceSize,
                                                      std::size_t(sealed.size()) - NonceSize, nullptr, 0,
                                                      nonce, key.Data()) == 0;
}

bool CanOpen(const QByteArray& sealed, const SecretBytes& key)
{
    return IsSealingKey(key) && std::size_t(sealed.size()) >= NonceSize + TagSize;
}

} // namespace

std::optional<SecretBytes> OpenSealedBytes(const QByteArray& sealed, const SecretBytes& key)
{
    if (!CanOpen(sealed, key))
        return std::nullopt;
    SecretBytes plain(std::size_t(sealed.size()) - NonceSize - TagSize);
    // An empty plain text still needs somewhere to point.
    unsigned char none = 0;
    if (!OpenInto(sealed, key, plain.IsEmpty() ? &none : plain.Data()))
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
    if (!decoded || !CanOpen(*decoded, key))
        return std::nullopt;
    // An ordinary buffer, wiped after use: a locked page per password would cost a system call
    // pair each, and the text goes on into a QString anyway.
    QByteArray plain(decoded.decoded.size() - qsizetype(NonceSize + TagSize) + 1, '\0');
    std::optional<QString> text;
    if (OpenInto(*decoded, key, reinterpret_cast<unsigned char*>(plain.data())))
        text = QString::fromUtf8(plain.constData(), plain.size() - 1);
    Wipe(plain);
    return text;
}
