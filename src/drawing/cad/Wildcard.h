#pragma once

#include <memory>
#include <string_view>
#include <vector>

namespace kalvex::drawing {

enum class LetterCase { Sensitive, Insensitive };

// The CAD's wildcard matching of a UTF-8 text against a pattern:
//   *  any run of characters, also none     ?  any one character
//   #  a digit    @  a letter    .  a character that is neither a letter nor a digit
//   [abc] [a-z]  one of the characters      [~abc]  any one character but those
//   `x  the character x itself              ,  separates alternatives
//   ~  at the start of an alternative: anything the rest does not match
// The text matches when one alternative matches the whole of it.
bool wildcardMatch(std::string_view text, std::string_view pattern, LetterCase letterCase);

// A pattern read once and matched against many texts.
class WildcardPattern {
public:
    WildcardPattern(std::string_view pattern, LetterCase letterCase);
    ~WildcardPattern();
    WildcardPattern(WildcardPattern&&) noexcept;
    WildcardPattern& operator=(WildcardPattern&&) noexcept;
    bool matches(std::string_view text) const;

private:
    class Alternatives;
    std::unique_ptr<Alternatives> m_alternatives;
};

} // namespace kalvex::drawing
