#include "csv/csv_header.h"

#include "platform/ascii_text.h"

namespace toravel {
namespace {

std::string KeyOf(std::string_view name) {
    std::string key(TrimSpacesAndTabs(name));
    for (char& c : key)
        c = AsciiLower(c);
    return key;
}

} // namespace

std::string CsvHeader::Read(const CsvRecord& first) {
    names_.clear();
    keys_.clear();
    // JSON Lines (a batch's own output, say) is no CSV: said as such rather
    // than as the quote the first object holds.
    if (!first.fields.empty() && TrimSpacesAndTabs(first.fields.front()).starts_with('{'))
        return "это не CSV: строка " + std::to_string(first.line) +
               " начинается с «{», как JSON; нужен CSV со строкой заголовка";
    if (!first.error.empty())
        return "заголовок: " + first.error;
    std::optional<std::size_t> unnamed;
    for (const std::string& field : first.fields) {
        std::string key = KeyOf(field);
        if (key.empty()) {
            // One column without a name is a trailing comma; with two, a
            // value under the empty name would stand for another's.
            if (unnamed)
                return "заголовок: у столбцов " + std::to_string(*unnamed + 1) + " и " +
                       std::to_string(names_.size() + 1) + " нет имени";
            unnamed = names_.size();
        } else if (Find(key)) {
            return "заголовок: столбец «" + std::string(TrimSpacesAndTabs(field)) +
                   "» назван дважды";
        }
        names_.emplace_back(TrimSpacesAndTabs(field));
        keys_.push_back(std::move(key));
    }
    return {};
}

std::optional<std::size_t> CsvHeader::Find(std::string_view name) const {
    const std::string key = KeyOf(name);
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (keys_[i] == key)
            return i;
    }
    return std::nullopt;
}

void CsvHeader::CheckFieldCount(CsvRecord& record) const {
    if (!record.error.empty() || record.fields.size() == names_.size())
        return;
    const std::string counts = std::to_string(record.fields.size()) + " вместо " +
                               std::to_string(names_.size()) + ", как в заголовке";
    record.error = record.fields.size() > names_.size() ? "лишние поля: " + counts
                                                        : "не хватает полей: " + counts;
}

} // namespace toravel
