#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace kalvex {

struct CodePageTables;

// The encoding of the string values of one DXF file, converting a value between the file's bytes
// and UTF-8.
//
// Drawings of R2007 (AC1021) and later hold UTF-8 whatever $DWGCODEPAGE says; earlier ones use
// the code page $DWGCODEPAGE names ("ANSI_932", "ANSI_1252", "dos850", ..., compared without
// regard to case), ANSI_1252 when it is missing or not recognised.
//
// Decoding resolves, in every version and mixed freely with raw bytes, the escapes "\U+XXXX" (a
// UTF-16 code unit, hex digits of either case; two of them may form a surrogate pair) and
// "\M+nXXXX" (a double-byte character of code page n: 1 = ANSI_932, 2 = ANSI_950, 3 = ANSI_949,
// 4 = ANSI_1361, 5 = ANSI_936). It never fails: each byte that does not start a character the
// encoding defines, a lone surrogate and an undefined \M+ character become U+FFFD (the drawing
// keeps the original bytes of every value it does not change, so nothing is lost on saving); an
// escape with malformed digits, or "\U+0000", stays as written.
//
// Encoding writes raw bytes for every character the encoding holds and "\U+XXXX" (upper-case hex,
// a surrogate pair above U+FFFF) for every other one. A backslash that would otherwise start an
// escape is written as "\U+005C", and line breaks (CR, LF) always as escapes since a value is one
// line of the file; so decode(encode(text)) == text for any valid UTF-8 text.
//
// Objects are cheap to copy and safe to share between threads; the tables of a code page are
// built once per process, on first use.
class CodePage {
public:
    // The encoding of a drawing, from its $ACADVER and $DWGCODEPAGE values.
    static CodePage forDrawing(std::string_view acadVersion, std::string_view dwgCodePage);
    // A code page by its $DWGCODEPAGE name; "UTF-8" and "UTF8" name UTF-8.
    static CodePage fromName(std::string_view dwgCodePage);
    static CodePage utf8();

    // True for AC1021 (R2007) and later: their strings are UTF-8.
    static bool isUnicodeVersion(std::string_view acadVersion);

    std::string decode(std::string_view fileBytes) const; // to UTF-8
    std::string encode(std::string_view utf8Text) const;  // to the file's bytes
    // Whether every byte above 0x7F starts a character the encoding defines (invalid UTF-8, an
    // overlong form included, or an undefined byte of a code page is not); escapes are not judged.
    bool isValid(std::string_view fileBytes) const;

    // "UTF-8" or the $DWGCODEPAGE spelling of the code page in use ("ANSI_932", "dos850", ...).
    const std::string& name() const;
    bool isUtf8() const;
    // False when the name asked for was not recognised (or the system cannot convert it) and
    // ANSI_1252 is used.
    bool isKnown() const { return m_known; }

private:
    CodePage(std::shared_ptr<const CodePageTables> tables, bool known);

    std::shared_ptr<const CodePageTables> m_tables;
    bool m_known = true;
};

} // namespace kalvex
