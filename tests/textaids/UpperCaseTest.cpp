#include <gtest/gtest.h>

#include <QChar>
#include <QString>

#include "textaids/NumberHelpers.h"
#include "textaids/ReplaceText.h"
#include "textaids/UpperCase.h"

namespace kalvex {
namespace {

bool isSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Case-insensitive replace matched on QChar::toUpper before the text aids left Qt. The built-in
// table must give the same upper case for every unit of the plane; the message lists those
// that differ.
TEST(UpperCase, AgreesWithQtForEveryUnitOfThePlane) {
    QString differing;
    int count = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (isSurrogate(c))
            continue;
        const char16_t unit = char16_t(c);
        const char16_t ours = upperCaseUnit(unit);
        const char16_t qt = QChar(unit).toUpper().unicode();
        if (ours != qt) {
            ++count;
            differing += QStringLiteral("U+%1: %2, Qt %3\n")
                             .arg(int(c), 4, 16, QLatin1Char('0'))
                             .arg(int(ours), 4, 16, QLatin1Char('0'))
                             .arg(int(qt), 4, 16, QLatin1Char('0'));
        }
    }
    EXPECT_EQ(count, 0) << differing.toStdString();
}

TEST(UpperCase, KeepsLengthAndLeavesCaselessUnits) {
    EXPECT_EQ(upperCaseUnit(u'a'), u'A');
    EXPECT_EQ(upperCaseUnit(u'ｚ'), u'Ｚ');
    EXPECT_EQ(upperCaseUnit(u'ß'), u'ß');
    EXPECT_EQ(upperCaseUnit(u'ÿ'), u'Ÿ');
    EXPECT_EQ(upperCaseUnit(u'ā'), u'Ā');
    EXPECT_EQ(upperCaseUnit(u'Ā'), u'Ā');
    EXPECT_EQ(upperCaseUnit(u'ア'), u'ア');
    EXPECT_EQ(upperCaseUnit(char16_t(0xD801)), char16_t(0xD801));
    EXPECT_EQ(ReplaceText(u"Ωμέγα ωΜΈΓΑ ßΣ", u"ΩΜΈΓΑ", u"-", CaseMatch::IgnoreCase), u"- - ßΣ");
    EXPECT_EQ(ReplaceText(u"straße", u"SS", u"-", CaseMatch::IgnoreCase), u"straße");
}

// Typed numbers are trimmed of white space as QString::trimmed did.
TEST(WhiteSpace, AgreesWithQtForEveryUnitOfThePlane) {
    QString differing;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (isSurrogate(c))
            continue;
        const char16_t unit = char16_t(c);
        if (isWhiteSpace(unit) != QChar(unit).isSpace())
            differing += QStringLiteral("U+%1 ").arg(int(c), 4, 16, QLatin1Char('0'));
    }
    EXPECT_TRUE(differing.isEmpty()) << differing.toStdString();
    EXPECT_EQ(trimWhiteSpace(u"\u3000 12\t\u00A0"), u"12");
    EXPECT_EQ(trimWhiteSpace(u" \u2028 "), u"");
    EXPECT_EQ(trimWhiteSpace(u"1 2"), u"1 2");
}

} // namespace
} // namespace kalvex
