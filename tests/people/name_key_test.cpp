// Name keys against Unicode's case folding as Python's str.casefold()
// applies it (the values were taken from it, not from this code).
#include <gtest/gtest.h>

#include "people/name_key.h"

namespace toravel {
namespace {

TEST(NameKey, FoldsTheCaseOfEveryScript) {
    const struct {
        const char* name;
        const char* key;
    } rows[] = {
        {"ЁЛКИНА Алёна", "ёлкина алёна"},
        {"ЎЗБЕК ҐАНОК ЇЖАК Є", "ўзбек ґанок їжак є"},
        {"ΣΊΣΥΦΟΣ", "σίσυφοσ"},
        {"σίσυφος", "σίσυφοσ"},
        {"Straße", "strasse"},
        {"İstanbul", "i̇stanbul"},
        {"ǅemal", "ǆemal"},
        {"ＡＢＣ", "ａｂｃ"},
        {"𐐀𐐁", "𐐨𐐩"},
        {"Ⓐ", "ⓐ"},
        {"ﬃ", "ffi"},
        {"日本", "日本"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FoldCase(row.name), row.key) << row.name;
}

TEST(NameKey, DropsBlanksAroundButKeepsEverythingElse) {
    EXPECT_EQ(NameKey(" \t\u00A0Анна\u3000 "), "анна");
    EXPECT_EQ(NameKey("Анна  Мария"), "анна  мария");
    EXPECT_NE(NameKey("Алёна"), NameKey("Алена"));
    EXPECT_EQ(NameKey("\u00A0"), "");
    // Bytes that are no UTF-8 are kept, so that they still make a key.
    EXPECT_EQ(FoldCase("A\xFF\xD0Z"), "a\xFF\xD0z");
}

TEST(NameKey, SortKeyReadsЁAsЕ) {
    EXPECT_EQ(NameSortKey("Ёжиков"), "ежиков");
    EXPECT_LT(NameSortKey("Ёжиков"), NameSortKey("Ежов"));
    EXPECT_LT(NameSortKey("Ежов"), NameSortKey("Жуков"));
}

} // namespace
} // namespace toravel
