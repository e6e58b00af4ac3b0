// The database file holds a plain SQLite image.
#include "platform/database_file.h"

#include <algorithm>
#include <string_view>

#include "platform/database.h"

namespace toravel {

std::vector<unsigned char> DatabaseImageOfFile(std::vector<unsigned char> fileBytes, const std::string& /*password*/,
                                               const std::string& dataSource)
{
    constexpr std::string_view SqliteMagic{"SQLite format 3\0", 16};
    if (fileBytes.size() < 512 || !std::equal(SqliteMagic.begin(), SqliteMagic.end(), fileBytes.begin(),
                                              [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; })) {
        throw DatabaseError("Database file '" + dataSource + "' is damaged");
    }
    return fileBytes;
}

std::vector<unsigned char> DatabaseFileOfImage(const std::vector<unsigned char>& image,
                                               const std::string& /*password*/)
{
    return image;
}

}  // namespace toravel
