#include "bench/ten_thousand_people.h"

#include <unistd.h>

#include <random>
#include <vector>

#include "people/person_file.h"

namespace toravel::bench {
namespace {

// Removes the file and its journal when the process ends.
struct TemporaryFile {
    std::filesystem::path path;
    ~TemporaryFile() {
        std::error_code ignored;
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(path.string() + suffix, ignored);
    }
};

} // namespace

std::string PersonNameOf(int i) {
    static const std::vector<std::string> surnames = {
        "Иванов",   "Смирнов", "Кузнецов", "Попов",   "Васильев", "Петров",   "Соколов",
        "Михайлов", "Новиков", "Фёдоров",  "Морозов", "Волков",   "Алексеев", "Лебедев",
        "Семёнов",  "Егоров",  "Павлов",   "Козлов",  "Степанов", "Николаев", "Орлов",
        "Андреев",  "Макаров", "Никитин",  "Захаров", "Зайцев",   "Соловьёв", "Борисов"};
    static const std::vector<std::string> first = {"Александр", "Мария",   "Дмитрий", "Анна",
                                                   "Сергей",    "Елена",   "Андрей",  "Ольга",
                                                   "Алексей",   "Наталья", "Иван",    "Ирина"};
    static const std::vector<std::string> middle = {"Александрович", "Сергеевич", "Иванович",
                                                    "Петрович",      "Юрьевич",   "Ильич"};
    return surnames[static_cast<std::size_t>(i) % surnames.size()] + " " +
           first[static_cast<std::size_t>(i / 28) % first.size()] + " " +
           middle[static_cast<std::size_t>(i / 336) % middle.size()] + " " + std::to_string(i);
}

const std::filesystem::path& TenThousandPeopleFile(const std::string& benchmark) {
    static const TemporaryFile file = [&] {
        const auto path = std::filesystem::temp_directory_path() /
                          (benchmark + "-" + std::to_string(::getpid()) + ".sqlite");
        std::filesystem::remove(path);
        PersonFile people(path);
        PersonFile::Transaction all(people);
        std::mt19937 random(10'000);
        for (int i = 0; i < TenThousand; ++i) {
            Person p;
            p.name = PersonNameOf(i);
            p.date = std::to_string(10 + random() % 18) + ".0" + std::to_string(1 + random() % 9) +
                     "." + std::to_string(1920 + random() % 100);
            p.time = "14:30";
            p.place = "Москва";
            p.latitude = 55.75;
            p.longitude = 37.62;
            p.zoneHours = 3;
            p.note = std::string(random() % 400, 'n');
            people.Save(p, OnConflict::Skip);
        }
        all.Commit();
        return TemporaryFile{path};
    }();
    return file.path;
}

} // namespace toravel::bench
