#pragma once

#include <string_view>

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

} // namespace kalvex::drawing
