#include "people/person_export.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "csv/birth_columns.h"
#include "csv/csv_writer.h"
#include "people/sqlite_statement.h"

namespace toravel {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void ThrowWriteFailure(const fs::path& target, int error) {
    std::string reason = SystemReason(error);
    if (reason.empty())
        reason = "ошибка записи";
    throw PersonFileError(error == ENOSPC ? PersonFileProblem::DiskFull
                                          : PersonFileProblem::Unavailable,
                          "Не удалось записать «" + target.string() + "»: " + reason + ".");
}

bool SyncPath(const fs::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

std::size_t ExportPeople(const PersonFile& file, std::ostream& out) {
    CsvWriter writer(out);
    writer.WriteRecord(BirthColumnNames());
    std::size_t count = 0;
    file.ForEach([&](const Person& person) {
        writer.WriteRecord(BirthRowFields(RowOfPerson(person)));
        ++count;
    });
    out.flush();
    if (!out)
        throw PersonFileError(PersonFileProblem::Unavailable,
                              "Не удалось записать выгрузку картотеки: поток вывода закрыт или "
                              "на диске нет места.");
    return count;
}

std::size_t ExportPeopleToFile(const PersonFile& file, const fs::path& target) {
    std::error_code error;
    if (!file.Path().empty() && fs::equivalent(target, file.Path(), error))
        throw PersonFileError(
            PersonFileProblem::Unavailable,
            "Выгрузка в «" + target.string() +
                "» записала бы CSV поверх самой картотеки: выберите другой файл.");
    const fs::path temporary = target.string() + ".tmp-" + std::to_string(::getpid());
    std::size_t count = 0;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            ThrowWriteFailure(target, errno);
        try {
            count = ExportPeople(file, out);
        } catch (const PersonFileError& e) {
            const int saved = errno;
            out.close();
            fs::remove(temporary, error);
            if (e.Problem() != PersonFileProblem::Unavailable || saved == 0)
                throw;
            ThrowWriteFailure(target, saved);
        }
        out.close();
        if (!out) {
            const int saved = errno;
            fs::remove(temporary, error);
            ThrowWriteFailure(target, saved);
        }
    }
    if (!SyncPath(temporary, O_RDONLY) || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int saved = errno;
        fs::remove(temporary, error);
        ThrowWriteFailure(target, saved);
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    SyncPath(folder, O_RDONLY | O_DIRECTORY);
    return count;
}

} // namespace toravel
