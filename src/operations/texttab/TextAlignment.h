#pragma once

#include "cadlink/Document.h"
#include "operations/RunWindow.h"
#include "operations/TextLineWriter.h"
#include "operations/texttab/TextUpdate.h"

namespace kalvex {

// One run of the alignment: record i moves to the point of record 0 plus i·(dX, dY) and takes
// line i; placeholders and lines beyond the records get TEXTs copied from the template, and
// records without a line lose their TEXTs but stay in the list.
class TextAlignmentRun {
public:
    TextAlignmentRun(std::vector<Orvik>& records, const TextLines& input, cad::Document& document,
                     RunWindow& window);

    void run();

private:
    void alignRecords();
    void alignRecord(std::size_t i);
    void alignText(Orvik& record, const std::string& line);
    void fillPlaceholder(std::size_t i, const std::string& line);
    void appendLines();
    void trim();
    void placeCopy(Orvik& record, TextPtr copy, const std::string& line);
    cad::CadPoint alignedPoint(std::size_t i, double z) const;
    const std::string& line(std::size_t k) const;

    std::vector<Orvik>& m_records;
    const TextLines& m_input;
    cad::Document& m_document;
    RunWindow& m_window;
    double m_x0 = 0.0;
    double m_y0 = 0.0;
    int m_used = 0;
    TextLineWriter m_writer;
};

// Lines the TEXTs up at the spacing dX/dY as one undo step, under the run flag. An error ends
// the run with a message.
void AlignTexts(cad::Document& document, std::vector<Orvik>& records, const TextLines& input,
                RunWindow& window);

} // namespace kalvex
