// toravel-build-database: builds db/bd.mdb from the calendar table and the
// pictures.
//
//   toravel-build-database --calendar data/calendar.csv
//       --pictures data/pictures --output build/db/bd.mdb
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "storage/database.h"
#include "storage/database_file.h"
#include "tools/build_database/calendar_csv.h"
#include "tools/build_database/database_builder.h"

namespace {

constexpr std::string_view Usage =
    "usage: toravel-build-database --calendar FILE --pictures DIR --output FILE\n";

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path calendar;
    std::filesystem::path pictures;
    std::filesystem::path output;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc) {
            std::cerr << Usage;
            return 2;
        }
        const char* value = argv[++i];
        if (option == "--calendar") {
            calendar = value;
        } else if (option == "--pictures") {
            pictures = value;
        } else if (option == "--output") {
            output = value;
        } else {
            std::cerr << Usage;
            return 2;
        }
    }
    if (calendar.empty() || pictures.empty() || output.empty()) {
        std::cerr << Usage;
        return 2;
    }
    try {
        using namespace toravel::tools;
        const auto rows = ReadCalendarCsv(calendar);
        CheckCompleteCalendar(rows);
        const auto pictureList = ReadPictures(pictures, [](const std::string& warning) {
            std::cerr << "toravel-build-database: warning: " << warning << '\n';
        });
        const auto image = BuildDatabaseImage(rows, pictureList);
        const auto settings = toravel::ParseConnectionString(toravel::HoroscopeConnectionString);
        WriteFileAtomically(output, toravel::DatabaseFileOfImage(image, settings.password));
    } catch (const std::exception& error) {
        std::cerr << "toravel-build-database: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
