#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace kalvex::drawing {

// Turns the bytes of a drawing's text values into UTF-8 and back, as the drawing's version
// and code page want them.
class TextCodec {
public:
    virtual ~TextCodec() = default;
    virtual std::string decode(std::string_view fileBytes) const = 0;
    virtual std::string encode(std::string_view utf8) const = 0;
    // False when the bytes hold what the encoding does not define (decoded as U+FFFD).
    virtual bool isValid(std::string_view fileBytes) const = 0;
    // False when the drawing names a code page that is not known (a stand-in is used).
    virtual bool isKnown() const = 0;
};

// The codec for a drawing with these header values (empty when the header lacks them).
std::unique_ptr<TextCodec> makeTextCodec(std::string_view acadVersion, std::string_view codePage);

} // namespace kalvex::drawing
