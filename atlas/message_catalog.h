// A compiled gettext message catalog (a GNU ".mo" file) read directly, so
// that one language's translations can be looked up whatever the process's
// locale and LANGUAGE say, and without touching either.
//
// Only singular messages without a context are of use here: a plural entry
// is found by its singular text and gives its first form. Either byte order
// of the file is read. Every offset and length of the file is checked before
// it is used, so a truncated or damaged file is refused, never read past.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace toravel {

class MessageCatalog {
public:
    // The catalog in `path`; nothing, with the reason in `problem` (Russian,
    // for users), when the file is missing, larger than 64 MiB, or no
    // well-formed catalog.
    static std::optional<MessageCatalog> Read(const std::string& path, std::string& problem);

    // The same over bytes already read.
    static std::optional<MessageCatalog> Parse(std::string bytes, std::string& problem);

    // The translation of `original`; nothing where the catalog has none or
    // an empty one.
    std::optional<std::string_view> Translate(std::string_view original) const;

    std::size_t size() const { return translations_.size(); }

    MessageCatalog(MessageCatalog&&) noexcept = default;
    MessageCatalog& operator=(MessageCatalog&&) noexcept = default;

private:
    MessageCatalog() = default;

    // The file, where it does not move; the views below point into it.
    std::unique_ptr<const std::string> bytes_;
    std::unordered_map<std::string_view, std::string_view> translations_;
};

} // namespace toravel
