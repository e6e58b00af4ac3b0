// Sealing and opening the SQLite image of the database file.
#include "platform/database_file.h"

#include <sodium.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "platform/database.h"

namespace toravel {
namespace {

constexpr std::array<unsigned char, 8> Magic = {'T', 'R', 'V', 'L', 'B', 'D', '\r', '\n'};
constexpr std::uint16_t FormatVersion = 1;
constexpr std::uint16_t KeyDerivationArgon2id13 = 1;

constexpr std::size_t SaltBytes = crypto_pwhash_argon2id_SALTBYTES;
constexpr std::size_t NonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t TagBytes = crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr std::size_t KeyBytes = crypto_aead_xchacha20poly1305_ietf_KEYBYTES;
constexpr std::size_t HeaderBytes = 8 + 2 + 2 + 4 + 4 + SaltBytes + NonceBytes;
static_assert(HeaderBytes == 60);

// The parameters the builder writes: one pass over 64 KiB. A file asking for
// more than the upper bounds is refused before any work is done.
constexpr std::uint32_t WrittenPasses = 1;
constexpr std::uint32_t WrittenMemoryBytes = 64u << 10;
constexpr std::uint32_t MaxPasses = 4;
constexpr std::uint32_t MaxMemoryBytes = 1u << 20;

constexpr std::string_view SqliteMagic{"SQLite format 3\0", 16};

struct Header {
    std::uint32_t passes = 0;
    std::uint32_t memoryBytes = 0;
    std::array<unsigned char, SaltBytes> salt{};
    std::array<unsigned char, NonceBytes> nonce{};
};

void PutLittleEndian(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
}

std::uint32_t GetLittleEndian(const unsigned char* in, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | in[i];
    }
    return value;
}

std::vector<unsigned char> EncodeHeader(const Header& header) {
    std::vector<unsigned char> out(Magic.begin(), Magic.end());
    PutLittleEndian(out, FormatVersion, 2);
    PutLittleEndian(out, KeyDerivationArgon2id13, 2);
    PutLittleEndian(out, header.passes, 4);
    PutLittleEndian(out, header.memoryBytes, 4);
    out.insert(out.end(), header.salt.begin(), header.salt.end());
    out.insert(out.end(), header.nonce.begin(), header.nonce.end());
    return out;
}

void InitialiseSodium() {
    if (sodium_init() < 0) {
        throw std::runtime_error("The cryptography library cannot start");
    }
}

bool DeriveKey(std::array<unsigned char, KeyBytes>& key, const std::string& password,
               const Header& header) {
    return crypto_pwhash(key.data(), key.size(), password.data(), password.size(),
                         header.salt.data(), header.passes, header.memoryBytes,
                         crypto_pwhash_ALG_ARGON2ID13) == 0;
}

} // namespace

std::string DamagedDatabaseMessage(const std::string& dataSource) {
    return "Database file '" + dataSource + "' is damaged or has been altered";
}

std::vector<unsigned char> DatabaseFileOfImage(const std::vector<unsigned char>& image,
                                               const std::string& password) {
    InitialiseSodium();
    Header header;
    header.passes = WrittenPasses;
    header.memoryBytes = WrittenMemoryBytes;
    std::array<unsigned char, SaltBytes + NonceBytes> digest{};
    crypto_generichash(digest.data(), digest.size(), image.data(), image.size(), nullptr, 0);
    std::copy_n(digest.begin(), SaltBytes, header.salt.begin());
    std::copy_n(digest.begin() + SaltBytes, NonceBytes, header.nonce.begin());

    std::array<unsigned char, KeyBytes> key{};
    if (!DeriveKey(key, password, header)) {
        throw std::runtime_error("Not enough memory to derive the database key");
    }
    std::vector<unsigned char> file = EncodeHeader(header);
    file.resize(HeaderBytes + image.size() + TagBytes);
    unsigned long long sealedBytes = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(file.data() + HeaderBytes, &sealedBytes,
                                               image.data(), image.size(), file.data(), HeaderBytes,
                                               nullptr, header.nonce.data(), key.data());
    sodium_memzero(key.data(), key.size());
    file.resize(HeaderBytes + static_cast<std::size_t>(sealedBytes));
    return file;
}

std::size_t SealedImageBytes(std::size_t fileBytes) {
    return fileBytes < HeaderBytes + TagBytes ? 0 : fileBytes - HeaderBytes - TagBytes;
}

void OpenSealedImage(const unsigned char* file, std::size_t fileBytes, const std::string& password,
                     const std::string& dataSource, unsigned char* image) {
    InitialiseSodium();
    const DatabaseError damaged(DamagedDatabaseMessage(dataSource));
    if (fileBytes < HeaderBytes + TagBytes || !std::equal(Magic.begin(), Magic.end(), file) ||
        GetLittleEndian(file + 8, 2) != FormatVersion ||
        GetLittleEndian(file + 10, 2) != KeyDerivationArgon2id13) {
        throw damaged;
    }
    Header header;
    header.passes = GetLittleEndian(file + 12, 4);
    header.memoryBytes = GetLittleEndian(file + 16, 4);
    std::copy_n(file + 20, SaltBytes, header.salt.begin());
    std::copy_n(file + 20 + SaltBytes, NonceBytes, header.nonce.begin());
    // Bounds before any work: a forged header must not make opening slow.
    if (header.passes < crypto_pwhash_argon2id_OPSLIMIT_MIN || header.passes > MaxPasses ||
        header.memoryBytes < crypto_pwhash_argon2id_MEMLIMIT_MIN ||
        header.memoryBytes > MaxMemoryBytes) {
        throw damaged;
    }

    std::array<unsigned char, KeyBytes> key{};
    if (!DeriveKey(key, password, header)) {
        throw damaged;
    }
    const std::size_t imageBytes = SealedImageBytes(fileBytes);
    const int rc = crypto_aead_xchacha20poly1305_ietf_decrypt(
        image, nullptr, nullptr, file + HeaderBytes, fileBytes - HeaderBytes, file, HeaderBytes,
        header.nonce.data(), key.data());
    sodium_memzero(key.data(), key.size());
    if (rc != 0 || imageBytes < 512 ||
        !std::equal(SqliteMagic.begin(), SqliteMagic.end(), image,
                    [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; })) {
        throw damaged;
    }
}

} // namespace toravel
