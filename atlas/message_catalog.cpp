// The GNU message catalog format: a header of 32-bit words (magic number,
// revision, number of strings N, offsets of the table of originals and of
// the table of translations), each table N pairs of (length, offset) words,
// each string NUL-terminated at offset + length. The hash table that follows
// is not needed: the entries are put into a map of our own.
#include "atlas/message_catalog.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace toravel {
namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uintmax_t kLargestCatalog = 64u << 20;

// 32-bit words in the file's byte order.
class Words {
public:
    explicit Words(std::string_view bytes) : bytes_(bytes) {}

    // False when the file is too short for a header or has no known magic.
    bool DetectOrder() {
        if (bytes_.size() < 28)
            return false;
        swapped_ = false;
        if (At(0) == kMagic)
            return true;
        swapped_ = true;
        return At(0) == kMagic;
    }

    // The word at `offset`, which the caller has checked lies in the file.
    std::uint32_t At(std::size_t offset) const {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const auto byte = static_cast<unsigned char>(bytes_[offset + i]);
            value |= static_cast<std::uint32_t>(byte) << (swapped_ ? 24 - 8 * i : 8 * i);
        }
        return value;
    }

private:
    std::string_view bytes_;
    bool swapped_ = false;
};

// The string of table entry `index`, up to its first NUL; nothing when it
// does not lie within the file with its terminating NUL.
std::optional<std::string_view> TableString(std::string_view bytes, const Words& words,
                                            std::size_t table, std::size_t index) {
    const std::size_t entry = table + 8 * index;
    const std::size_t length = words.At(entry);
    const std::size_t offset = words.At(entry + 4);
    if (offset >= bytes.size() || length >= bytes.size() - offset || bytes[offset + length] != 0)
        return std::nullopt;
    const std::string_view text = bytes.substr(offset, length);
    return text.substr(0, text.find('\0'));
}

} // namespace

std::optional<MessageCatalog> MessageCatalog::Read(const std::string& path, std::string& problem) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || !std::filesystem::is_regular_file(path, error)) {
        problem = "нет файла " + path;
        return std::nullopt;
    }
    if (size > kLargestCatalog) {
        problem = "файл " + path + " слишком велик для файла переводов";
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        problem = "не удалось прочитать " + path;
        return std::nullopt;
    }
    std::optional<MessageCatalog> catalog = Parse(std::move(bytes), problem);
    if (!catalog)
        problem = "файл " + path + " повреждён: " + problem;
    return catalog;
}

std::optional<MessageCatalog> MessageCatalog::Parse(std::string bytes, std::string& problem) {
    MessageCatalog catalog;
    catalog.bytes_ = std::make_unique<const std::string>(std::move(bytes));
    const std::string_view data = *catalog.bytes_;

    Words words(data);
    if (!words.DetectOrder()) {
        problem = "это не файл переводов";
        return std::nullopt;
    }
    if (words.At(4) >> 16 > 1) {
        problem = "неизвестная версия файла переводов";
        return std::nullopt;
    }
    const std::size_t count = words.At(8);
    const std::size_t originals = words.At(12);
    const std::size_t translations = words.At(16);
    const auto tableFits = [&](std::size_t table) {
        return table <= data.size() && count <= (data.size() - table) / 8;
    };
    if (!tableFits(originals) || !tableFits(translations)) {
        problem = "таблицы строк выходят за конец файла";
        return std::nullopt;
    }
    catalog.translations_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto original = TableString(data, words, originals, i);
        const auto translation = TableString(data, words, translations, i);
        if (!original || !translation) {
            problem = "строка " + std::to_string(i + 1) + " выходит за конец файла";
            return std::nullopt;
        }
        // The entry with the empty original is the catalog's own header.
        if (!original->empty() && !translation->empty())
            catalog.translations_.emplace(*original, *translation);
    }
    return catalog;
}

std::optional<std::string_view> MessageCatalog::Translate(std::string_view original) const {
    const auto found = translations_.find(original);
    if (found == translations_.end())
        return std::nullopt;
    return found->second;
}

} // namespace toravel
