#include <gtest/gtest.h>

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include "shell/FormSettings.h"
#include "shell/IniFile.h"
#include "shell/TextFileCodec.h"

namespace kalvex {
namespace {

IniFile parse(const QByteArray& bytes, const QTemporaryDir& dir) {
    const QString path = dir.filePath("k.ini");
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    return IniFile::load(path);
}

TEST(SettingsFileTest, MissingFileGivesTheDefaults) {
    const FormSettings s = readFormSettings(IniFile::load("/nonexistent/k.ini"));
    EXPECT_FALSE(s.Left.has_value());
    EXPECT_FALSE(s.Top.has_value());
    EXPECT_TRUE(s.Sort && s.Cursor && s.UpperCase && s.Enter && s.AttEnter && s.AttEnterDown);
    EXPECT_FALSE(s.Sentou || s.ZoomCenter || s.ZoomCenter2);
    EXPECT_EQ(s.AttTagIndex1, 0);
    EXPECT_EQ(s.AttTagIndex2, 0);
}

TEST(SettingsFileTest, WrittenFileListsTheKeysInOrderAndReadsBack) {
    FormSettings s;
    s.Left = -40;
    s.Top = 3000;
    s.Sort = false;
    s.AttTag = "NAME:機器名";
    s.AttTagIndex2 = -1;
    s.ZoomCenter2 = true;
    IniFile file;
    writeFormSettings(file, s, "nanoCAD.Application.5.0");
    EXPECT_EQ(file.text(), "[OrvikEdit]\r\nLeft=-40\r\nTop=3000\r\nSort=0\r\nAttTag=NAME:機器名\r\n"
                           "AttTagIndex2=-1\r\nCursor=1\r\nAttTagIndex1=0\r\nSentou=0\r\n"
                           "UpperCase=1\r\nEnter=1\r\nZoomCenter=0\r\nAttEnter=1\r\n"
                           "AttEnterDown=1\r\nZoomCenter2=1\r\n"
                           "[Target]\r\nProgID=nanoCAD.Application.5.0\r\n");
    const FormSettings back = readFormSettings(file);
    EXPECT_EQ(back.Left, -40);
    EXPECT_EQ(back.Top, 3000);
    EXPECT_FALSE(back.Sort);
    EXPECT_EQ(back.AttTagIndex2, -1);
    EXPECT_TRUE(back.ZoomCenter2);
}

TEST(SettingsFileTest, ValuesThatAreNoIntegersTakeTheDefaultAndAnyNonZeroIsTrue) {
    QTemporaryDir dir;
    const IniFile file = parse("[orvikedit]\nSort=yes\nSENTOU = 7\nAttTagIndex1=2x\nTop=12\n", dir);
    const FormSettings s = readFormSettings(file);
    EXPECT_TRUE(s.Sort);
    EXPECT_TRUE(s.Sentou);
    EXPECT_EQ(s.AttTagIndex1, 0);
    EXPECT_EQ(s.Top, 12);
    EXPECT_FALSE(s.Left.has_value());
}

TEST(SettingsFileTest, SavingKeepsOtherSectionsKeysAndComments) {
    QTemporaryDir dir;
    IniFile file = parse("; mine\r\n[Other]\r\nx=1\r\n\r\n[OrvikEdit]\r\nExtra=keep\r\n"
                         "Sort=1\r\n\r\n[Tail]\r\ny=2\r\n",
                         dir);
    file.setValue("OrvikEdit", "Sort", "0");
    file.setValue("OrvikEdit", "Left", "5");
    file.setValue("Target", "ProgID", "p");
    EXPECT_EQ(file.text(), "; mine\r\n[Other]\r\nx=1\r\n\r\n[OrvikEdit]\r\nExtra=keep\r\nSort=0\r\n"
                           "Left=5\r\n\r\n[Tail]\r\ny=2\r\n[Target]\r\nProgID=p\r\n");
}

TEST(SettingsFileTest, EncodingsAreTakenFromTheMarkOrTheBytes) {
    const QString text = QStringLiteral("機器,NAME\r\n線番");
    struct Case {
        QByteArray bytes;
        TextEncoding encoding;
    };
    const Case cases[] = {
        {encodeText(text, TextEncoding::Utf8), TextEncoding::Utf8},
        {encodeText(text, TextEncoding::Utf8Bom), TextEncoding::Utf8Bom},
        {encodeText(text, TextEncoding::Utf16LE), TextEncoding::Utf16LE},
        {encodeText(text, TextEncoding::Utf16BE), TextEncoding::Utf16BE},
        {QByteArray("\x8b\x40\x8a\xed,NAME\r\n\x90\xfc\x94\xd4"), TextEncoding::Cp932},
    };
    for (const Case& c : cases) {
        const DecodedText decoded = decodeText(c.bytes);
        EXPECT_EQ(decoded.text, text);
        EXPECT_EQ(decoded.encoding, c.encoding);
        EXPECT_EQ(encodeText(decoded.text, decoded.encoding), c.bytes);
    }
    EXPECT_EQ(splitLines("a\r\nb\nc\rd\r\n"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\nb"), (QStringList{"a", "", "b"}));
}

// Without a mark, bytes that read as UTF-8 and as CP932 alike are taken the way a Japanese
// user meant them: UTF-8 when that reading holds Japanese characters, CP932 otherwise.
TEST(SettingsFileTest, BytesValidInBothEncodingsAreReadAsTheJapaneseTextTheyHold) {
    struct Case {
        QByteArray bytes;
        QString text;
        TextEncoding encoding;
    };
    const Case cases[] = {
        {QByteArray("NAME:\xC4\xB3\r\n"), QStringLiteral("NAME:ﾄｳ\r\n"), TextEncoding::Cp932},
        {QByteArray("\xE7\xB7\x9A\xE7\x95\xAA"), QStringLiteral("線番"), TextEncoding::Utf8},
        {QByteArray("Gru\xC3\x9F\r\n"), QStringLiteral("Gruß\r\n"), TextEncoding::Utf8},
        {QByteArray("NAME,SPEC\r\n"), QStringLiteral("NAME,SPEC\r\n"), TextEncoding::Utf8},
    };
    for (const Case& c : cases) {
        const DecodedText decoded = decodeText(c.bytes);
        EXPECT_EQ(decoded.text, c.text) << c.bytes.toHex().toStdString();
        EXPECT_EQ(decoded.encoding, c.encoding) << c.bytes.toHex().toStdString();
        EXPECT_EQ(encodeText(decoded.text, decoded.encoding), c.bytes);
    }
    QStringDecoder cp932("windows-31j");
    const QString kanjiAsCp932 = cp932(QByteArray("\xE7\xB7\x9A\xE7\x95\xAA"));
    EXPECT_EQ(kanjiAsCp932.size(), 3) << "the UTF-8 kanji read as CP932 too";
    EXPECT_FALSE(cp932.hasError());
}

} // namespace
} // namespace kalvex
