#include "SecretBytes.h"

#include <sodium.h>

#include <algorithm>
#include <utility>

bool CryptoReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

void Wipe(QByteArray& bytes)
{
    // A buffer shared with another holder is theirs to wipe; only the last holder zeroes it.
    if (!bytes.isEmpty() && bytes.isDetached())
        sodium_memzero(const_cast<char*>(bytes.constData()), std::size_t(bytes.size()));
    bytes.clear();
}

SecretBytes::SecretBytes(std::size_t size)
{
    if (size == 0 || !CryptoReady())
        return;
    m_data = static_cast<unsigned char*>(sodium_malloc(size));
    if (m_data)
        m_size = size;
}

SecretBytes::~SecretBytes()
{
    if (m_data)
        sodium_free(m_data); // zeroes before it frees
}

SecretBytes::SecretBytes(SecretBytes&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
{
}

SecretBytes& SecretBytes::operator=(SecretBytes&& other) noexcept
{
    if (this != &other) {
        if (m_data)
            sodium_free(m_data);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

SecretBytes SecretBytes::Random(std::size_t size)
{
    SecretBytes bytes(size);
    if (!bytes.IsEmpty())
        randombytes_buf(bytes.Data(), bytes.Size());
    return bytes;
}

SecretBytes SecretBytes::CopyOf(const unsigned char* data, std::size_t size)
{
    SecretBytes bytes(size);
    if (!bytes.IsEmpty())
        std::copy(data, data + size, bytes.Data());
    return bytes;
}
