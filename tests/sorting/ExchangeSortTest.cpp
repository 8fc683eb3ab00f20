#include "sorting/ExchangeSort.h"
#include "cadlink/CadPoint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <string>

#include "platform/Utf16.h"

namespace kalvex {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The exchange procedure itself, run on a copy of the keys: for i < j, exchange when item i sorts
// after item j. Returns, for each final position, the input index of the item standing there.
template <typename Key, typename SortsAfter>
std::vector<std::size_t> plainExchangeOrder(std::vector<Key> keys, SortsAfter sortsAfter) {
    std::vector<std::size_t> order(keys.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        for (std::size_t j = i + 1; j < keys.size(); ++j) {
            if (sortsAfter(keys[i], keys[j])) {
                std::swap(keys[i], keys[j]);
                std::swap(order[i], order[j]);
            }
        }
    }
    return order;
}

// The raw comparisons of the procedure: greater-than when ascending, less-than when descending.
template <typename Key> auto sortsAfter(SortOrder order) {
    return [order](const Key& a, const Key& b) {
        return order == SortOrder::Ascending ? b < a : a < b;
    };
}

std::vector<std::size_t> orderOf(const std::vector<double>& keys, SortOrder order) {
    return exchangeSortOrder(std::span<const double>(keys), order);
}

TEST(ExchangeSortTest, HandWorkedOrdersOfEqualKeys) {
    struct Case {
        std::vector<double> keys;
        SortOrder order;
        std::vector<std::size_t> expected;
    };
    const Case cases[] = {
        {{}, SortOrder::Ascending, {}},
        {{7}, SortOrder::Ascending, {0}},
        {{1, 1, 0}, SortOrder::Ascending, {2, 1, 0}},
        {{1, 0, 1, 0}, SortOrder::Ascending, {1, 3, 2, 0}},
        {{0, 0, 1}, SortOrder::Descending, {2, 1, 0}},
        {{3, 3, 3}, SortOrder::Descending, {0, 1, 2}},
        {{kNaN, 2, 1}, SortOrder::Ascending, {0, 2, 1}},
        {{2, kNaN, 1, 1}, SortOrder::Ascending, {2, 1, 3, 0}},
        {{0.0, -0.0, -1}, SortOrder::Ascending, {2, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.keys));
        EXPECT_EQ(orderOf(c.keys, c.order), c.expected);
        EXPECT_EQ(orderOf(c.keys, c.order),
                  plainExchangeOrder(c.keys, sortsAfter<double>(c.order)));
    }
}

TEST(ExchangeSortTest, PointsOrderedByYDescendingOrXAscending) {
    using cad::CadPoint;
    std::vector<CadPoint> tall{{0, 10}, {0, 20}, {5, 0}};
    exchangeSortBy(
        tall, [](const CadPoint& p) { return p.y(); }, SortOrder::Descending);
    EXPECT_EQ(tall, (std::vector<CadPoint>{{0, 20}, {0, 10}, {5, 0}}));

    std::vector<CadPoint> wide{{10, 0}, {0, 0}};
    exchangeSortBy(
        wide, [](const CadPoint& p) { return p.x(); }, SortOrder::Ascending);
    EXPECT_EQ(wide, (std::vector<CadPoint>{{0, 0}, {10, 0}}));
}

TEST(ExchangeSortTest, KeyThatCannotBeReadLeavesTheRecordsAsTheyWere) {
    using cad::CadPoint;
    const std::vector<CadPoint> before{{3, 0}, {1, 0}, CadPoint(), {2, 0}};
    std::vector<CadPoint> points = before;
    EXPECT_THROW(exchangeSortBy(
                     points, [](const CadPoint& p) { return p.x(); }, SortOrder::Ascending),
                 cad::CadError);
    EXPECT_EQ(points, before);
}

TEST(ExchangeSortTest, TextComparesUtf16CodeUnitsWithPrefixesFirst) {
    EXPECT_TRUE(textLess(u"", u"a"));
    EXPECT_FALSE(textLess(u"a", u""));
    EXPECT_TRUE(textLess(u"ab", u"abc"));
    EXPECT_TRUE(textLess(u"B", u"a"));
    // A surrogate pair (U+10000) sorts before U+FFFF when code units are compared.
    EXPECT_TRUE(textLess(QString::fromUtf16(u"\U00010000"), QString::fromUtf16(u"\uFFFF")));
    EXPECT_FALSE(textLess(u"abc", u"abc"));
}

// The comparison passes equal runs several code units at a time: every position of the first
// difference, every length and the units whose order differs from UTF-8's must still compare as
// code units do.
TEST(ExchangeSortTest, TextComparisonAgreesWithCodeUnitOrderWhereverTheKeysDiffer) {
    const char16_t alphabet[] = {u'a', u'b', 0xD800, 0xDC00, 0xFFFF, 0x0100, 0x0001};
    std::mt19937 random(11);
    std::vector<std::u16string> keys;
    for (int n = 0; n < 400; ++n) {
        std::u16string key(random() % 14, u'a');
        for (char16_t& unit : key)
            if (random() % 3 == 0)
                unit = alphabet[random() % std::size(alphabet)];
        keys.push_back(key);
    }
    for (const std::u16string& a : keys)
        for (const std::u16string& b : keys)
            ASSERT_EQ(utf16Less(a, b), std::u16string_view(a) < std::u16string_view(b))
                << std::string(a.begin(), a.end()) << " / " << std::string(b.begin(), b.end());
    // A long shared prefix, then a surrogate against U+FFFF.
    EXPECT_TRUE(utf16Less(u"ABCDEFGHIJ\U00010000", u"ABCDEFGHIJ\uFFFF"));
    EXPECT_FALSE(utf16Less(u"ABCDEFGHIJ\uFFFF", u"ABCDEFGHIJ\U00010000"));
}

// How the keys of one random input are drawn: from `classes` distinct values, or (0) from a range
// so wide that nearly all keys differ. `nanShare` of the double keys are NaN.
struct Profile {
    int classes;
    double nanShare;
};

constexpr Profile kProfiles[] = {{1, 0}, {2, 0}, {5, 0}, {40, 0}, {0, 0}, {3, 0.1}, {0, 0.3}};

std::vector<std::size_t> testSizes(std::mt19937& random) {
    std::vector<std::size_t> sizes{0, 1, 2, 3, 4, 5, 7, 10, 16, 33, 64, 100, 257, 600, 2000};
    std::uniform_int_distribution<std::size_t> small(0, 300);
    for (int i = 0; i < 25; ++i)
        sizes.push_back(small(random));
    return sizes;
}

std::vector<double> randomDoubles(std::size_t n, Profile profile, std::mt19937& random) {
    std::uniform_int_distribution<int> cls(0, std::max(profile.classes, 1) - 1);
    std::uniform_real_distribution<double> wide(-1e6, 1e6);
    std::bernoulli_distribution nan(profile.nanShare);
    std::bernoulli_distribution negativeZero(0.5);
    std::vector<double> keys(n);
    for (double& key : keys) {
        key = profile.classes == 0 ? wide(random) : cls(random) * 0.25;
        if (key == 0.0 && negativeZero(random))
            key = -0.0;
        if (nan(random))
            key = kNaN;
    }
    return keys;
}

std::vector<std::int64_t> randomIntegers(std::size_t n, Profile profile, std::mt19937& random) {
    std::uniform_int_distribution<std::int64_t> any(std::numeric_limits<std::int64_t>::min(),
                                                    std::numeric_limits<std::int64_t>::max());
    std::uniform_int_distribution<std::int64_t> cls(-2, profile.classes - 3);
    std::vector<std::int64_t> keys(n);
    for (std::int64_t& key : keys)
        key = profile.classes == 0 ? any(random) : cls(random);
    return keys;
}

// Strings over an alphabet that mixes case, Japanese, a surrogate pair and U+FFFF, so that
// prefixes, empty strings and code-unit order all occur.
std::u16string randomText(std::mt19937& random, std::size_t maxLength) {
    static const std::u16string pieces[] = {u"a", u"b", u"A", u"あ", u"\U00010000", u"\uFFFF"};
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::u16string text;
    for (std::size_t i = length(random); i > 0; --i)
        text += pieces[piece(random)];
    return text;
}

std::vector<std::u16string> randomTexts(std::size_t n, Profile profile, std::mt19937& random) {
    std::vector<std::u16string> pool;
    for (int i = 0; i < profile.classes; ++i)
        pool.push_back(randomText(random, 3));
    std::uniform_int_distribution<std::size_t> pick(0, pool.empty() ? 0 : pool.size() - 1);
    std::vector<std::u16string> keys(n);
    for (std::u16string& key : keys)
        key = pool.empty() ? randomText(random, 12) : pool[pick(random)];
    return keys;
}

std::vector<std::size_t> helperOrder(const std::vector<double>& keys, SortOrder order) {
    return exchangeSortOrder(std::span<const double>(keys), order);
}

std::vector<std::size_t> helperOrder(const std::vector<std::int64_t>& keys, SortOrder order) {
    return exchangeSortOrder(std::span<const std::int64_t>(keys), order);
}

std::vector<std::size_t> helperOrder(const std::vector<std::u16string>& keys, SortOrder order) {
    std::vector<QString> texts;
    for (const std::u16string& key : keys)
        texts.push_back(QString::fromUtf16(key.data(), static_cast<qsizetype>(key.size())));
    const std::vector<QStringView> views(texts.begin(), texts.end());
    return exchangeSortOrder(std::span<const QStringView>(views), order);
}

template <typename Key, typename Generate> void compareWithPlainProcedure(Generate generate) {
    std::mt19937 random(20261208);
    const std::vector<std::size_t> sizes = testSizes(random);
    for (const Profile& profile : kProfiles) {
        for (SortOrder order : {SortOrder::Ascending, SortOrder::Descending}) {
            for (std::size_t n : sizes) {
                const std::vector<Key> keys = generate(n, profile, random);
                SCOPED_TRACE(::testing::Message()
                             << "classes " << profile.classes << ", NaN share " << profile.nanShare
                             << ", n " << n << ", descending " << (order == SortOrder::Descending));
                ASSERT_EQ(helperOrder(keys, order),
                          plainExchangeOrder(keys, sortsAfter<Key>(order)));
            }
        }
    }
}

TEST(ExchangeSortTest, DoubleKeysMatchThePlainProcedure) {
    compareWithPlainProcedure<double>(randomDoubles);
}

TEST(ExchangeSortTest, IntegerKeysMatchThePlainProcedure) {
    compareWithPlainProcedure<std::int64_t>(randomIntegers);
}

TEST(ExchangeSortTest, TextKeysMatchThePlainProcedure) {
    compareWithPlainProcedure<std::u16string>(randomTexts);
}

// UTF-8 keys over pieces of one (a zero byte among them), two, three and four bytes, U+E000 and
// U+FFFF (which sort above the surrogate pairs of four-byte characters in UTF-16 but below them as
// bytes) and malformed bytes (each read as U+FFFD); with `wellFormed` only pieces up to U+FFFF.
std::string randomUtf8(std::mt19937& random, std::size_t maxLength, bool wellFormed) {
    static const std::string pieces[] = {"a",
                                         std::string(1, '\0'),
                                         "\xC3\xA9",
                                         "\xE3\x81\x82",
                                         "\xEE\x80\x80",
                                         "\xEF\xBF\xBF",
                                         "\xF0\x90\x80\x80",
                                         "\xFF",
                                         "\xC3",
                                         "\xED\xA0\x80"};
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<std::size_t> piece(0, wellFormed ? 5 : std::size(pieces) - 1);
    std::string text;
    for (std::size_t i = length(random); i > 0; --i)
        text += pieces[piece(random)];
    return text;
}

std::vector<std::size_t> plainUtf16Order(const std::vector<std::string>& keys, SortOrder order) {
    std::vector<std::u16string> wide;
    for (const std::string& key : keys)
        wide.push_back(toUtf16(key));
    return plainExchangeOrder(wide, sortsAfter<std::u16string>(order));
}

// Records holding UTF-8 keys, compared in place or converted, come out in the order the procedure
// gives the keys' UTF-16 forms: random keys with and without repeats, and keys already in order.
TEST(ExchangeSortTest, Utf8KeysSortAsTheirUtf16Forms) {
    struct Hit {
        std::string text;
        std::size_t id;
    };
    std::mt19937 random(20261209);
    const std::vector<std::size_t> sizes = testSizes(random);
    for (bool wellFormed : {true, false}) {
        for (int classes : {0, 3, 40}) {
            for (bool presorted : {false, true}) {
                for (SortOrder order : {SortOrder::Ascending, SortOrder::Descending}) {
                    for (std::size_t n : sizes) {
                        if (n > 600 && (presorted || classes != 0))
                            continue; // the procedure is quadratic: one long run is enough
                        std::vector<std::string> pool;
                        for (int i = 0; i < classes; ++i)
                            pool.push_back(randomUtf8(random, 3, wellFormed));
                        std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
                        std::vector<std::string> keys(n);
                        for (std::string& key : keys)
                            key = pool.empty() ? randomUtf8(random, 8, wellFormed)
                                               : pool[pick(random)];
                        if (presorted) {
                            std::vector<std::string> sorted;
                            for (std::size_t pos : plainUtf16Order(keys, order))
                                sorted.push_back(keys[pos]);
                            keys = std::move(sorted);
                        }
                        std::vector<Hit> hits;
                        for (std::size_t i = 0; i < n; ++i)
                            hits.push_back({keys[i], i});
                        exchangeSortBy(
                            hits, [](const Hit& hit) -> const std::string& { return hit.text; },
                            order);
                        std::vector<std::size_t> ids;
                        for (const Hit& hit : hits)
                            ids.push_back(hit.id);
                        SCOPED_TRACE(::testing::Message()
                                     << "well formed " << wellFormed << ", classes " << classes
                                     << ", presorted " << presorted << ", n " << n
                                     << ", descending " << (order == SortOrder::Descending));
                        ASSERT_EQ(ids, plainUtf16Order(keys, order));
                    }
                }
            }
        }
    }
}

// A record that counts how often it is copied.
struct CountingRecord {
    QString text;
    double x = 0;
    static inline int copies = 0;

    CountingRecord(QString t, double key) : text(std::move(t)), x(key) {}
    CountingRecord(const CountingRecord& other) : text(other.text), x(other.x) { ++copies; }
    CountingRecord(CountingRecord&&) noexcept = default;
    CountingRecord& operator=(const CountingRecord& other) {
        text = other.text;
        x = other.x;
        ++copies;
        return *this;
    }
    CountingRecord& operator=(CountingRecord&&) noexcept = default;
};

std::vector<CountingRecord> countingRecords(std::size_t n) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> cls(0, 9);
    std::vector<CountingRecord> records;
    for (std::size_t i = 0; i < n; ++i)
        records.emplace_back(QString::number(cls(random)) + u'#' + QString::number(i), cls(random));
    return records;
}

// The records must come out in the reference order, holding the very string buffers they had.
template <typename KeyOf, typename Key>
void expectMovedIntoOrder(KeyOf keyOf, Key (*referenceKey)(const CountingRecord&)) {
    std::vector<CountingRecord> records = countingRecords(700);
    std::vector<Key> keys;
    std::vector<const QChar*> buffers;
    for (const CountingRecord& record : records) {
        keys.push_back(referenceKey(record));
        buffers.push_back(record.text.constData());
    }
    const std::vector<std::size_t> expected =
        plainExchangeOrder(keys, sortsAfter<Key>(SortOrder::Ascending));

    CountingRecord::copies = 0;
    exchangeSortBy(records, keyOf, SortOrder::Ascending);
    EXPECT_EQ(CountingRecord::copies, 0);
    for (std::size_t k = 0; k < records.size(); ++k) {
        ASSERT_EQ(records[k].text.constData(), buffers[expected[k]]) << "position " << k;
    }
}

double xOf(const CountingRecord& record) {
    return record.x;
}

std::u16string textOf(const CountingRecord& record) {
    return record.text.toStdU16String();
}

std::u16string firstLetterOf(const CountingRecord& record) {
    return record.text.left(1).toStdU16String();
}

TEST(ExchangeSortTest, RecordsAreMovedNotCopied) {
    expectMovedIntoOrder([](const CountingRecord& r) { return r.x; }, xOf);
    expectMovedIntoOrder([](const CountingRecord& r) -> const QString& { return r.text; }, textOf);
    expectMovedIntoOrder([](const CountingRecord& r) { return r.text.left(1); }, firstLetterOf);
}

} // namespace
} // namespace kalvex
