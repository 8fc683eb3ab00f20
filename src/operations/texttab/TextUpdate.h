#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "cadlink/Document.h"
#include "operations/RunWindow.h"
#include "operations/TextLineWriter.h"

namespace kalvex {

// What the editor's lines stand for: TEXT strings, or the values of fetched attributes.
enum class EditorContent { Texts, Attributes };

// The editor as the update and the alignment read it.
struct TextLines {
    std::vector<std::string> lines; // every line, blank ones included (UTF-8)
    double dX = 0.0;                // the spacing of TEXTs added for lines beyond the records
    double dY = 0.0;
    EditorContent content = EditorContent::Texts;
};

// One run of the update: editor line L is paired with record k, strings that differ are
// rewritten, blank lines delete their TEXTs (the records stay as placeholders), placeholders
// with text get new TEXTs, and lines beyond the records become TEXTs stepped by dX/dY.
class TextUpdateRun {
public:
    TextUpdateRun(std::vector<Orvik>& records, const TextLines& input, cad::Document& document,
                  RunWindow& window, RunScope& run);

    void run();

private:
    bool recordPass();
    void updateRecord(std::size_t i);
    void updateText(Orvik& record);
    void updateAttribute(Orvik& record);
    void fillPlaceholder(Orvik& record);
    void appendPass();
    void appendLine(int j, double& x, double& y, double z);
    void showProgress(int number);

    const std::string& line(int k) const;

    std::vector<Orvik>& m_records;
    const TextLines& m_input;
    cad::Document& m_document;
    RunWindow& m_window;
    RunScope& m_run;
    int m_used = 0;
    int m_line = 0;
    TextLineWriter m_writer;
    std::optional<std::chrono::steady_clock::time_point> m_lastProgress;
};

// Writes the editor's lines back into the drawing as one undo step, under the run flag. An
// error ends the run with a message; the TEXT records are then cut to the lines in use.
void UpdateTexts(cad::Document& document, std::vector<Orvik>& records, const TextLines& input,
                 RunWindow& window);

} // namespace kalvex
