#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kalvex::dxftool {

// The text of a table file as UTF-8 without byte-order mark. A spreadsheet saves tab-separated
// text as UTF-8 with or without a byte-order mark, as UTF-16 ("Unicode text", with a mark or,
// from some programs, without) or in the system's code page, CP932 on Japanese Windows; each is
// recognised. Throws TableError ("TABLE:LINE: ...") naming the first line that is none of them,
// or saying that the file is not text at all.
std::string decodeTable(std::string_view bytes, const std::string& source);
// The same without a copy for a table that is UTF-8 already: the text is then a view into
// `bytes`, otherwise into `storage`, which holds the converted text.
std::string_view decodeTable(std::string_view bytes, const std::string& source,
                             std::string& storage);

// The lines of a decoded table, each without its LF or CR LF, numbered from 1.
class TableLines {
public:
    explicit TableLines(std::string_view text) : m_text(text) {}
    // The next line; false after the last one.
    bool next(std::string_view& line);
    // The number of the line next() returned last.
    int number() const { return m_number; }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
    int m_number = 0;
};

// The records of a decoded table as spreadsheets write tab-separated text: a field that starts
// with a double quote runs to the next lone double quote, may hold tabs and line breaks, and holds
// a double quote as two; blank lines are skipped.
class SpreadsheetRecords {
public:
    SpreadsheetRecords(std::string_view text, const std::string& source)
        : m_text(text), m_source(source) {}
    // The fields of the next record and the line it starts on; false after the last one. Throws
    // TableError for a quoted field that never ends.
    bool next(std::vector<std::string>& fields, int& line);

private:
    void readRecord(std::vector<std::string>& fields);
    void readQuoted(std::string& field);
    void readPlain(std::string& field);

    std::string_view m_text;
    const std::string& m_source;
    std::size_t m_position = 0;
    int m_line = 1;
};

} // namespace kalvex::dxftool
