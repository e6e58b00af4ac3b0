#include "people/name_key.h"

#include <algorithm>
#include <optional>

#include "people/case_folding.generated.h"
#include "platform/utf8_text.h"

namespace toravel {
namespace {

bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == 0xA0 || c == 0x2007 || c == 0x202F || c == 0x3000 ||
           (c >= 0x2000 && c <= 0x200A);
}

std::string_view TrimmedName(std::string_view name) {
    // Blanks are found code point by code point: a no-break space is two bytes.
    std::size_t begin = 0;
    while (begin < name.size()) {
        std::size_t next = begin;
        const auto c = DecodeUtf8(name, next);
        if (!c || !IsBlank(*c))
            break;
        begin = next;
    }
    std::size_t end = begin, at = begin;
    while (at < name.size()) {
        const auto c = DecodeUtf8(name, at);
        if (!c) {
            ++at;
            end = at;
        } else if (!IsBlank(*c)) {
            end = at;
        }
    }
    return name.substr(begin, end - begin);
}

} // namespace

std::string FoldCase(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const unsigned char byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            folded += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte);
            ++at;
            continue;
        }
        const std::size_t start = at;
        const std::optional<char32_t> c = DecodeUtf8(text, at);
        if (!c) {
            folded += text[at++];
            continue;
        }
        const auto row = std::lower_bound(
            std::begin(CaseFoldingRows), std::end(CaseFoldingRows), *c,
            [](const CaseFoldingRow& r, char32_t value) { return r.from < value; });
        if (row == std::end(CaseFoldingRows) || row->from != *c) {
            folded.append(text.substr(start, at - start));
            continue;
        }
        for (const char32_t to : row->to) {
            if (to != 0)
                AppendUtf8(folded, to);
        }
    }
    return folded;
}

std::string NameKey(std::string_view name) {
    return FoldCase(TrimmedName(name));
}

namespace {

// A folded text with ё read as е. ё is D1 91 once folded, е is D0 B5: the
// same length, so the text is changed in place. D1 is only ever a lead byte.
std::string WithoutYo(std::string folded) {
    for (std::size_t i = 0; i + 1 < folded.size(); ++i) {
        if (folded[i] == '\xD1' && folded[i + 1] == '\x91') {
            folded[i] = '\xD0';
            folded[i + 1] = '\xB5';
        }
    }
    return folded;
}

} // namespace

std::string NameSortKey(std::string_view name) {
    return WithoutYo(NameKey(name));
}

std::string NameSearchKey(std::string_view text) {
    return WithoutYo(FoldCase(text));
}

} // namespace toravel
