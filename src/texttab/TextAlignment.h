#pragma once

#include "cadlink/Document.h"
#include "texttab/TextLineWriter.h"
#include "texttab/TextTabContext.h"

namespace kalvex {

// One run of the alignment: record i moves to the point of record 0 plus i·(dX, dY) and takes
// line i; placeholders and lines beyond the records get TEXTs copied from the template, and
// records without a line lose their TEXTs but stay in the list.
class TextAlignmentRun {
public:
    TextAlignmentRun(TextTabContext& context, cad::Document& document);

    void run();

private:
    void alignRecords();
    void alignRecord(std::size_t i);
    void alignText(Orvik& record, const QString& line);
    void fillPlaceholder(std::size_t i, const QString& line);
    void appendLines();
    void trim();
    void placeCopy(Orvik& record, TextPtr copy, const QString& line);
    cad::CadPoint alignedPoint(std::size_t i, double z) const;

    TextTabContext& m_context;
    cad::Document& m_document;
    std::vector<Orvik>& m_records;
    double m_dX = 0.0;
    double m_dY = 0.0;
    double m_x0 = 0.0;
    double m_y0 = 0.0;
    int m_used = 0;
    TextLineWriter m_writer;
};

// "整列": lines the TEXTs up at the spacing dX/dY.
void SpeedButton6Click(TextTabContext& context);

} // namespace kalvex
