#pragma once

#include <QElapsedTimer>

#include "cadlink/Document.h"
#include "texttab/TextLineWriter.h"
#include "texttab/TextTabContext.h"
#include "workstate/RunFlag.h"

namespace kalvex {

// One run of the update: editor line L is paired with record k, strings that differ are
// rewritten, blank lines delete their TEXTs (the records stay as placeholders), placeholders
// with text get new TEXTs, and lines beyond the records become TEXTs stepped by dX/dY.
class TextUpdateRun {
public:
    TextUpdateRun(TextTabContext& context, cad::Document& document, RunFlagScope& run);

    void run();

private:
    bool recordPass();
    void updateRecord(std::size_t i);
    void updateText(Orvik& record);
    void updateAttribute(Orvik& record);
    void fillPlaceholder(Orvik& record);
    void appendPass();
    void appendLine(int j, double& x, double& y, double z, double dX, double dY);
    void showProgress(int number);

    QString line(int k) const;
    int usedLines() const;

    TextTabContext& m_context;
    cad::Document& m_document;
    RunFlagScope& m_run;
    std::vector<Orvik>& m_records;
    int m_line = 0;
    TextLineWriter m_writer;
    QElapsedTimer m_progressClock;
};

// "更新(Ctrl+Enter)": writes the editor lines back into the drawing.
void SpeedButton2Click(TextTabContext& context);

} // namespace kalvex
