#include "platform/error_display_text.h"

#include <gtest/gtest.h>

namespace toravel {
namespace {

// The last byte decides, compared as unsigned: a UTF-8 letter's last byte is
// above 127 and must get its full stop, not be taken for a negative char.
TEST(ErrorDisplayText, FullStopAfterAnEndThatSortsAfterTheDot) {
    struct Row {
        const char* message;
        const char* shown;
    } const rows[] = {
        {"Field 'x' not found", "Field 'x' not found."},
        {"Рисунок повреждён", "Рисунок повреждён."},
        {"'7 ' is not a valid integer value", "'7 ' is not a valid integer value."},
        {"Could not find file 'db/bd.mdb'", "Could not find file 'db/bd.mdb'"},
        {"ends in a dot.", "ends in a dot."},
        {"ends in a slash/", "ends in a slash/."},
        {"ends in a dash-", "ends in a dash-"},
        {"ends in a digit 7", "ends in a digit 7."},
        {"", ""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ErrorDisplayText(r.message), r.shown) << "'" << r.message << "'";
}

} // namespace
} // namespace toravel
