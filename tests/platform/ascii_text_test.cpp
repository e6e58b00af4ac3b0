#include "platform/ascii_text.h"

#include <gtest/gtest.h>

namespace toravel {
namespace {

// Letters outside ASCII are bytes above 127, negative as a plain char: they
// must never count as blank, nor change case.
TEST(AsciiText, TrimsTakeOnlyTheirOwnBlanksOffTheEnds) {
    struct Row {
        const char* name;
        std::string_view text, spacesAndTabs, blanksAndControls;
    } const rows[] = {
        {"blanks and tabs", " \t55,45\t ", "55,45", "55,45"},
        {"control characters", "\r\x01 55 \n", "\r\x01 55 \n", "55"},
        {"blanks inside stay", " 55 45 ", "55 45", "55 45"},
        {"Cyrillic is no blank", " Омск ", "Омск", "Омск"},
        {"Windows-1251 byte is no blank", "\xCE\xEC", "\xCE\xEC", "\xCE\xEC"},
        {"nothing but blanks", "\t \x1F", "\x1F", ""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(TrimSpacesAndTabs(r.text), r.spacesAndTabs) << r.name;
        EXPECT_EQ(TrimBlanksAndControls(r.text), r.blanksAndControls) << r.name;
        EXPECT_EQ(OnlyBlanksAndControls(r.text), r.blanksAndControls.empty()) << r.name;
    }
}

TEST(AsciiText, CaseIsFoldedForAsciiLettersAlone) {
    EXPECT_TRUE(EqualIgnoringAsciiCase("Data Source", "data SOURCE"));
    EXPECT_FALSE(EqualIgnoringAsciiCase("Data Source", "Data Source "));
    EXPECT_FALSE(EqualIgnoringAsciiCase("ОМСК", "омск")) << "Cyrillic keeps its case";
    EXPECT_EQ(AsciiLower('@'), '@');
    EXPECT_EQ(AsciiLower('['), '[');
}

} // namespace
} // namespace toravel
