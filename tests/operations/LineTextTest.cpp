#include <gtest/gtest.h>

#include "operations/LineText.h"

namespace kalvex::testing {
namespace {

// The editor's lines arrive in UTF-8: characters beyond ASCII must never be taken for blanks or
// breaks because one of their bytes looks like one.
TEST(LineTextTest, BlankLinesAndLineBreaksInUtf8) {
    const struct {
        const char* text;
        bool blank;
        bool breaks;
    } cases[] = {
        {"", true, false},
        {" \t\x1f ", true, false},
        {"\u3000", false, false}, // the full-width space is text
        {" a ", false, false},
        {"\u00a0", false, false},
        {"上\n下", false, true},
        {"\r", true, true},
        {"上\u2028下", false, true},
        {"\u2029", false, true},
        {"\ufdd0", false, true},
        {"\ufdd1", false, true},
        {"\u2027\u202a\ufdcf\ufdd2", false, false}, // their neighbours are text
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isBlankLine(c.text), c.blank) << c.text;
        EXPECT_EQ(holdsLineBreak(c.text), c.breaks) << c.text;
    }
}

TEST(LineTextTest, UsedLinesEndAtTheLastLineThatIsNotBlank) {
    EXPECT_EQ(usedLineCount({}), 0);
    EXPECT_EQ(usedLineCount({"", " "}), 0);
    EXPECT_EQ(usedLineCount({"a", "", "b", " ", "\t"}), 3);
    EXPECT_EQ(usedLineCount({"", "\u3000"}), 2);
}

} // namespace
} // namespace kalvex::testing
