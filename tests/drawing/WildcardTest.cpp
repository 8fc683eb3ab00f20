#include <gtest/gtest.h>

#include "drawing/cad/Wildcard.h"

using kalvex::drawing::LetterCase;
using kalvex::drawing::wildcardMatch;

namespace {

struct Case {
    const char* text;
    const char* pattern;
    bool sensitive;
    bool insensitive;
};

// Each construct matching and failing, with the result under both letter-case rules.
const Case kCases[] = {
    {"", "*", true, true},
    {"", "", true, true},
    {"a", "", false, false},
    {"ABC", "*", true, true},
    {"ABC", "A*", true, true},
    {"ABC", "*C", true, true},
    {"ABC", "*B*", true, true},
    {"ABC", "*D*", false, false},
    {"AXBXC", "A*B*C", true, true},
    {"AXBXD", "A*B*C", false, false},
    {"ABC", "A?C", true, true},
    {"AC", "A?C", false, false},
    {"A1C", "A#C", true, true},
    {"AxC", "A#C", false, false},
    {"AxC", "A@C", true, true},
    {"A1C", "A@C", false, false},
    {"A-C", "A.C", true, true},
    {"A1C", "A.C", false, false},
    {"AxC", "A.C", false, false},
    {"A C", "A.C", true, true},
    {"ABC", "A[BX]C", true, true},
    {"AYC", "A[BX]C", false, false},
    {"AMC", "A[A-Z]C", true, true},
    {"A5C", "A[A-Z]C", false, false},
    {"AYC", "A[~BX]C", true, true},
    {"ABC", "A[~BX]C", false, false},
    {"ABC", "~A*", false, false},
    {"XBC", "~A*", true, true},
    {"A*C", "A`*C", true, true},
    {"ABC", "A`*C", false, false},
    {"A#", "A`#", true, true},
    {"A1", "A`#", false, false},
    {"B", "A,B", true, true},
    {"C", "A,B", false, false},
    {"A,B", "A`,B", true, true},
    {"X", "[,]", false, false},
    {",", "[,]", true, true},
    {"]", "[]]", true, true},
    {"[", "[", true, true},
    {"abc", "ABC", false, true},
    {"abc", "A?C", false, true},
    {"aMc", "a[a-z]c", false, true},
    {"text", "TEXT", false, true},
    {"ＡＢ", "Ａ*", true, true},
    {"ＡＢ", "ａ*", false, true},
    {"配線1", "配線#", true, true},
    {"配線A", "配線#", false, false},
    {"配線", "@@", true, true},
    {"MOTOR-1", "~MOTOR*,PUMP*", false, false},
    {"PUMP-1", "~MOTOR*,PUMP*", true, true},
    {"FAN", "~MOTOR*,PUMP*", true, true},
    {"aaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*c", false, false},
};

TEST(Wildcard, MatchesEachConstructUnderBothCaseRules) {
    for (const Case& c : kCases) {
        EXPECT_EQ(wildcardMatch(c.text, c.pattern, LetterCase::Sensitive), c.sensitive)
            << "text \"" << c.text << "\" pattern \"" << c.pattern << "\" (case-sensitive)";
        EXPECT_EQ(wildcardMatch(c.text, c.pattern, LetterCase::Insensitive), c.insensitive)
            << "text \"" << c.text << "\" pattern \"" << c.pattern << "\" (case-insensitive)";
    }
}

// A plain recursive matcher for patterns made of literals, ? and * only.
bool referenceMatch(const std::string& text, const std::string& pattern) {
    if (pattern.empty())
        return text.empty();
    if (pattern[0] == '*')
        return referenceMatch(text, pattern.substr(1)) ||
               (!text.empty() && referenceMatch(text.substr(1), pattern));
    return !text.empty() && (pattern[0] == '?' || pattern[0] == text[0]) &&
           referenceMatch(text.substr(1), pattern.substr(1));
}

TEST(Wildcard, AgreesWithAPlainMatcherOnRandomStarPatterns) {
    std::srand(7);
    const char alphabet[] = "ab";
    const char patternAlphabet[] = "ab?*";
    for (int round = 0; round < 3000; ++round) {
        std::string text, pattern;
        for (int i = std::rand() % 8; i > 0; --i)
            text += alphabet[std::rand() % 2];
        for (int i = std::rand() % 6; i > 0; --i)
            pattern += patternAlphabet[std::rand() % 4];
        ASSERT_EQ(wildcardMatch(text, pattern, LetterCase::Sensitive),
                  referenceMatch(text, pattern))
            << "text \"" << text << "\" pattern \"" << pattern << "\"";
    }
}

} // namespace
