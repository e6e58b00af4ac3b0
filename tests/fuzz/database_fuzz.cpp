// The database open over an arbitrary file, then a walk over every field of
// every record as the program reads them (picture fields by their own
// query). The first byte's lowest bit chooses what the rest is: the file
// itself (0), or an SQLite image sealed part by part with the program's
// password (1), so that the fuzzer also reaches the engine and the
// part-by-part reads behind the seal.
// Either the walk ends or a DatabaseError says why; nothing else.
//
// Seeds in corpus/database/: a sealed file of a small calendar with two
// pictures and the same image to seal, a small image of 512-byte pages, a
// file sealed with another password, a header alone and an empty file.
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "storage/database.h"
#include "storage/database_file.h"

using namespace toravel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static const std::string password = ParseConnectionString(HoroscopeConnectionString).password;
    std::vector<unsigned char> file(data + 1, data + size);
    if (data[0] & 1)
        file = DatabaseFileOfImage(file, password);

    static const std::string path = "/tmp/toravel-fuzz-" + std::to_string(getpid()) + ".mdb";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    try {
        const DatabaseConnection connection("Data Source=" + path +
                                            ";Jet OLEDB:Database Password=" + password);
        TableCursor table(connection);
        std::vector<unsigned char> bytes;
        for (int records = 0; !table.Eof() && records < 1000; ++records, table.Next()) {
            for (const std::string& field : table.FieldNames()) {
                table.FieldText(field);
                table.CopyFieldBytes(field, bytes);
            }
        }
        table.First();
        table.FieldText("Mont");
    } catch (const DatabaseError&) {
    }
    return 0;
}
