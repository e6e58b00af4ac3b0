// Building the horoscope database: table t from the calendar rows, the
// pictures in the first record.
//
// Table t (Mont INTEGER, Day INTEGER, Mir TEXT, Krug TEXT, рас BLOB,
// пмас BLOB, гим BLOB, моб BLOB, жоб BLOB), one record per row in the order
// given; months and days are integers, so their text has no leading zeros.
// Pages of 4 KiB with pointer maps, so that a reader of the sealed file
// reads each picture's pages alone (see storage/database_file.h).
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/build_database/calendar_csv.h"

namespace toravel::tools {

// The picture fields and the files in data/pictures/ they are read from.
struct PictureSource {
    std::string_view field;
    std::string_view fileName;
};

inline constexpr std::array<PictureSource, 5> PictureSources{{
    {"рас", "ras.jpg"},
    {"пмас", "pmas.jpg"},
    {"гим", "gim.jpg"},
    {"моб", "mob.jpg"},
    {"жоб", "zhob.jpg"},
}};

struct Picture {
    std::string field;
    std::vector<unsigned char> bytes;
};

// The pictures found in directory; a missing file is reported through warn
// and leaves its field empty. Throws std::runtime_error for a file that is
// not a JPEG (does not start with FF D8) or is larger than a field may be.
std::vector<Picture> ReadPictures(const std::filesystem::path& directory,
                                  const std::function<void(const std::string&)>& warn);

// The SQLite image of the database. Pictures name fields of PictureSources;
// with no rows there is no first record and the pictures are not stored.
// Throws std::runtime_error.
std::vector<unsigned char> BuildDatabaseImage(const std::vector<CalendarRow>& rows,
                                              const std::vector<Picture>& pictures);

// Writes bytes to path through OutputFile (files/output_file.h), so a failed
// build never leaves a half-written database behind. Throws
// std::runtime_error with the reason.
void WriteFileAtomically(const std::filesystem::path& path,
                         const std::vector<unsigned char>& bytes);

} // namespace toravel::tools
