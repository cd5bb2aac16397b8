#include "skin/themes/KEL2SkinReader_Crypto.h"

#include <array>

namespace kel {
namespace {

// Table 0 advances the CRC by one byte; table k by one byte followed by k zero bytes, so eight
// bytes are taken in one step of eight independent lookups.
using TCrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr TCrcTables MakeCrcTables() {
    TCrcTables tables{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        tables[0][n] = c;
    }
    for (size_t k = 1; k < tables.size(); ++k)
        for (uint32_t n = 0; n < 256; ++n)
            tables[k][n] = (tables[k - 1][n] >> 8) ^ tables[0][tables[k - 1][n] & 0xFF];
    return tables;
}

constexpr TCrcTables kCrcTables = MakeCrcTables();
constexpr const std::array<uint32_t, 256>& kCrcTable = kCrcTables[0];

uint32_t LoadLittleEndian32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

} // namespace

uint32_t Crc32Step(uint32_t crc, uint8_t byte) {
    return kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
    crc = ~crc;
    const auto& t = kCrcTables;
    for (; size >= 8; data += 8, size -= 8) {
        const uint32_t a = crc ^ LoadLittleEndian32(data), b = LoadLittleEndian32(data + 4);
        crc = t[7][a & 0xFF] ^ t[6][(a >> 8) & 0xFF] ^ t[5][(a >> 16) & 0xFF] ^ t[4][a >> 24] ^
              t[3][b & 0xFF] ^ t[2][(b >> 8) & 0xFF] ^ t[1][(b >> 16) & 0xFF] ^ t[0][b >> 24];
    }
    for (; size > 0; ++data, --size) crc = Crc32Step(crc, *data);
    return ~crc;
}

TPkwareKeys::TPkwareKeys(const std::string& password) {
    for (const char c : password) Update(static_cast<uint8_t>(c));
}

uint8_t TPkwareKeys::KeystreamByte() const {
    const uint32_t t = (key2_ & 0xFFFF) | 2;
    return static_cast<uint8_t>((t * (t ^ 1)) >> 8);
}

void TPkwareKeys::Update(uint8_t plain) {
    key0_ = Crc32Step(key0_, plain);
    key1_ = (key1_ + (key0_ & 0xFF)) * 134775813u + 1;
    key2_ = Crc32Step(key2_, static_cast<uint8_t>(key1_ >> 24));
}

uint8_t TPkwareKeys::DecryptByte(uint8_t cipher) {
    const uint8_t plain = cipher ^ KeystreamByte();
    Update(plain);
    return plain;
}

uint8_t TPkwareKeys::EncryptByte(uint8_t plain) {
    const uint8_t cipher = plain ^ KeystreamByte();
    Update(plain);
    return cipher;
}

void TPkwareKeys::Decrypt(uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) data[i] = DecryptByte(data[i]);
}

void TPkwareKeys::Encrypt(uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) data[i] = EncryptByte(data[i]);
}

} // namespace kel
