#include "files/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <random>

#include "files/descriptor_output.h"
#include "files/system_reason.h"

namespace toravel {
namespace {

namespace fs = std::filesystem;

// The temporary file's name keeps the start of the target's, so that a
// file left by a killed process says what it was for, and stays well
// within the 255 bytes a name may have.
constexpr std::size_t KeptNameBytes = 100;
constexpr int NameAttempts = 100;

std::string NameStart(const std::string& name) {
    if (name.size() <= KeptNameBytes)
        return name;
    std::size_t cut = KeptNameBytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return name.substr(0, cut);
}

std::string RandomLetters() {
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::uniform_int_distribution<int> pick(0, sizeof Letters - 2);
    std::string letters(10, ' ');
    for (char& c : letters)
        c = Letters[pick(device)];
    return letters;
}

std::string NotARegularFile(const struct stat& status) {
    if (S_ISDIR(status.st_mode))
        return "это каталог, а не файл";
    return "это не обычный файл, а устройство, канал или сокет; в него программа не пишет";
}

} // namespace

OutputFileError::OutputFileError(const fs::path& target, std::string reason, int error)
    : std::runtime_error("Не удалось записать «" + target.string() + "»: " + reason + "."),
      reason_(std::move(reason)), error_(error) {}

OutputFile::OutputFile(const fs::path& target)
    : target_(target), destination_(target), stream_(nullptr) {
    if (target.empty())
        throw OutputFileError(target, "не задано имя файла");
    struct stat status {};
    if (::lstat(target.c_str(), &status) == 0) {
        if (S_ISLNK(status.st_mode)) {
            // The file the link leads to is the one the user means.
            char* resolved = ::realpath(target.c_str(), nullptr);
            if (resolved == nullptr) {
                const int error = errno;
                throw OutputFileError(target,
                                      error == ENOENT
                                          ? "это символическая ссылка на файл, которого нет"
                                          : WriteFailureReason(error),
                                      error);
            }
            destination_ = resolved;
            std::free(resolved);
            if (::stat(destination_.c_str(), &status) != 0) {
                const int error = errno;
                throw OutputFileError(target, WriteFailureReason(error), error);
            }
        }
        if (!S_ISREG(status.st_mode))
            throw OutputFileError(target, NotARegularFile(status));
        replaces_ = true;
        mode_ = status.st_mode & 0777;
        owner_ = status.st_uid;
        group_ = status.st_gid;
    } else if (errno != ENOENT) {
        const int error = errno;
        throw OutputFileError(target, WriteFailureReason(error), error);
    }

    const fs::path folder = destination_.has_parent_path() ? destination_.parent_path() : ".";
    const std::string start = NameStart(destination_.filename().string());
    for (int attempt = 0; descriptor_ < 0; ++attempt) {
        temporary_ = folder / (start + ".tmp-" + RandomLetters());
        // O_EXCL with O_NOFOLLOW: a file or link already there is never
        // opened, only a new file made.
        descriptor_ =
            ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor_ < 0 && (errno != EEXIST || attempt + 1 == NameAttempts)) {
            const int error = errno;
            temporary_.clear();
            throw OutputFileError(target, WriteFailureReason(error), error);
        }
    }
    buffer_ = std::make_unique<DescriptorOutput>(descriptor_);
    stream_.rdbuf(buffer_.get());
}

OutputFile::~OutputFile() {
    Discard();
}

bool OutputFile::Good() const {
    return buffer_ && buffer_->Error() == 0 && stream_.good();
}

void OutputFile::Discard() noexcept {
    if (buffer_) {
        // Nothing buffered may reach the file later.
        buffer_->Fail(ECANCELED);
    }
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

void OutputFile::Fail(const std::string& reason, int error) {
    Discard();
    throw OutputFileError(target_, reason, error);
}

void OutputFile::Commit() {
    if (descriptor_ < 0)
        throw OutputFileError(target_, "файл уже записан или отменён");
    if (!buffer_->Flush() || !stream_.good()) {
        const int error = buffer_->Error();
        Fail(error != 0 ? WriteFailureReason(error) : "ошибка записи", error);
    }
    if (replaces_) {
        // The owner passes on where the process may give it (root, or the
        // owner itself for the group); the permissions always do.
        [[maybe_unused]] const int owned = ::fchown(descriptor_, owner_, group_);
        if (::fchmod(descriptor_, mode_) != 0)
            Fail(WriteFailureReason(errno), errno);
    }
    if (::fsync(descriptor_) != 0)
        Fail(WriteFailureReason(errno), errno);
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (::close(descriptor) != 0)
        Fail(WriteFailureReason(errno), errno);
    // What took the target's place meanwhile is not replaced either.
    struct stat status {};
    if (::lstat(destination_.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        Fail(NotARegularFile(status), 0);
    if (::rename(temporary_.c_str(), destination_.c_str()) != 0)
        Fail(WriteFailureReason(errno), errno);
    temporary_.clear();
    // The new name on the disk too. Some file systems cannot sync a
    // folder; the content itself is synced already.
    const fs::path folder = destination_.has_parent_path() ? destination_.parent_path() : ".";
    const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        ::fsync(directory);
        ::close(directory);
    }
}

} // namespace toravel
