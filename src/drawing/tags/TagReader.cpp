#include "drawing/tags/TagReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "drawing/tags/DxfError.h"
#include "drawing/tags/FileFormat.h"
#include "drawing/tags/GroupCodeTypes.h"

namespace kalvex::dxf {

namespace {

struct Line {
    std::uint32_t begin = 0;
    std::uint32_t contentEnd = 0; // before CR LF or LF
    std::uint32_t end = 0;        // past the line end
};

class Tokenizer {
public:
    Tokenizer(const std::string& bytes, const std::string& fileName)
        : m_bytes(bytes), m_fileName(fileName) {}

    bool atEnd() const { return m_pos >= m_bytes.size(); }
    std::uint32_t position() const { return static_cast<std::uint32_t>(m_pos); }

    Tag next() {
        const Line codeLine = readLine();
        if (atEnd())
            fail(codeLine.begin, "the file ends after a group code without its value (odd "
                                 "number of lines)");
        const Line valueLine = readLine();
        std::int16_t code = 0;
        const std::string_view codeText = text(codeLine);
        if (!plainGroupCode(codeText, code) &&
            (codeLine.end - codeLine.begin > 255 || !parseGroupCode(codeText, code)))
            fail(codeLine.begin, "the group code" + quoted(codeText) + " is not a number");
        checkValue(code, valueLine);
        return Tag::of(codeLine.begin, code, codeLine.end - codeLine.begin,
                       valueLine.contentEnd - valueLine.begin, valueLine.end - valueLine.contentEnd,
                       Tag::Store::File);
    }

    [[noreturn]] void fail(std::uint32_t offset, const std::string& message) const {
        throw DxfError::at(m_fileName, lineOfOffset(m_bytes, offset), message);
    }

private:
    // Nearly every code line is up to three digits after padding blanks ("  0", " 10", "100"):
    // those are read here, anything else by parseGroupCode().
    static bool plainGroupCode(std::string_view line, std::int16_t& code) {
        std::size_t i = 0;
        while (i < line.size() && line[i] == ' ')
            ++i;
        if (i == line.size() || line.size() - i > 4)
            return false;
        int number = 0;
        for (; i < line.size(); ++i) {
            if (line[i] < '0' || line[i] > '9')
                return false;
            number = number * 10 + (line[i] - '0');
        }
        code = static_cast<std::int16_t>(number);
        return true;
    }

    // The line feed ending the line at `from`, eight bytes at a time: most lines are a few
    // bytes long, too short to repay a call to memchr.
    const char* lineFeed(std::size_t from) const {
        // The first zero byte of `word ^ '\n'...` is found exactly by its lowest set bit; the
        // bytes above it may show false ones, which on a big-endian machine come first.
        static_assert(std::endian::native == std::endian::little);
        constexpr std::uint64_t kOnes = 0x0101010101010101ull;
        constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
        const char* p = m_bytes.data() + from;
        const char* end = m_bytes.data() + m_bytes.size();
        for (; end - p >= 8; p += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, sizeof word);
            word ^= kOnes * '\n';
            const std::uint64_t zeroBytes = (word - kOnes) & ~word & kHighBits;
            if (zeroBytes != 0)
                return p + std::countr_zero(zeroBytes) / 8;
        }
        for (; p != end; ++p)
            if (*p == '\n')
                return p;
        return nullptr;
    }

    Line readLine() {
        Line line;
        line.begin = static_cast<std::uint32_t>(m_pos);
        const void* found = lineFeed(m_pos);
        const std::size_t lf =
            found ? static_cast<std::size_t>(static_cast<const char*>(found) - m_bytes.data())
                  : m_bytes.size();
        std::size_t contentEnd = lf;
        if (found && lf > m_pos && m_bytes[lf - 1] == '\r')
            --contentEnd;
        m_pos = found ? lf + 1 : lf;
        line.contentEnd = static_cast<std::uint32_t>(contentEnd);
        line.end = static_cast<std::uint32_t>(m_pos);
        return line;
    }

    std::string_view text(const Line& line) const {
        return std::string_view(m_bytes).substr(line.begin, line.contentEnd - line.begin);
    }

    void checkValue(std::int16_t code, const Line& valueLine) const {
        // The type of every code up to the extended data's, looked up once: most values are
        // text, which needs no check.
        static const auto kTypes = [] {
            std::array<ValueType, 1072> types{};
            for (std::size_t i = 0; i < types.size(); ++i)
                types[i] = valueTypeOf(static_cast<std::int16_t>(i));
            return types;
        }();
        if (code >= 0 && code < static_cast<int>(kTypes.size()) && kTypes[code] == ValueType::Text)
            return;
        const std::string_view value = text(valueLine);
        switch (valueFault(code, value)) {
        case ValueFault::None:
            return;
        case ValueFault::NotANumber:
            fail(valueLine.begin,
                 "the value" + quoted(value) + " does not fit group code " + std::to_string(code));
        case ValueFault::NotFinite:
            fail(valueLine.begin, "the value" + quoted(value) + " of group code " +
                                      std::to_string(code) + " is not a finite number");
        }
    }

    // The text in quotes after a blank, shortened; nothing for bytes that are no printable
    // ASCII, which would only garble the terminal or the message box.
    static std::string quoted(std::string_view text) {
        const bool printable =
            std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
        if (!printable)
            return {};
        return " \"" + std::string(text.substr(0, 40)) + (text.size() > 40 ? "...\"" : "\"");
    }

    const std::string& m_bytes;
    const std::string& m_fileName;
    std::size_t m_pos = 0;
};

std::string detectLineEnd(const std::string& bytes) {
    const std::size_t lf = bytes.find('\n');
    return lf != std::string::npos && lf > 0 && bytes[lf - 1] == '\r' ? "\r\n" : "\n";
}

} // namespace

std::size_t lineOfOffset(std::string_view bytes, std::size_t offset) {
    offset = std::min(offset, bytes.size());
    return 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.begin() + offset, '\n'));
}

TagFile readTags(std::string bytes, const std::string& fileName) {
    refuseOtherFormats(bytes, fileName);
    TagFile file;
    const std::string lineEnd = detectLineEnd(bytes);
    file.pool = TagPool(std::move(bytes));
    file.pool.setDefaultLineEnd(lineEnd);
    const std::string& data = file.pool.fileBytes();
    Tokenizer tokenizer(data, fileName);
    // Each record is collected in a scratch list and then copied once at its exact size.
    TagList record;
    auto closeRecord = [&] {
        if (!record.empty())
            file.records.emplace_back(record.begin(), record.end());
        record.clear();
    };
    while (!tokenizer.atEnd()) {
        const Tag tag = tokenizer.next();
        if (tag.code == 0)
            closeRecord();
        record.push_back(tag);
        if (tag.code == 0 && trimSpaces(file.pool.value(tag)) == "EOF") {
            file.endsWithEof = true;
            break;
        }
    }
    closeRecord();
    file.trailingBegin = tokenizer.position();
    if (file.records.empty())
        throw DxfError(fileName + ":1: the file holds no DXF data");
    return file;
}

} // namespace kalvex::dxf
