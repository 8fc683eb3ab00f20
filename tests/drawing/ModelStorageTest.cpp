#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>

#include "drawing/model/HandleIndex.h"
#include "drawing/tags/DxfError.h"
#include "drawing/tags/TagReader.h"

namespace kalvex::dxf {
namespace {

struct Pair {
    std::string codeLine; // with its line end
    std::string value;
    std::string lineEnd;
};

std::string randomValue(std::mt19937& random) {
    const std::size_t length =
        random() % 4 == 0 ? 200 + random() % 400 : random() % 40; // some longer than 255 bytes
    std::string value;
    for (std::size_t i = 0; i < length; ++i)
        value += static_cast<char>(random() % 3 == 0 ? ' ' : 'A' + random() % 26);
    // A CR inside a value is no line end; one just before the line feed would be.
    if (random() % 5 == 0 && value.size() > 1)
        value[random() % (value.size() - 1)] = '\r';
    return value;
}

// Pairs of every length of code line and value, read back from a file: each gives back its
// code line, value and line end exactly, and the file as it was.
TEST(TagStorageTest, PairsOfAnyLengthGiveBackTheirBytes) {
    std::mt19937 random(9);
    for (int round = 0; round < 20; ++round) {
        std::vector<Pair> pairs;
        std::string file;
        for (int i = 0; i < 200; ++i) {
            const std::string lineEnd = random() % 2 ? "\n" : "\r\n";
            const std::string padding(random() % 3 == 0 ? 30 + random() % 60 : random() % 3, ' ');
            const int code = i == 0 ? 0 : 1 + static_cast<int>(random() % 9);
            Pair pair{padding + std::to_string(code) + lineEnd, randomValue(random), lineEnd};
            if (i == 199 && round % 2 == 0)
                pair.lineEnd.clear(); // the last line may end without a line end
            file += pair.codeLine + pair.value + pair.lineEnd;
            pairs.push_back(pair);
        }
        TagFile read = readTags(file, "pairs.dxf");
        std::string written;
        std::size_t k = 0;
        for (const TagList& record : read.records) {
            for (const Tag& tag : record) {
                ASSERT_EQ(read.pool.codeLine(tag), pairs[k].codeLine) << k;
                ASSERT_EQ(read.pool.value(tag), pairs[k].value) << k;
                ASSERT_EQ(read.pool.lineEnd(tag), pairs[k].lineEnd) << k;
                written += read.pool.bytes(tag);
                ++k;
            }
        }
        EXPECT_EQ(k, pairs.size());
        EXPECT_EQ(written, file);
    }
}

// Values written since the file was read, long ones and ones holding line breaks included,
// read back as they were given.
TEST(TagStorageTest, WrittenValuesOfAnyLengthReadBackAsGiven) {
    TagFile read = readTags("  0\r\nTEXT\r\n" + std::string(40, ' ') + "1\r\nold\r\n", "t.dxf");
    TagPool& pool = read.pool;
    const Tag padded = read.records[0][1];
    for (const std::string& value :
         {std::string(), std::string("short"), std::string(254, 'x'), std::string(255, 'y'),
          std::string(3000, 'z'), std::string("two\nlines") + std::string(300, 'w')}) {
        const Tag changed = pool.withValue(padded, value);
        EXPECT_EQ(pool.value(changed), value);
        EXPECT_EQ(pool.codeLine(changed), std::string(40, ' ') + "1\r\n");
        EXPECT_EQ(pool.lineEnd(changed), "\r\n");
        const Tag made = pool.make(1000, value);
        EXPECT_EQ(pool.value(made), value);
        EXPECT_EQ(pool.bytes(made), "1000\r\n" + value + "\r\n");
    }
    EXPECT_EQ(sizeof(Tag), 8u);
}

// A copy of a record's pairs has storage of its own, and a record's list grows, shrinks and is
// changed without touching the records beside it in the block they were read into.
TEST(TagStorageTest, RecordListsChangeWithoutTouchingTheirNeighbours) {
    TagFile read = readTags("  0\nA\n  1\na\n  0\nB\n  1\nb\n  2\nbb\n  0\nC\n  1\nc\n", "t.dxf");
    ASSERT_EQ(read.records.size(), 3u);
    const auto valuesOf = [&](const TagList& list) {
        std::string values;
        for (const Tag& tag : list)
            values += std::string(read.pool.value(tag)) + ";";
        return values;
    };
    TagList copy = read.records[1];
    copy[1] = read.pool.make(1, "changed");
    EXPECT_EQ(valuesOf(read.records[1]), "B;b;bb;");
    TagList& middle = read.records[1];
    middle.erase(middle.begin() + 1);
    EXPECT_EQ(valuesOf(middle), "B;bb;");
    middle.insert(middle.begin() + 1, read.pool.make(3, "new"));
    middle.push_back(read.pool.make(4, "more"));
    middle.push_back(middle.front()); // a pair of the list itself, while the list moves
    EXPECT_EQ(valuesOf(middle), "B;new;bb;more;B;");
    EXPECT_EQ(valuesOf(read.records[0]), "A;a;");
    EXPECT_EQ(valuesOf(read.records[2]), "C;c;");
    EXPECT_EQ(valuesOf(copy), "B;changed;bb;");
}

// What a reading in two halves made of a file, held against a reading in one go: the same
// records of the same pairs, the same end, or the same error.
void expectSameAsInOneGo(const std::string& file) {
    std::string oneGoError;
    std::string halvesError;
    std::optional<TagFile> oneGo;
    std::optional<TagFile> halves;
    try {
        oneGo = readTags(file, "f.dxf", SIZE_MAX);
    } catch (const DxfError& error) {
        oneGoError = error.what();
    }
    try {
        halves = readTags(file, "f.dxf", 0);
    } catch (const DxfError& error) {
        halvesError = error.what();
    }
    ASSERT_EQ(halvesError, oneGoError);
    if (!oneGo)
        return;
    ASSERT_EQ(halves->records.size(), oneGo->records.size());
    for (std::size_t r = 0; r < oneGo->records.size(); ++r) {
        ASSERT_EQ(halves->records[r].size(), oneGo->records[r].size()) << r;
        for (std::size_t i = 0; i < oneGo->records[r].size(); ++i)
            ASSERT_EQ(halves->records[r][i], oneGo->records[r][i]) << r << " " << i;
    }
    EXPECT_EQ(halves->trailingBegin, oneGo->trailingBegin);
    EXPECT_EQ(halves->endsWithEof, oneGo->endsWithEof);
}

// TEXT records numbered from `first` to before `last`.
std::string texts(int first, int last, const std::string& lineEnd) {
    std::string file;
    for (int i = first; i < last; ++i)
        file += "  0" + lineEnd + "TEXT" + lineEnd + "  5" + lineEnd + std::to_string(100 + i) +
                lineEnd + "  1" + lineEnd + "T" + std::to_string(i) + lineEnd + " 40" + lineEnd +
                "2.5" + lineEnd;
    return file;
}

std::string recordsFile(const std::string& records, const std::string& lineEnd) {
    return "  0" + lineEnd + "SECTION" + lineEnd + "  2" + lineEnd + "ENTITIES" + lineEnd +
           records + "  0" + lineEnd + "ENDSEC" + lineEnd + "  0" + lineEnd + "EOF" + lineEnd;
}

TEST(TagStorageTest, ReadingInTwoHalvesFindsWhatReadingInOneGoFinds) {
    for (const std::string lineEnd : {"\n", "\r\n"}) {
        const std::string file = recordsFile(texts(100, 300, lineEnd), lineEnd);
        SCOPED_TRACE(lineEnd.size());
        expectSameAsInOneGo(file);
        expectSameAsInOneGo(file + "after EOF" + lineEnd);
        expectSameAsInOneGo(file.substr(0, file.size() - 5)); // cut off: no EOF
        // EOF in the first half, anything after it.
        expectSameAsInOneGo(recordsFile(texts(0, 3, lineEnd), lineEnd) + std::string(2000, 'x') +
                            lineEnd + file);
        // A damaged group code in either half names its line.
        std::string damaged = file;
        expectSameAsInOneGo(damaged.replace(damaged.find(" 40", 100), 3, "4x0"));
        damaged = file;
        expectSameAsInOneGo(damaged.replace(damaged.rfind(" 40"), 3, "4x0"));
        // Right after the middle a value line "0" followed by a line of letters, as a record's
        // start looks: the second half starts there, but the first half finds the damage.
        const std::string misleading = "  0" + lineEnd + "TEXT" + lineEnd + "  5" + lineEnd + "1" +
                                       lineEnd + "  1" + lineEnd + "  0" + lineEnd + "Tail" +
                                       lineEnd;
        expectSameAsInOneGo(
            recordsFile(texts(10, 50, lineEnd) + misleading + texts(50, 90, lineEnd), lineEnd));
    }
}

} // namespace
} // namespace kalvex::dxf

namespace kalvex::drawing {
namespace {

// Handles in rising runs with some out of order and some repeated, held against a map: the
// first record given a handle keeps it.
TEST(HandleIndexTest, FindsWhatAMapOfTheFirstRecordPerHandleFinds) {
    std::mt19937 random(4);
    HandleIndex index;
    std::map<std::uint64_t, RecordId> expected;
    std::uint64_t handle = 0x10;
    for (RecordId id = 0; id < 5000; ++id) {
        handle = random() % 10 == 0 ? random() % 0x4000 : handle + 1 + random() % 3;
        index.add(handle, id);
        expected.emplace(handle, id);
    }
    for (std::uint64_t h = 0; h < 0x4000; ++h) {
        const auto found = expected.find(h);
        ASSERT_EQ(index.find(h),
                  found == expected.end() ? std::nullopt : std::optional<RecordId>(found->second))
            << h;
    }
}

} // namespace
} // namespace kalvex::drawing
