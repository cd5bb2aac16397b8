// CRC-32 and the traditional PKWARE stream cipher of skin files. Platform-neutral.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kel {

// One step of the reflected CRC-32 (polynomial 0xEDB88320) over one byte, without the
// conventional pre- and post-inversion: the cipher's key schedule uses the bare step.
uint32_t Crc32Step(uint32_t crc, uint8_t byte);

// The conventional CRC-32 of a buffer (as recorded in archive headers). `crc` continues a
// previous call's result; 0 starts a new checksum.
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

// Length of the encryption header in front of an encrypted entry's data.
constexpr size_t kEncryptionHeaderSize = 12;

// The three-key cipher state. Decrypting and encrypting both advance the keys with the plain byte.
class TPkwareKeys {
public:
    // Starts the keys from the published constants and feeds them the password's bytes.
    explicit TPkwareKeys(const std::string& password);

    uint8_t DecryptByte(uint8_t cipher);
    uint8_t EncryptByte(uint8_t plain);
    void Decrypt(uint8_t* data, size_t size);
    void Encrypt(uint8_t* data, size_t size);

private:
    uint8_t KeystreamByte() const;
    void Update(uint8_t plain);

    uint32_t key0_ = 0x12345678;
    uint32_t key1_ = 0x23456789;
    uint32_t key2_ = 0x34567890;
};

} // namespace kel
