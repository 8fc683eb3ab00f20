#include "drawing/tags/TagReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <exception>
#include <optional>
#include <thread>

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
    Tokenizer(const std::string& bytes, const std::string& fileName, std::size_t from = 0)
        : m_bytes(bytes), m_fileName(fileName), m_pos(from) {}

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
        m_lastValue = text(valueLine);
        return Tag::of(codeLine.begin, code, codeLine.end - codeLine.begin,
                       valueLine.contentEnd - valueLine.begin, valueLine.end - valueLine.contentEnd,
                       Tag::Store::File);
    }

    // The value of the pair next() returned last.
    std::string_view lastValue() const { return m_lastValue; }

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
    std::string_view m_lastValue;
};

std::string detectLineEnd(const std::string& bytes) {
    const std::size_t lf = bytes.find('\n');
    return lf != std::string::npos && lf > 0 && bytes[lf - 1] == '\r' ? "\r\n" : "\n";
}

// About one pair for every eight bytes of a file, as drawings are written: room for the pairs
// of a stretch of the file. A guess too small costs another block, one too large only address
// space, since a block's pages are touched as pairs are written there.
std::size_t pairsRoomFor(std::size_t bytes) {
    return bytes / 8 + 64;
}

// Pairs grouped into records as they are read, each record's pairs in one piece of a block.
class RecordCollector {
public:
    explicit RecordCollector(TagBlocks& blocks) : m_blocks(blocks) {}

    void add(const Tag& tag, std::size_t bytesLeft) {
        if (m_used == m_capacity)
            startBlock(bytesLeft);
        m_block[m_used++] = tag;
    }
    // The pairs added since the last call make a record.
    void closeRecord() {
        if (m_used > m_recordBegin)
            m_records.push_back(TagList::inBlock(m_block + m_recordBegin, m_used - m_recordBegin));
        m_recordBegin = m_used;
    }
    std::vector<TagList>& records() { return m_records; }

private:
    // A new block for the rest of the file; the record being read moves along, so that it
    // stays in one piece.
    void startBlock(std::size_t bytesLeft) {
        const std::size_t open = m_used - m_recordBegin;
        const std::size_t capacity = std::max<std::size_t>(pairsRoomFor(bytesLeft), 2 * open + 64);
        Tag* block = m_blocks.add(capacity);
        if (open > 0)
            std::memcpy(block, m_block + m_recordBegin, open * sizeof(Tag));
        m_block = block;
        m_capacity = capacity;
        m_used = open;
        m_recordBegin = 0;
    }

    TagBlocks& m_blocks;
    Tag* m_block = nullptr;
    std::size_t m_capacity = 0;
    std::size_t m_used = 0;
    std::size_t m_recordBegin = 0;
    std::vector<TagList> m_records;
};

// Reads pairs until the tokenizer reaches `stop` or the end, or EOF has been read: true for
// EOF. The record being read at `stop` stays open. Blocks are sized for the pairs up to `stop`.
bool readPairs(Tokenizer& tokenizer, const std::string& data, RecordCollector& records,
               std::size_t stop) {
    while (tokenizer.position() < stop && !tokenizer.atEnd()) {
        const Tag tag = tokenizer.next();
        if (tag.code == 0)
            records.closeRecord();
        records.add(tag, std::min(stop, data.size()) - tag.begin);
        if (tag.code == 0 && trimSpaces(tokenizer.lastValue()) == "EOF")
            return true;
    }
    return false;
}

// Where a second reader may start, looking from `from` on: a record's code line ("0" after any
// padding) told by the line after it, which starts with a letter as no code line does. In a
// damaged file a value line could look the same, so the first reader checks that it arrives
// there on a code line.
std::size_t guessRecordStart(const std::string& data, std::size_t from) {
    constexpr std::size_t kSearched = std::size_t{1} << 20;
    const std::size_t limit = std::min(data.size(), from + kSearched);
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    for (std::size_t lf = data.find('\n', from); lf != std::string::npos && lf < limit;
         lf = data.find('\n', lf + 1)) {
        std::size_t i = lf + 1;
        while (i < data.size() && data[i] == ' ')
            ++i;
        if (i >= data.size() || data[i] != '0')
            continue;
        std::size_t end = i + 1;
        if (end < data.size() && data[end] == '\r')
            ++end;
        if (end + 1 < data.size() && data[end] == '\n' && isLetter(data[end + 1]))
            return lf + 1;
    }
    return std::string::npos;
}

// The records from `split` to the end, read by a thread of their own while the first half is
// read; an error is kept for the first reader to judge.
struct SecondHalf {
    SecondHalf(const std::string& data, const std::string& fileName, std::size_t split)
        : records(blocks), thread([this, &data, &fileName, split] { run(data, fileName, split); }) {
    }

    void run(const std::string& data, const std::string& fileName, std::size_t split) {
        try {
            Tokenizer tokenizer(data, fileName, split);
            endsWithEof = readPairs(tokenizer, data, records, data.size());
            records.closeRecord();
            end = tokenizer.position();
        } catch (...) {
            error = std::current_exception();
        }
    }

    // Waits for the thread however the first half ends.
    struct Joiner {
        explicit Joiner(SecondHalf& half) : m_half(half) {}
        ~Joiner() { m_half.thread.join(); }
        Joiner(const Joiner&) = delete;
        Joiner& operator=(const Joiner&) = delete;
        SecondHalf& m_half;
    };

    TagBlocks blocks;
    RecordCollector records;
    bool endsWithEof = false;
    std::uint32_t end = 0;
    std::exception_ptr error;
    std::thread thread; // last: it starts once everything it uses is there
};

} // namespace

std::size_t lineOfOffset(std::string_view bytes, std::size_t offset) {
    offset = std::min(offset, bytes.size());
    return 1 + static_cast<std::size_t>(std::count(bytes.begin(), bytes.begin() + offset, '\n'));
}

TagFile readTags(std::string bytes, const std::string& fileName) {
    return readTags(std::move(bytes), fileName, kTwoHalvesFrom);
}

TagFile readTags(std::string bytes, const std::string& fileName, std::size_t twoHalvesFrom) {
    refuseOtherFormats(bytes, fileName);
    TagFile file;
    const std::string lineEnd = detectLineEnd(bytes);
    file.pool = TagPool(std::move(bytes));
    file.pool.setDefaultLineEnd(lineEnd);
    const std::string& data = file.pool.fileBytes();
    Tokenizer tokenizer(data, fileName);
    RecordCollector records(file.pool.blocks());
    const std::size_t split =
        data.size() >= twoHalvesFrom && std::thread::hardware_concurrency() > 1
            ? guessRecordStart(data, data.size() / 2)
            : std::string::npos;
    std::optional<SecondHalf> second;
    if (split != std::string::npos) {
        second.emplace(data, fileName, split);
        const SecondHalf::Joiner joiner(*second);
        file.endsWithEof = readPairs(tokenizer, data, records, split);
    }
    // The second half holds what a reading on from `split` would have found only if the first
    // arrives there on a code line; otherwise it goes to waste and reading simply goes on.
    if (second && !file.endsWithEof && tokenizer.position() == split) {
        if (second->error)
            std::rethrow_exception(second->error);
        records.closeRecord();
        file.records = std::move(records.records());
        file.records.reserve(file.records.size() + second->records.records().size());
        for (TagList& record : second->records.records())
            file.records.push_back(std::move(record));
        file.pool.blocks().takeFrom(second->blocks);
        file.endsWithEof = second->endsWithEof;
        file.trailingBegin = second->end;
        return file;
    }
    if (!file.endsWithEof)
        file.endsWithEof = readPairs(tokenizer, data, records, data.size());
    records.closeRecord();
    file.records = std::move(records.records());
    file.trailingBegin = tokenizer.position();
    if (file.records.empty())
        throw DxfError(fileName + ":1: the file holds no DXF data");
    return file;
}

} // namespace kalvex::dxf
