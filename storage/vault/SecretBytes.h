#pragma once

#include <QByteArray>

#include <cstddef>

// Key material in memory that is locked out of swap and wiped when freed.
class SecretBytes {
public:
    SecretBytes() = default;
    explicit SecretBytes(std::size_t size);
    ~SecretBytes();
    SecretBytes(SecretBytes&& other) noexcept;
    SecretBytes& operator=(SecretBytes&& other) noexcept;
    SecretBytes(const SecretBytes&) = delete;
    SecretBytes& operator=(const SecretBytes&) = delete;

    static SecretBytes Random(std::size_t size);
    static SecretBytes CopyOf(const unsigned char* data, std::size_t size);
    SecretBytes Copy() const { return CopyOf(m_data, m_size); }

    unsigned char* Data() { return m_data; }
    const unsigned char* Data() const { return m_data; }
    std::size_t Size() const { return m_size; }
    bool IsEmpty() const { return m_size == 0; }

private:
    unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
};

// False when libsodium could not start; nothing can be sealed then.
bool CryptoReady();

// Zeroes a buffer that held a password or a key; the compiler may not skip it.
void Wipe(QByteArray& bytes);
