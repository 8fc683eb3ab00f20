#include <random>
#include <string>
#include <vector>

#include <QStringDecoder>
#include <gtest/gtest.h>

#include "drawing/tags/CodePage.h"

using kalvex::CodePage;

namespace {

struct Case {
    const char* codePage;
    std::string bytes;
    std::string text;
};

std::string utf8Of(char32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

const std::string kReplacement = "\xEF\xBF\xBD";
const std::string kNihon = "\xE6\x97\xA5\xE6\x9C\xAC"; // 日本
const std::string kCafe = "caf\xC3\xA9";               // café

std::string describe(const std::string& s) {
    std::string out;
    for (const unsigned char c : s) {
        char hex[8];
        std::snprintf(hex, sizeof hex, c >= 0x20 && c < 0x7F ? "%c" : "<%02X>", c);
        out += hex;
    }
    return out;
}

} // namespace

TEST(CodePage, DrawingVersionAndNameChooseTheEncoding) {
    struct Row {
        const char* acadVersion;
        const char* dwgCodePage;
        const char* name;
        bool known;
    };
    const Row rows[] = {
        {"AC1021", "ANSI_932", "UTF-8", true},       {"AC1032", "", "UTF-8", true},
        {" AC1024 ", "ANSI_1252", "UTF-8", true},    {"AC1018", "ANSI_932", "ANSI_932", true},
        {"AC1015", "", "ANSI_1252", true},           {"AC1009", "ansi_932", "ANSI_932", true},
        {"AC1012", "DOS850", "dos850", true},        {"AC1015", " ANSI_1251\r", "ANSI_1251", true},
        {"AC1015", "ANSI_9999", "ANSI_1252", false}, {"", "", "ANSI_1252", true},
        {"AC1015", "UTF8", "UTF-8", true},           {"AC1015", "iso8859_2", "iso8859-2", true},
        {"AC102X", "ANSI_936", "ANSI_936", true},    {"AC1015", "mac-roman", "mac-roman", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.acadVersion) + " / " + row.dwgCodePage);
        const CodePage page = CodePage::forDrawing(row.acadVersion, row.dwgCodePage);
        EXPECT_EQ(page.name(), row.name);
        EXPECT_EQ(page.isKnown(), row.known);
        EXPECT_EQ(page.isUtf8(), std::string(row.name) == "UTF-8");
    }
}

TEST(CodePage, DecodesRawBytesAndEscapes) {
    const std::vector<Case> cases = {
        {"ANSI_1252", "plain text", "plain text"},
        {"ANSI_1252", "caf\xE9 \x80", kCafe + " \xE2\x82\xAC"},
        {"ANSI_1252", "\\U+65E5\\U+672C", kNihon},
        {"ANSI_1252", "\\U+65e5\\U+672c", kNihon},
        {"ANSI_1252", "caf\xE9\\U+65E5", kCafe + "\xE6\x97\xA5"},
        {"ANSI_1252", "\\U+D83D\\U+DE00!", "\xF0\x9F\x98\x80!"},
        {"ANSI_1252", "\\U+D83Dx", kReplacement + "x"},
        {"ANSI_1252", "\\U+DE00\\U+D83D", kReplacement + kReplacement},
        {"ANSI_1252", "a\\U+12G4", "a\\U+12G4"},
        {"ANSI_1252", "end\\U+12", "end\\U+12"},
        {"ANSI_1252", "\\U+0000", "\\U+0000"},
        {"ANSI_1252", "C:\\data\\M+file", "C:\\data\\M+file"},
        {"ANSI_1252", "\\\\U+0041", "\\A"},
        {"ANSI_1252", "\x81x", kReplacement + "x"},
        {"ANSI_1252", "\\M+193FA\\M+1967B", kNihon},
        {"ANSI_1252", "\\M+5B0A1", "\xE5\x95\x8A"}, // GB2312 啊
        {"ANSI_1252", "\\M+100B1", "\xEF\xBD\xB1"}, // half-width katakana
        {"ANSI_1252", "\\M+10041", kReplacement},
        {"ANSI_1252", "\\M+6B0A1", "\\M+6B0A1"},
        {"ANSI_932", "\x93\xFA\x96\x7B", kNihon},
        {"ANSI_932", "\x95\x5C\\U+0041",
         "\xE8\xA1\xA8"
         "A"}, // 表: its trail byte is a backslash
        {"ANSI_932", "\xB1", "\xEF\xBD\xB1"},
        {"ANSI_932", "ab\x93", "ab" + kReplacement},
        {"ANSI_932", "\x93 x", kReplacement + " x"},
        {"ANSI_932", "\x87\x90\x81\xE0", "\xE2\x89\x92\xE2\x89\x92"}, // ≒ held twice
        {"dos850", "\x82t\x82", "\xC3\xA9t\xC3\xA9"},
        {"ANSI_1251", "\xC4\xE0", "\xD0\x94\xD0\xB0"},
        {"UTF-8", kNihon + "\\U+0041", kNihon + "A"},
        {"UTF-8", "\xC4\x85", "\xC4\x85"}, // ą holds the byte 0x85
        {"UTF-8",
         "\xFF"
         "a",
         kReplacement + "a"},
        {"UTF-8", "\xC0\xAF", kReplacement + kReplacement},
        {"UTF-8", "\xE6\x97", kReplacement + kReplacement},
        {"UTF-8", "\xED\xA0\x80", kReplacement + kReplacement + kReplacement},
        {"ANSI_1252", "a\rb\\U+000A", "a\rb\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.codePage) + ": " + describe(c.bytes));
        EXPECT_EQ(describe(CodePage::fromName(c.codePage).decode(c.bytes)), describe(c.text));
    }
}

TEST(CodePage, EncodesRawWhereThePageHoldsTheCharacterAndEscapesOtherwise) {
    const std::vector<Case> cases = {
        {"ANSI_1252", "plain", "plain"},
        {"ANSI_1252", "caf\xE9 \x80", kCafe + " \xE2\x82\xAC"},
        {"ANSI_1252", "\\U+65E5\\U+672C", kNihon},
        {"ANSI_1252", "\\U+D83D\\U+DE00", "\xF0\x9F\x98\x80"},
        {"ANSI_1252", "\\U+FFFD", "\xFF"},
        {"ANSI_1252", "a\\U+005CU+0041", "a\\U+0041"},
        {"ANSI_1252", "\\U+005CM+193FA", "\\M+193FA"},
        {"ANSI_1252", "C:\\data\\U+12", "C:\\data\\U+12"},
        {"ANSI_932", "\x93\xFA\x96\x7B", kNihon},
        {"ANSI_932", "\x95\x5C", "\xE8\xA1\xA8"},
        {"ANSI_932", "\\U+00E9", "\xC3\xA9"},
        {"ANSI_932", "\x81\xE0", "\xE2\x89\x92"},
        {"ANSI_932", "\xB1", "\xEF\xBD\xB1"},
        {"dos850", "\x82", "\xC3\xA9"},
        {"UTF-8", kNihon, kNihon},
        {"UTF-8", "\\U+005CU+0041", "\\U+0041"},
        {"UTF-8", kReplacement, "\xFF"},
        {"UTF-8", "a\\U+000Db\\U+000A", "a\rb\n"},
        {"ANSI_932", "\\U+000A\x93\xFA\\U+000D", "\n\xE6\x97\xA5\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.codePage) + ": " + describe(c.text));
        EXPECT_EQ(describe(CodePage::fromName(c.codePage).encode(c.text)), describe(c.bytes));
    }
}

// Random text from a mix of scripts must come back unchanged through every encoding.
TEST(CodePage, EncodeThenDecodeGivesTheTextBack) {
    const std::vector<std::pair<char32_t, char32_t>> ranges = {
        {0x20, 0x7E},     {0xA0, 0xFF},     {0x391, 0x3C9},   {0x410, 0x44F},    {0x3041, 0x30FF},
        {0x4E00, 0x9FFF}, {0xFF61, 0xFF9F}, {0xAC00, 0xD7A3}, {0x1F600, 0x1F64F}};
    std::mt19937 random(20261208);
    for (const char* name : {"ANSI_1252", "ANSI_932", "ANSI_936", "ANSI_949", "ANSI_950",
                             "ANSI_1251", "dos437", "UTF-8"}) {
        const CodePage page = CodePage::fromName(name);
        ASSERT_TRUE(page.isKnown()) << name;
        for (int round = 0; round < 200; ++round) {
            std::string text;
            for (int i = 0; i < 12; ++i) {
                const auto& [low, high] = ranges[random() % ranges.size()];
                const int pick = random() % 16;
                text += pick == 0   ? std::string("\\U+0041")
                        : pick == 1 ? std::string("\r\n")
                                    : utf8Of(low + random() % (high - low + 1));
            }
            ASSERT_EQ(describe(page.decode(page.encode(text))), describe(text)) << name;
        }
    }
}

// Decoding never fails: damaged bytes and cut-off escapes still give valid UTF-8.
TEST(CodePage, DecodingArbitraryBytesGivesValidUtf8) {
    const std::string alphabet = "\\\\UM+0159DaF\x81\x93\xFA\xE3\x80\xBF\xFF x";
    std::mt19937 random(8);
    for (const char* name : {"ANSI_1252", "ANSI_932", "ANSI_949", "UTF-8", "dos850"}) {
        const CodePage page = CodePage::fromName(name);
        for (int round = 0; round < 3000; ++round) {
            std::string bytes(random() % 24, ' ');
            for (char& c : bytes)
                c = alphabet[random() % alphabet.size()];
            const std::string text = page.decode(bytes);
            QStringDecoder utf8(QStringDecoder::Utf8);
            [[maybe_unused]] const QString decoded = utf8.decode(QByteArrayView(text));
            ASSERT_FALSE(utf8.hasError()) << name << ": " << describe(bytes);
        }
    }
}
