// The database file's format: the SQLite image sealed with the password.
//
// bd.mdb is a 60-byte header followed by the XChaCha20-Poly1305 ciphertext
// of a whole SQLite 3 image (libsodium). All numbers are little-endian.
//
//   offset  size  field
//        0     8  magic "TRVLBD\r\n"
//        8     2  format version, 1
//       10     2  key derivation, 1 = Argon2id version 1.3
//       12     4  Argon2id passes
//       16     4  Argon2id memory in bytes
//       20    16  Argon2id salt
//       36    24  nonce
//       60     n  ciphertext of the image, then its 16-byte tag
//
// The key is Argon2id of the connection string's password; the header is the
// cipher's additional data, so no byte of the file can change unnoticed. The
// password ships with the program: the key guards the file's integrity, not
// its secrecy, and the Argon2id parameters are small so that opening stays
// fast. Salt and nonce are taken from a hash of the image, so one image
// always gives the same file (reproducible builds) and two images never share
// a nonce.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace toravel {

// The one message for a file that is not a sound database of ours: damaged,
// truncated, altered, sealed with another password, or of another format.
std::string DamagedDatabaseMessage(const std::string& dataSource);

// The size of the image sealed in a file of fileBytes bytes; 0 when the file
// is too short to hold one.
std::size_t SealedImageBytes(std::size_t fileBytes);

// Opens the seal of the file's bytes, writing SealedImageBytes(fileBytes)
// bytes of SQLite image to image; dataSource names the file in messages.
// Throws DatabaseError with DamagedDatabaseMessage.
void OpenSealedImage(const unsigned char* file, std::size_t fileBytes, const std::string& password,
                     const std::string& dataSource, unsigned char* image);

// The bytes of a database file holding image. The builder writes them.
std::vector<unsigned char> DatabaseFileOfImage(const std::vector<unsigned char>& image,
                                               const std::string& password);

} // namespace toravel
