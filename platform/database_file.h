// The database file's format: how the SQLite image is stored in bd.mdb.
#pragma once

#include <string>
#include <vector>

namespace toravel {

// The SQLite image stored in fileBytes, checked; dataSource names the file
// in messages. Throws DatabaseError.
std::vector<unsigned char> DatabaseImageOfFile(std::vector<unsigned char> fileBytes, const std::string& password,
                                               const std::string& dataSource);

// The bytes of a database file holding image. The builder writes them.
std::vector<unsigned char> DatabaseFileOfImage(const std::vector<unsigned char>& image, const std::string& password);

}  // namespace toravel
