// Sealing and opening the SQLite image of the database file, part by part.
#include "storage/database_file.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include "storage/database.h"

namespace toravel {
namespace {

constexpr std::array<unsigned char, 8> Magic = {'T', 'R', 'V', 'L', 'B', 'D', '\r', '\n'};
constexpr std::uint16_t FormatVersion = 2;
constexpr std::uint16_t KeyDerivationArgon2id13 = 1;

constexpr std::size_t SaltBytes = crypto_pwhash_argon2id_SALTBYTES;
constexpr std::size_t NonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t TagBytes = crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr std::size_t KeyBytes = crypto_aead_xchacha20poly1305_ietf_KEYBYTES;
constexpr std::size_t HeaderBytes = SealedImage::HeaderBytes;
static_assert(HeaderBytes == 8 + 2 + 2 + 4 + 4 + SaltBytes + NonceBytes + 4 + 4);
static_assert(KeyBytes == 32);

constexpr std::size_t SaltOffset = 20;
constexpr std::size_t NonceOffset = SaltOffset + SaltBytes;
constexpr std::size_t PartSizeOffset = NonceOffset + NonceBytes;
constexpr std::size_t ImageSizeOffset = PartSizeOffset + 4;

// The parameters the builder writes: one pass over 64 KiB. A file asking for
// more than the upper bounds is refused before any work is done.
constexpr std::uint32_t WrittenPasses = 1;
constexpr std::uint32_t WrittenMemoryBytes = 64u << 10;
constexpr std::uint32_t MaxPasses = 4;
constexpr std::uint32_t MaxMemoryBytes = 1u << 20;

// Parts are SQLite's page sizes; an image that is no SQLite database (only
// tests seal one) is cut into parts of the default page size.
constexpr std::size_t MinPartBytes = 512;
constexpr std::size_t MaxPartBytes = 65536;
constexpr std::size_t DefaultPartBytes = 4096;

// SQLite needs at least one page of 512 bytes.
constexpr std::size_t MinImageBytes = 512;

constexpr std::string_view SqliteMagic{"SQLite format 3\0", 16};

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

bool IsPowerOfTwo(std::size_t n) {
    return n != 0 && (n & (n - 1)) == 0;
}

std::size_t PartCount(std::size_t imageBytes, std::size_t partBytes) {
    return (imageBytes + partBytes - 1) / partBytes;
}

std::size_t FileBytesOf(std::size_t imageBytes, std::size_t partBytes) {
    return HeaderBytes + imageBytes + TagBytes * PartCount(imageBytes, partBytes);
}

// The nonce of part index: the header's, its last eight bytes xored with the
// index, so that no two parts share one.
std::array<unsigned char, NonceBytes> PartNonce(const unsigned char* headerNonce,
                                                std::size_t index) {
    std::array<unsigned char, NonceBytes> nonce{};
    std::copy_n(headerNonce, NonceBytes, nonce.begin());
    const auto value = static_cast<std::uint64_t>(index);
    for (std::size_t i = 0; i < 8; ++i) {
        nonce[NonceBytes - 8 + i] ^= static_cast<unsigned char>(value >> (8 * i));
    }
    return nonce;
}

// The page size an SQLite image names in its header, or 0.
std::size_t SqlitePageBytes(const std::vector<unsigned char>& image) {
    if (image.size() < 100 ||
        !std::equal(SqliteMagic.begin(), SqliteMagic.end(), image.begin(),
                    [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; })) {
        return 0;
    }
    const std::size_t raw = (std::size_t{image[16]} << 8) | image[17];
    return raw == 1 ? 65536 : raw;
}

void InitialiseSodium() {
    if (sodium_init() < 0) {
        throw std::runtime_error("The cryptography library cannot start");
    }
}

bool DeriveKey(std::array<unsigned char, KeyBytes>& key, const std::string& password,
               const unsigned char* salt, std::uint32_t passes, std::uint32_t memoryBytes) {
    return crypto_pwhash(key.data(), key.size(), password.data(), password.size(), salt, passes,
                         memoryBytes, crypto_pwhash_ALG_ARGON2ID13) == 0;
}

// Reads exactly size bytes at offset; false on an error or an early end.
bool ReadAt(int descriptor, unsigned char* out, std::size_t size, std::size_t offset) {
    while (size > 0) {
        const ssize_t got = ::pread(descriptor, out, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        out += got;
        size -= static_cast<std::size_t>(got);
        offset += static_cast<std::size_t>(got);
    }
    return true;
}

std::string Quoted(const std::string& dataSource) {
    return "'" + dataSource + "'";
}

} // namespace

std::string DamagedDatabaseMessage(const std::string& dataSource) {
    return "Database file '" + dataSource + "' is damaged or has been altered";
}

std::vector<unsigned char> DatabaseFileOfImage(const std::vector<unsigned char>& image,
                                               const std::string& password) {
    InitialiseSodium();
    std::size_t partBytes = SqlitePageBytes(image);
    if (partBytes < MinPartBytes || partBytes > MaxPartBytes || !IsPowerOfTwo(partBytes)) {
        partBytes = DefaultPartBytes;
    }
    std::array<unsigned char, SaltBytes + NonceBytes> digest{};
    crypto_generichash(digest.data(), digest.size(), image.data(), image.size(), nullptr, 0);

    std::vector<unsigned char> file(Magic.begin(), Magic.end());
    PutLittleEndian(file, FormatVersion, 2);
    PutLittleEndian(file, KeyDerivationArgon2id13, 2);
    PutLittleEndian(file, WrittenPasses, 4);
    PutLittleEndian(file, WrittenMemoryBytes, 4);
    file.insert(file.end(), digest.begin(), digest.end()); // salt, then nonce
    PutLittleEndian(file, static_cast<std::uint32_t>(partBytes), 4);
    PutLittleEndian(file, static_cast<std::uint32_t>(image.size()), 4);
    if (file.size() != HeaderBytes || image.size() > MaxDatabaseFileBytes) {
        throw std::runtime_error("The database image is too large");
    }

    std::array<unsigned char, KeyBytes> key{};
    if (!DeriveKey(key, password, file.data() + SaltOffset, WrittenPasses, WrittenMemoryBytes)) {
        throw std::runtime_error("Not enough memory to derive the database key");
    }
    file.resize(FileBytesOf(image.size(), partBytes));
    unsigned char* out = file.data() + HeaderBytes;
    for (std::size_t i = 0, start = 0; start < image.size(); ++i, start += partBytes) {
        const std::size_t length = std::min(partBytes, image.size() - start);
        const auto nonce = PartNonce(file.data() + NonceOffset, i);
        crypto_aead_xchacha20poly1305_ietf_encrypt(out, nullptr, image.data() + start, length,
                                                   file.data(), HeaderBytes, nullptr, nonce.data(),
                                                   key.data());
        out += length + TagBytes;
    }
    sodium_memzero(key.data(), key.size());
    return file;
}

SealedImage::SealedImage(const std::filesystem::path& path, const std::string& password,
                         const std::string& dataSource) {
    if (sodium_init() < 0) {
        throw DatabaseError("The cryptography library cannot start");
    }
    const DatabaseError damaged(DamagedDatabaseMessage(dataSource));
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw DatabaseError("Could not find file " + Quoted(dataSource));
    }
    // Not blocking: should a pipe take the file's place meanwhile, opening
    // it must not wait for a writer.
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat status {};
    if (descriptor_ < 0 || ::fstat(descriptor_, &status) != 0) {
        const bool missing = errno == ENOENT;
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
        throw DatabaseError((missing ? "Could not find file " : "Cannot read database file ") +
                            Quoted(dataSource));
    }
    // From here on the destructor does not run: close on every failure.
    struct CloseOnFailure {
        SealedImage* image;
        ~CloseOnFailure() {
            if (image != nullptr) {
                ::close(image->descriptor_);
            }
        }
    } guard{this};

    if (!S_ISREG(status.st_mode)) {
        throw DatabaseError("Could not find file " + Quoted(dataSource));
    }
    const auto fileBytes = static_cast<std::uintmax_t>(status.st_size);
    if (fileBytes > MaxDatabaseFileBytes || fileBytes < HeaderBytes) {
        throw damaged;
    }
    if (!ReadAt(descriptor_, header_.data(), HeaderBytes, 0)) {
        throw DatabaseError("Cannot read database file " + Quoted(dataSource));
    }
    const unsigned char* h = header_.data();
    const std::uint32_t passes = GetLittleEndian(h + 12, 4);
    const std::uint32_t memoryBytes = GetLittleEndian(h + 16, 4);
    partBytes_ = GetLittleEndian(h + PartSizeOffset, 4);
    imageBytes_ = GetLittleEndian(h + ImageSizeOffset, 4);
    // Bounds before any work: a forged header must not make opening slow.
    if (!std::equal(Magic.begin(), Magic.end(), h) || GetLittleEndian(h + 8, 2) != FormatVersion ||
        GetLittleEndian(h + 10, 2) != KeyDerivationArgon2id13 ||
        passes < crypto_pwhash_argon2id_OPSLIMIT_MIN || passes > MaxPasses ||
        memoryBytes < crypto_pwhash_argon2id_MEMLIMIT_MIN || memoryBytes > MaxMemoryBytes ||
        partBytes_ < MinPartBytes || partBytes_ > MaxPartBytes || !IsPowerOfTwo(partBytes_) ||
        imageBytes_ < MinImageBytes || imageBytes_ > MaxDatabaseFileBytes ||
        FileBytesOf(imageBytes_, partBytes_) != fileBytes) {
        throw damaged;
    }
    if (!DeriveKey(key_, password, h + SaltOffset, passes, memoryBytes)) {
        throw damaged;
    }

    sealed_.resize(partBytes_ + TagBytes);
    plain_.resize(partBytes_);
    firstPart_.resize(std::min(partBytes_, imageBytes_));
    if (!OpenPart(0, firstPart_.data()) ||
        !std::equal(SqliteMagic.begin(), SqliteMagic.end(), firstPart_.begin(),
                    [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; })) {
        sodium_memzero(key_.data(), key_.size());
        throw damaged;
    }
    guard.image = nullptr;
}

SealedImage::~SealedImage() {
    sodium_memzero(key_.data(), key_.size());
    ::close(descriptor_);
}

bool SealedImage::OpenPart(std::size_t index, unsigned char* out) noexcept {
    const std::size_t start = index * partBytes_;
    const std::size_t length = std::min(partBytes_, imageBytes_ - start);
    const std::size_t at = HeaderBytes + start + index * TagBytes;
    const auto nonce = PartNonce(header_.data() + NonceOffset, index);
    if (!ReadAt(descriptor_, sealed_.data(), length + TagBytes, at) ||
        crypto_aead_xchacha20poly1305_ietf_decrypt(out, nullptr, nullptr, sealed_.data(),
                                                   length + TagBytes, header_.data(), HeaderBytes,
                                                   nonce.data(), key_.data()) != 0) {
        std::memset(out, 0, length);
        damaged_ = true;
        return false;
    }
    return true;
}

bool SealedImage::VerifyEveryPart() noexcept {
    for (std::size_t index = 1; index < PartCount(imageBytes_, partBytes_); ++index) {
        if (!OpenPart(index, plain_.data())) {
            return false;
        }
    }
    return true;
}

bool SealedImage::Read(unsigned char* out, std::size_t size, std::size_t offset) noexcept {
    if (offset > imageBytes_ || size > imageBytes_ - offset) {
        return false;
    }
    while (size > 0) {
        const std::size_t index = offset / partBytes_;
        const std::size_t start = index * partBytes_;
        const std::size_t length = std::min(partBytes_, imageBytes_ - start);
        const std::size_t skip = offset - start;
        const std::size_t take = std::min(size, length - skip);
        if (index == 0) {
            std::memcpy(out, firstPart_.data() + skip, take);
        } else if (take == length) {
            // A whole part, as SQLite reads a page: straight to the reader.
            if (!OpenPart(index, out)) {
                return false;
            }
        } else {
            if (!OpenPart(index, plain_.data())) {
                return false;
            }
            std::memcpy(out, plain_.data() + skip, take);
        }
        out += take;
        size -= take;
        offset += take;
    }
    return true;
}

} // namespace toravel
