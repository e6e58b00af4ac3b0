// Place-name keys: a strict UTF-8 decoder, a small case and accent folding
// for the scripts of the atlas's Russian and English names, and the joining
// of separators.
#include "platform/place_name_key.h"

#include <cstdint>

namespace toravel {
namespace {

// The next code point of `text` from `at`, advancing `at`; nothing for an
// ill-formed sequence (the well-formed table of Unicode 15, section 3.9).
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the allowed range of the second byte
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing beyond U+10FFFF
    } else {
        return std::nullopt;
    }
    if (text.size() - at < length)
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(at + i);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF))
            return std::nullopt;
        value = (value << 6) | (next & 0x3F);
    }
    at += length;
    return value;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Blanks, hyphens and dashes, dots, commas, apostrophes, quotes, brackets,
// slashes and control characters.
bool IsSeparator(char32_t c) {
    constexpr std::string_view asciiSeparators = " -.,'\"()/";
    if (c < 0x80)
        return c < 0x20 || c == 0x7F ||
               asciiSeparators.find(static_cast<char>(c)) != std::string_view::npos;
    return c == 0x00A0 || c == 0x00AB || c == 0x00BB || c == 0x02BC || c == 0x2019 || c == 0x2212 ||
           (c >= 0x2010 && c <= 0x2015);
}

// Base letters of U+00E0 … U+00FF and U+0100 … U+017F; '*' keeps the
// (lowered) letter itself.
constexpr std::string_view kLatin1Bases = "aaaaaa*ceeeeiiii*nooooo*ouuuuy*y";
constexpr std::string_view kLatinExtendedABases = "aaaaaaccccccccdd"
                                                  "ddeeeeeeeeeegggg"
                                                  "gggghhhhiiiiiiii"
                                                  "ii**jjkk*lllllll"
                                                  "lllnnnnnn*nnoooo"
                                                  "oo**rrrrrrssssss"
                                                  "ssttttttuuuuuuuu"
                                                  "uuuuwwyyyzzzzzzs";

char32_t Folded(char32_t c) {
    if (c >= 'A' && c <= 'Z')
        return c + 32;
    if (c < 0x80)
        return c;
    // Latin-1: capitals to small letters, then the accents dropped.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        c += 0x20;
    if (c >= 0xE0 && c <= 0xFF) {
        const char base = kLatin1Bases[c - 0xE0];
        return base == '*' ? c : static_cast<char32_t>(base);
    }
    if (c >= 0x100 && c <= 0x17F) {
        const char base = kLatinExtendedABases[c - 0x100];
        if (base != '*')
            return static_cast<char32_t>(base);
        return c == 0x132 || c == 0x152 ? c + 1 : c; // Ĳ, Œ
    }
    // Greek capitals.
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return c + 0x20;
    // Cyrillic: Ѐ … Џ, А … Я, then the paired letters of the extended block.
    if (c >= 0x400 && c <= 0x40F)
        c += 0x50;
    else if (c >= 0x410 && c <= 0x42F)
        c += 0x20;
    else if (((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) ||
              (c >= 0x4D0 && c <= 0x52F)) &&
             c % 2 == 0)
        c += 1;
    else if (c == 0x4C0)
        c = 0x4CF;
    else if (c >= 0x4C1 && c <= 0x4CE && c % 2 == 1)
        c += 1;
    return c == 0x451 ? 0x435 : c; // ё → е
}

} // namespace

std::optional<std::string> PlaceNameKey(std::string_view utf8) {
    std::string key;
    key.reserve(utf8.size());
    bool pendingBlank = false;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> c = NextCodePoint(utf8, at);
        if (!c)
            return std::nullopt;
        if (IsSeparator(*c)) {
            pendingBlank = !key.empty();
            continue;
        }
        if (pendingBlank)
            key += ' ';
        pendingBlank = false;
        AppendUtf8(key, Folded(*c));
    }
    return key;
}

} // namespace toravel
