#include <gtest/gtest.h>

#include <map>
#include <random>

#include "drawing/model/HandleIndex.h"
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
