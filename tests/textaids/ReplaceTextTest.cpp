#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QString>

#include "textaids/ReplaceText.h"

namespace kalvex {
namespace {

struct ReplaceCase {
    const char* name;
    const char16_t* text;
    const char16_t* search;
    const char16_t* replacement;
    CaseMatch match;
    const char16_t* expected;
};

class ReplaceTextTest : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTextTest, Replaces) {
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(ReplaceText(c.text, c.search, c.replacement, c.match), std::u16string(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceTextTest,
    testing::Values(
        ReplaceCase{"IgnoreCaseMatchesAllCases", u"abc ABC Abc", u"abc", u"x",
                    CaseMatch::IgnoreCase, u"x x x"},
        ReplaceCase{"ExactMatchesOnlyExactCase", u"abc ABC Abc", u"abc", u"x", CaseMatch::Exact,
                    u"x ABC Abc"},
        ReplaceCase{"UnmatchedPartsKeepCase", u"aBcXbC", u"x", u"-", CaseMatch::IgnoreCase,
                    u"aBc-bC"},
        ReplaceCase{"InsertedTextNotRescanned", u"aaa", u"a", u"aa", CaseMatch::Exact, u"aaaaaa"},
        ReplaceCase{"NonOverlapping", u"aaaa", u"aa", u"b", CaseMatch::Exact, u"bb"},
        ReplaceCase{"EmptyReplacementDeletes", u"TB-07-TB", u"TB", u"", CaseMatch::Exact, u"-07-"},
        ReplaceCase{"EmptySearchChangesNothing", u"abc", u"", u"x", CaseMatch::Exact, u"abc"},
        ReplaceCase{"LengthChangingUpperCaseStaysAligned", u"straße STRASSE x", u"x", u"y",
                    CaseMatch::IgnoreCase, u"straße STRASSE y"},
        ReplaceCase{"FullWidthLettersFoldToo", u"ａｂＡＢ", u"ａ", u"1", CaseMatch::IgnoreCase,
                    u"1ｂ1Ｂ"},
        ReplaceCase{"Japanese", u"制御盤-制御盤", u"制御", u"動力", CaseMatch::Exact,
                    u"動力盤-動力盤"}),
    [](const testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

// Against a plain reference: cut the text at each match of a lower-cased copy.
TEST(ReplaceText, AgreesWithAPlainReferenceOnRandomText) {
    QRandomGenerator random(7);
    const QString alphabet = QStringLiteral("aAbB-");
    auto randomText = [&](int length) {
        QString text;
        for (int i = 0; i < length; ++i)
            text.append(alphabet[random.bounded(int(alphabet.size()))]);
        return text;
    };
    for (int round = 0; round < 500; ++round) {
        const QString text = randomText(random.bounded(12));
        const QString search = randomText(1 + random.bounded(3));
        const QString replacement = randomText(random.bounded(4));
        QString expected;
        const QString lower = text.toLower();
        qsizetype at = 0;
        while (at < text.size()) {
            if (lower.mid(at, search.size()) == search.toLower()) {
                expected += replacement;
                at += search.size();
            } else {
                expected += text[at++];
            }
        }
        EXPECT_EQ(ReplaceText(text.toStdU16String(), search.toStdU16String(),
                              replacement.toStdU16String(), CaseMatch::IgnoreCase),
                  expected.toStdU16String())
            << text.toStdString() << " / " << search.toStdString();
    }
}

} // namespace
} // namespace kalvex
