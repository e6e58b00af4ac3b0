// Place-name keys: a small case and accent folding for the scripts of the
// atlas's Russian and English names, and the joining of separators.
#include "place/place_name_key.h"

#include <cstdint>

#include "platform/utf8_text.h"

namespace toravel {
namespace {

// Blanks, hyphens and dashes, dots, commas, quotes, brackets, slashes and
// control characters.
bool IsSeparator(char32_t c) {
    constexpr std::string_view asciiSeparators = " -.,\"()/";
    if (c < 0x80)
        return c < 0x20 || c == 0x7F ||
               asciiSeparators.find(static_cast<char>(c)) != std::string_view::npos;
    return c == 0x00A0 || c == 0x00AB || c == 0x00BB || c == 0x2212 || (c >= 0x2010 && c <= 0x2015);
}

// The apostrophe, the right single quotation mark and the modifier letters
// that stand for it (and for the soft sign in transliterations: "Noril'sk",
// "Noril’sk", "Norilʹsk").
bool IsApostrophe(char32_t c) {
    return c == '\'' || c == '`' || c == 0x2019 || c == 0x02B9 || c == 0x02BC;
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
        const std::optional<char32_t> c = DecodeUtf8(utf8, at);
        if (!c)
            return std::nullopt;
        if (IsApostrophe(*c))
            continue;
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

std::optional<std::string> PlaceNameOtherSpelling(std::string_view key) {
    std::string spelling;
    spelling.reserve(key.size());
    bool changed = false;
    for (std::size_t at = 0; at < key.size(); ++at) {
        const bool wordEnds = at + 2 == key.size() || (at + 2 < key.size() && key[at + 2] == ' ');
        // "iy" or "yy" after a Latin letter, at the end of a word.
        if (wordEnds && at > 0 && key[at - 1] >= 'a' && key[at - 1] <= 'z' &&
            (key[at] == 'i' || key[at] == 'y') && key[at + 1] == 'y') {
            spelling += 'y';
            ++at;
            changed = true;
            continue;
        }
        spelling += key[at];
    }
    if (!changed)
        return std::nullopt;
    return spelling;
}

} // namespace toravel
