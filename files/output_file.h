// Writing an output file (an export, a PDF) so that nothing is lost: the
// new content goes into a temporary file of its own in the target's folder
// and replaces the target only once it is whole on the disk.
//
//     OutputFile file(target);        // throws OutputFileError
//     file.Stream() << content;
//     file.Commit();                  // throws OutputFileError
//
// The temporary file is created exclusively under a name nobody can guess
// (never through a symbolic link planted in the folder); every write is
// checked, the file is synced, given the target's permissions and owner when
// it replaces one, and renamed over the target, and the folder is synced.
// On any failure, and when the object goes without Commit, the temporary
// file is removed and the target is left byte for byte as it was.
//
// A target that exists and is no regular file (a device, a pipe, a socket,
// a folder) is refused: renaming over it would put a file where the device
// was, and writing into it could block or go nowhere. A symbolic link to a
// regular file has that file replaced; a link to nothing is refused.
#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

namespace toravel {

class DescriptorOutput;

class OutputFileError : public std::runtime_error {
public:
    // The message: "Не удалось записать «target»: reason."
    OutputFileError(const std::filesystem::path& target, std::string reason, int error = 0);

    // Why, in Russian, without the file's name ("на диске нет места").
    const std::string& Reason() const { return reason_; }
    // The errno value, 0 when the failure was no system call's.
    int Error() const { return error_; }

private:
    std::string reason_;
    int error_;
};

class OutputFile {
public:
    explicit OutputFile(const std::filesystem::path& target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The target as given, for messages.
    const std::filesystem::path& Target() const { return target_; }

    // The content goes here. A failed write makes the stream bad and Commit
    // throw with the reason of the first failure.
    std::ostream& Stream() { return stream_; }

    // Whether every write so far succeeded.
    bool Good() const;

    // Puts the content in the target's place. Throws OutputFileError.
    void Commit();

private:
    void Discard() noexcept;
    [[noreturn]] void Fail(const std::string& reason, int error);

    std::filesystem::path target_;
    std::filesystem::path destination_; // the target, its links followed
    std::filesystem::path temporary_;
    int descriptor_ = -1;
    bool replaces_ = false; // a file was there: its permissions and owner pass on
    unsigned mode_ = 0;
    unsigned owner_ = 0, group_ = 0;
    std::unique_ptr<DescriptorOutput> buffer_;
    std::ostream stream_;
};

} // namespace toravel
