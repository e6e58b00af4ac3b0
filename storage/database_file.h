// The database file's format: the SQLite image sealed with the password,
// part by part, so that a reader opens only the parts it reads.
//
// bd.mdb is a 68-byte header followed by the image cut into parts of equal
// size (the last one may be shorter), each sealed on its own with
// XChaCha20-Poly1305 (libsodium) and stored as its ciphertext followed by its
// 16-byte tag. All numbers are little-endian.
//
//   offset  size  field
//        0     8  magic "TRVLBD\r\n"
//        8     2  format version, 2
//       10     2  key derivation, 1 = Argon2id version 1.3
//       12     4  Argon2id passes
//       16     4  Argon2id memory in bytes
//       20    16  Argon2id salt
//       36    24  nonce
//       60     4  part size: image bytes per part, a power of two, 512 to 65536
//       64     4  image size in bytes
//       68        the parts, in order
//
// The key is Argon2id of the connection string's password. Part i is sealed
// with the header's nonce whose last eight bytes are xored with i, and with
// the whole header as additional data: no byte of a part can change, no part
// can move, and no header byte can change without every part failing. The
// header gives the file's exact size, so a truncated or lengthened file is
// refused before anything is decrypted.
//
// The builder takes the image's page size as the part size, so SQLite
// reading one page opens one part: a calculation opens the schema and the
// calendar, and a picture is opened when it is read.
//
// The password ships with the program: the key guards the file's integrity,
// not its secrecy, and the Argon2id parameters are small so that opening
// stays fast. Salt and nonce are taken from a hash of the image, so one image
// always gives the same file (reproducible builds) and two images never share
// a nonce.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace toravel {

// The one message for a file that is not a sound database of ours: damaged,
// truncated, altered, sealed with another password, or of another format.
std::string DamagedDatabaseMessage(const std::string& dataSource);

// The bytes of a database file holding image. The builder writes them.
std::vector<unsigned char> DatabaseFileOfImage(const std::vector<unsigned char>& image,
                                               const std::string& password);

// An open database file: its header checked, its key derived and its first
// part opened. Every other part is opened, and its tag checked, each time it
// is read (or all at once, VerifyEveryPart); the file stays open meanwhile
// and is never written.
class SealedImage {
public:
    // Opens path; dataSource names the file in messages. Throws
    // DatabaseError: "Could not find file '<dataSource>'" when path is no
    // regular file, "Cannot read database file '<dataSource>'" when it
    // cannot be read, DamagedDatabaseMessage when it is not a sound
    // database file sealed with password, or larger than
    // MaxDatabaseFileBytes.
    SealedImage(const std::filesystem::path& path, const std::string& password,
                const std::string& dataSource);
    ~SealedImage();
    SealedImage(const SealedImage&) = delete;
    SealedImage& operator=(const SealedImage&) = delete;

    static constexpr std::size_t HeaderBytes = 68;

    std::size_t ImageBytes() const { return imageBytes_; }

    // Copies size bytes of the image from offset on to out; offset + size
    // must not pass ImageBytes(). False when a part read fails its check or
    // cannot be read. Only that read fails: the parts that pass their check
    // are still read, so a damaged picture costs that picture alone.
    bool Read(unsigned char* out, std::size_t size, std::size_t offset) noexcept;

    // Opens every part and checks its tag (about a millisecond for the
    // program's file): false at the first that fails.
    bool VerifyEveryPart() noexcept;

    // True once a part has failed its check: the file is damaged, and
    // messages say so.
    bool Damaged() const { return damaged_; }

private:
    bool OpenPart(std::size_t index, unsigned char* out) noexcept;

    int descriptor_ = -1;
    bool damaged_ = false;
    std::size_t partBytes_ = 0;
    std::size_t imageBytes_ = 0;
    std::array<unsigned char, HeaderBytes> header_{};
    std::array<unsigned char, 32> key_{};
    std::vector<unsigned char> firstPart_; // read first and again at every open
    std::vector<unsigned char> sealed_;    // one part's ciphertext and tag
    std::vector<unsigned char> plain_;     // one part, for reads of a piece of it
};

} // namespace toravel
