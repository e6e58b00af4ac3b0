// The web page's data, written from the desktop's own at build time:
//
//   toravel-web-data DB_DIR OUT_DIR
//
// OUT_DIR/calendar.json  the calendar days: for every month and day the
//                        record the calculation's lookup in table t finds
//                        (its world letter Mir and circle Krug);
// OUT_DIR/atlas.bin      the world atlas as the desktop loads it
//                        (place/atlas_bundle.h);
// OUT_DIR/zones.bin      the compiled zone files of every zone the atlas
//                        uses, 64-bit data and footer only (place/zone_bundle.h);
// OUT_DIR/pictures/      the four pictures and the two amulets, as the
//                        JPEG files table t holds.
//
// The page is public: what it ships is readable by anyone, so the data goes
// out as plain files, not sealed as bd.mdb is.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "atlas/geonames_atlas.h"
#include "horoscope/horoscope_pictures.h"
#include "storage/database.h"
#include "storage/horoscope_database.h"
#include "tools/web_data/bundle_writers.h"
#include "tools/web_data/zone_file_trim.h"
#include "zoneinfo/system_zone_files.h"

namespace {

using namespace toravel;
namespace fs = std::filesystem;

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string CalendarJson(const std::string& dbDir) {
    HoroscopeDatabase database(ConnectionStringForDirectory(dbDir));
    nlohmann::json days = nlohmann::json::array();
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= 31; ++day)
            if (const auto record = database.FindCalendarDay(month, day))
                days.push_back({{"month", month},
                                {"day", day},
                                {"world", record->Mir},
                                {"circle", record->Krug}});
    return days.dump() + "\n";
}

void WritePictures(const std::string& dbDir, const fs::path& folder) {
    fs::create_directories(folder);
    const DatabaseConnection connection(ConnectionStringForDirectory(dbDir));
    TableCursor table(connection);
    table.First();
    const std::pair<HoroscopePicture, const char*> pictures[] = {
        {MeaningPicture, "meaning.jpg"},
        {MassagePicture, "massage.jpg"},
        {GymnasticsPicture, "gymnastics.jpg"},
        {AmuletPicture(false), "amulet-male.jpg"},
        {AmuletPicture(true), "amulet-female.jpg"},
    };
    std::vector<unsigned char> bytes;
    for (const auto& [picture, file] : pictures) {
        table.CopyFieldBytes(picture.field, bytes);
        if (bytes.empty())
            throw std::runtime_error(std::string("table t holds no picture for ") + file);
        WriteFile(folder / file,
                  std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
}

} // namespace

int main(int argc, char** argv) {
    UseSystemZoneFiles();
    if (argc != 3) {
        std::cerr << "usage: toravel-web-data DB_DIR OUT_DIR\n";
        return 2;
    }
    const std::string dbDir = argv[1];
    const fs::path out = argv[2];
    try {
        fs::create_directories(out);
        WriteFile(out / "calendar.json", CalendarJson(dbDir));

        const AtlasLoad& atlas = SharedWorldAtlas();
        if (!atlas.atlas)
            throw std::runtime_error(atlas.problem);
        WriteFile(out / "atlas.bin", WriteAtlasBundle(atlas.atlas->places()));

        std::set<std::string> zoneNames;
        for (const AtlasPlace& place : atlas.atlas->places())
            zoneNames.insert(place.zone);
        ZoneFiles zones;
        for (const std::string& name : zoneNames) {
            const std::optional<std::string> file = ReadSystemZoneFile(name);
            const std::optional<std::string> trimmed =
                file ? ZoneFileWithoutV1Data(*file) : std::nullopt;
            if (!trimmed)
                throw std::runtime_error("no usable zone file for " + name);
            zones.emplace(name, *trimmed);
        }
        WriteFile(out / "zones.bin", WriteZoneBundle(zones));

        WritePictures(dbDir, out / "pictures");
    } catch (const std::exception& error) {
        std::cerr << "toravel-web-data: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
