#include "pdf/report_pictures.h"

#include "horoscope/horoscope_pictures.h"
#include "storage/database.h"

namespace toravel {

std::vector<DocumentPicture> LoadReportPictures(const std::string& connectionString, bool female) {
    const HoroscopePicture fields[] = {MeaningPicture, MassagePicture, GymnasticsPicture,
                                       AmuletPicture(female)};
    const DatabaseConnection connection(connectionString);
    TableCursor table(connection);
    table.First();
    std::vector<DocumentPicture> pictures;
    std::vector<unsigned char> bytes;
    for (const HoroscopePicture& field : fields) {
        DocumentPicture picture{std::string(field.buttonCaption), std::nullopt};
        table.CopyFieldBytes(field.field, bytes);
        if (!bytes.empty())
            picture.image = DecodeJpeg(bytes.data(), bytes.size());
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

} // namespace toravel
