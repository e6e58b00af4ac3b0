#include "pdf/report_pictures.h"

#include "platform/database.h"

namespace toravel {

std::vector<DocumentPicture> LoadReportPictures(const std::string& connectionString, bool female) {
    struct Field {
        const char* name;
        const char* caption;
    };
    const Field fields[] = {
        {"рас", "Значение периода"},
        {"пмас", "Оберегающий массаж"},
        {"гим", "Гимнастика"},
        {female ? "жоб" : "моб", "Оберег"},
    };
    const DatabaseConnection connection(connectionString);
    TableCursor table(connection);
    table.First();
    std::vector<DocumentPicture> pictures;
    std::vector<unsigned char> bytes;
    for (const Field& field : fields) {
        DocumentPicture picture{field.caption, std::nullopt};
        table.CopyFieldBytes(field.name, bytes);
        if (!bytes.empty())
            picture.image = DecodeJpeg(bytes.data(), bytes.size());
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

} // namespace toravel
