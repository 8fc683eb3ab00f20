#include "textaids/ConversionTables.h"

#include <utility>

namespace kalvex {

namespace {

constexpr char16_t kFullDigitZero = u'０';
constexpr char16_t kFullUpperA = u'Ａ';
constexpr char16_t kFullLowerA = u'ａ';

constexpr WidthPair singlePair(char16_t full, char16_t half) {
    return {{full, 0, 0}, {half, 0, 0}};
}

constexpr std::array<WidthPair, 10> makeDigitTable() {
    std::array<WidthPair, 10> table{};
    for (int i = 0; i < 10; ++i)
        table[i] = singlePair(kFullDigitZero + i, u'0' + i);
    return table;
}

constexpr std::array<WidthPair, 52> makeAlphabetTable() {
    std::array<WidthPair, 52> table{};
    for (int i = 0; i < 26; ++i) {
        table[i] = singlePair(kFullUpperA + i, u'A' + i);
        table[26 + i] = singlePair(kFullLowerA + i, u'a' + i);
    }
    return table;
}

constexpr std::array<WidthPair, 14> makeNumberTable() {
    std::array<WidthPair, 14> table{};
    for (int i = 0; i < 10; ++i)
        table[i] = singlePair(kFullDigitZero + i, u'0' + i);
    table[10] = singlePair(u'＋', u'+');
    table[11] = singlePair(u'－', u'-');
    table[12] = singlePair(u'．', u'.');
    table[13] = singlePair(u'，', u',');
    return table;
}

} // namespace

const std::array<WidthPair, 10> DigitTable = makeDigitTable();
const std::array<WidthPair, 52> AlphabetTable = makeAlphabetTable();
const std::array<WidthPair, 14> NumberTable = makeNumberTable();

// The double quote, apostrophe and grave accent pair with curly quotation marks, and the
// backslash with the full-width yen sign, as Japanese fonts draw them.
const std::array<WidthPair, 33> SymbolTable = {{
    {u"！", u"!"}, {u"\u201D", u"\""}, {u"＃", u"#"},     {u"＄", u"$"}, {u"％", u"%"},
    {u"＆", u"&"}, {u"\u2019", u"'"},  {u"\u3000", u" "}, {u"（", u"("}, {u"）", u")"},
    {u"＊", u"*"}, {u"＋", u"+"},      {u"，", u","},     {u"－", u"-"}, {u"．", u"."},
    {u"／", u"/"}, {u"：", u":"},      {u"；", u";"},     {u"＜", u"<"}, {u"＝", u"="},
    {u"＞", u">"}, {u"？", u"?"},      {u"＠", u"@"},     {u"［", u"["}, {u"］", u"]"},
    {u"＾", u"^"}, {u"＿", u"_"},      {u"\u2018", u"`"}, {u"｛", u"{"}, {u"｝", u"}"},
    {u"｜", u"|"}, {u"～", u"~"},      {u"￥", u"\\"},
}};

const std::array<WidthPair, 84> KanaTable = {{
    {u"ヴ", u"ｳﾞ"}, {u"ガ", u"ｶﾞ"}, {u"ギ", u"ｷﾞ"}, {u"グ", u"ｸﾞ"}, {u"ゲ", u"ｹﾞ"}, {u"ゴ", u"ｺﾞ"},
    {u"ザ", u"ｻﾞ"}, {u"ジ", u"ｼﾞ"}, {u"ズ", u"ｽﾞ"}, {u"ゼ", u"ｾﾞ"}, {u"ゾ", u"ｿﾞ"}, {u"ダ", u"ﾀﾞ"},
    {u"ヂ", u"ﾁﾞ"}, {u"ヅ", u"ﾂﾞ"}, {u"デ", u"ﾃﾞ"}, {u"ド", u"ﾄﾞ"}, {u"バ", u"ﾊﾞ"}, {u"ビ", u"ﾋﾞ"},
    {u"ブ", u"ﾌﾞ"}, {u"ベ", u"ﾍﾞ"}, {u"ボ", u"ﾎﾞ"}, {u"パ", u"ﾊﾟ"}, {u"ピ", u"ﾋﾟ"}, {u"プ", u"ﾌﾟ"},
    {u"ペ", u"ﾍﾟ"}, {u"ポ", u"ﾎﾟ"}, {u"ヲ", u"ｦ"},  {u"ァ", u"ｧ"},  {u"ィ", u"ｨ"},  {u"ゥ", u"ｩ"},
    {u"ェ", u"ｪ"},  {u"ォ", u"ｫ"},  {u"ャ", u"ｬ"},  {u"ュ", u"ｭ"},  {u"ョ", u"ｮ"},  {u"ッ", u"ｯ"},
    {u"ー", u"ｰ"},  {u"ア", u"ｱ"},  {u"イ", u"ｲ"},  {u"ウ", u"ｳ"},  {u"エ", u"ｴ"},  {u"オ", u"ｵ"},
    {u"カ", u"ｶ"},  {u"キ", u"ｷ"},  {u"ク", u"ｸ"},  {u"ケ", u"ｹ"},  {u"コ", u"ｺ"},  {u"サ", u"ｻ"},
    {u"シ", u"ｼ"},  {u"ス", u"ｽ"},  {u"セ", u"ｾ"},  {u"ソ", u"ｿ"},  {u"タ", u"ﾀ"},  {u"チ", u"ﾁ"},
    {u"ツ", u"ﾂ"},  {u"テ", u"ﾃ"},  {u"ト", u"ﾄ"},  {u"ナ", u"ﾅ"},  {u"ニ", u"ﾆ"},  {u"ヌ", u"ﾇ"},
    {u"ネ", u"ﾈ"},  {u"ノ", u"ﾉ"},  {u"ハ", u"ﾊ"},  {u"ヒ", u"ﾋ"},  {u"フ", u"ﾌ"},  {u"ヘ", u"ﾍ"},
    {u"ホ", u"ﾎ"},  {u"マ", u"ﾏ"},  {u"ミ", u"ﾐ"},  {u"ム", u"ﾑ"},  {u"メ", u"ﾒ"},  {u"モ", u"ﾓ"},
    {u"ヤ", u"ﾔ"},  {u"ユ", u"ﾕ"},  {u"ヨ", u"ﾖ"},  {u"ラ", u"ﾗ"},  {u"リ", u"ﾘ"},  {u"ル", u"ﾙ"},
    {u"レ", u"ﾚ"},  {u"ロ", u"ﾛ"},  {u"ワ", u"ﾜ"},  {u"ン", u"ﾝ"},  {u"「", u"｢"},  {u"」", u"｣"},
}};

namespace {

// Every occurrence of from, left to right, by to; the text is copied only when from occurs.
void replaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
    std::size_t at = text.find(from);
    if (at == std::u16string::npos)
        return;
    std::u16string result;
    result.reserve(text.size());
    std::size_t done = 0;
    for (; at != std::u16string::npos; at = text.find(from, done)) {
        result.append(text, done, at - done).append(to);
        done = at + from.size();
    }
    result.append(text, done);
    text = std::move(result);
}

} // namespace

std::u16string ReplaceByTable(std::u16string text, ConversionTable table, Direction direction) {
    const bool toFull = direction == Direction::HalfToFull;
    for (const WidthPair& pair : table)
        replaceAll(text, toFull ? pair.half : pair.full, toFull ? pair.full : pair.half);
    return text;
}

} // namespace kalvex
