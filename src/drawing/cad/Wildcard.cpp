#include "drawing/cad/Wildcard.h"

#include <QChar>
#include <string>
#include <vector>

namespace kalvex::drawing {

namespace {

std::u32string decodeUtf8(std::string_view text) {
    std::u32string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80         ? 1
                           : (lead >> 5) == 6  ? 2
                           : (lead >> 4) == 14 ? 3
                           : (lead >> 3) == 30 ? 4
                                               : 0;
        char32_t c = length == 1   ? lead
                     : length == 2 ? lead & 0x1F
                     : length == 3 ? lead & 0x0F
                                   : lead & 0x07;
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        result.push_back(valid ? c : U'\uFFFD');
        i += valid ? static_cast<std::size_t>(length) : 1;
    }
    return result;
}

char32_t fold(char32_t c) {
    return QChar::toCaseFolded(c);
}

enum class TokenKind { Literal, AnyOne, AnyRun, Digit, Letter, NonAlphanumeric, Set };

struct Range {
    char32_t low;
    char32_t high;
};

struct Token {
    TokenKind kind = TokenKind::Literal;
    char32_t literal = 0;
    bool negated = false;
    std::vector<Range> ranges;
};

// The position after the bracket that closes the set opened at `open`, or npos. A "]" right
// after "[" or "[~" is a member of the set; "`" escapes the character after it.
std::size_t setEnd(const std::u32string& pattern, std::size_t open) {
    std::size_t i = open + 1;
    if (i < pattern.size() && pattern[i] == U'~')
        ++i;
    bool first = true;
    for (; i < pattern.size(); ++i) {
        if (pattern[i] == U']' && !first)
            return i + 1;
        if (pattern[i] == U'`')
            ++i;
        first = false;
    }
    return std::u32string::npos;
}

class Alternative {
public:
    Alternative(const std::u32string& pattern, LetterCase letterCase) : m_letterCase(letterCase) {
        std::size_t i = 0;
        if (!pattern.empty() && pattern[0] == U'~') {
            m_negated = true;
            i = 1;
        }
        while (i < pattern.size())
            i = parseToken(pattern, i);
    }

    bool matches(const std::u32string& text) const { return matchAll(text) != m_negated; }

private:
    std::size_t parseToken(const std::u32string& pattern, std::size_t i) {
        Token token;
        const char32_t c = pattern[i];
        switch (c) {
        case U'*':
            token.kind = TokenKind::AnyRun;
            break;
        case U'?':
            token.kind = TokenKind::AnyOne;
            break;
        case U'#':
            token.kind = TokenKind::Digit;
            break;
        case U'@':
            token.kind = TokenKind::Letter;
            break;
        case U'.':
            token.kind = TokenKind::NonAlphanumeric;
            break;
        case U'`':
            token.literal = i + 1 < pattern.size() ? pattern[++i] : c;
            break;
        case U'[': {
            const std::size_t next = parseSet(pattern, i, token);
            if (next != i) {
                m_tokens.push_back(std::move(token));
                return next;
            }
            token.literal = c; // an unclosed bracket stands for itself
            break;
        }
        default:
            token.literal = c;
            break;
        }
        m_tokens.push_back(std::move(token));
        return i + 1;
    }

    // Reads the set opened at `open`; returns the position after it, or `open` when the
    // bracket is never closed.
    static std::size_t parseSet(const std::u32string& pattern, std::size_t open, Token& token) {
        const std::size_t end = setEnd(pattern, open);
        if (end == std::u32string::npos)
            return open;
        token.kind = TokenKind::Set;
        std::size_t i = open + 1;
        if (pattern[i] == U'~') {
            token.negated = true;
            ++i;
        }
        while (i < end - 1) {
            char32_t low = pattern[i];
            if (low == U'`')
                low = pattern[++i];
            char32_t high = low;
            if (i + 2 < end - 1 && pattern[i + 1] == U'-') {
                high = pattern[i + 2];
                i += 2;
            }
            token.ranges.push_back({low, high});
            ++i;
        }
        return end;
    }

    bool same(char32_t a, char32_t b) const {
        return a == b || (m_letterCase == LetterCase::Insensitive && fold(a) == fold(b));
    }

    bool inSet(const Token& token, char32_t c) const {
        for (const Range& range : token.ranges) {
            if (c >= range.low && c <= range.high)
                return true;
            if (m_letterCase == LetterCase::Insensitive) {
                for (char32_t variant : {QChar::toLower(c), QChar::toUpper(c)})
                    if (variant >= range.low && variant <= range.high)
                        return true;
            }
        }
        return false;
    }

    bool matchOne(const Token& token, char32_t c) const {
        switch (token.kind) {
        case TokenKind::Literal:
            return same(token.literal, c);
        case TokenKind::AnyOne:
            return true;
        case TokenKind::Digit:
            return QChar::isDigit(c);
        case TokenKind::Letter:
            return QChar::isLetter(c);
        case TokenKind::NonAlphanumeric:
            return !QChar::isLetterOrNumber(c);
        case TokenKind::Set:
            return inSet(token, c) != token.negated;
        case TokenKind::AnyRun:
            return false;
        }
        return false;
    }

    // Greedy matching with one backtrack point, the last run seen: every other token matches
    // exactly one character, so this finds a match whenever there is one.
    bool matchAll(const std::u32string& text) const {
        std::size_t t = 0, p = 0;
        std::size_t runToken = SIZE_MAX, runText = 0;
        while (t < text.size()) {
            if (p < m_tokens.size() && m_tokens[p].kind == TokenKind::AnyRun) {
                runToken = p++;
                runText = t;
            } else if (p < m_tokens.size() && matchOne(m_tokens[p], text[t])) {
                ++p;
                ++t;
            } else if (runToken != SIZE_MAX) {
                p = runToken + 1;
                t = ++runText;
            } else {
                return false;
            }
        }
        while (p < m_tokens.size() && m_tokens[p].kind == TokenKind::AnyRun)
            ++p;
        return p == m_tokens.size();
    }

    LetterCase m_letterCase;
    bool m_negated = false;
    std::vector<Token> m_tokens;
};

// Splits at commas that are neither escaped nor inside brackets.
std::vector<std::u32string> splitAlternatives(const std::u32string& pattern) {
    std::vector<std::u32string> parts(1);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        if (c == U'`' && i + 1 < pattern.size()) {
            parts.back() += pattern.substr(i, 2);
            ++i;
        } else if (c == U'[' && setEnd(pattern, i) != std::u32string::npos) {
            const std::size_t end = setEnd(pattern, i);
            parts.back() += pattern.substr(i, end - i);
            i = end - 1;
        } else if (c == U',') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

} // namespace

class WildcardPattern::Alternatives {
public:
    std::vector<Alternative> list;
};

WildcardPattern::WildcardPattern(std::string_view pattern, LetterCase letterCase)
    : m_alternatives(std::make_unique<Alternatives>()) {
    for (const std::u32string& part : splitAlternatives(decodeUtf8(pattern)))
        m_alternatives->list.emplace_back(part, letterCase);
}

WildcardPattern::~WildcardPattern() = default;
WildcardPattern::WildcardPattern(WildcardPattern&&) noexcept = default;
WildcardPattern& WildcardPattern::operator=(WildcardPattern&&) noexcept = default;

bool WildcardPattern::matches(std::string_view text) const {
    const std::u32string decodedText = decodeUtf8(text);
    for (const Alternative& alternative : m_alternatives->list)
        if (alternative.matches(decodedText))
            return true;
    return false;
}

bool wildcardMatch(std::string_view text, std::string_view pattern, LetterCase letterCase) {
    return WildcardPattern(pattern, letterCase).matches(text);
}

} // namespace kalvex::drawing
