#include <algorithm>
#include <memory>

#include "cadlink/AttributeReference.h"
#include "cadlink/BlockReference.h"
#include "cadlink/SearchPattern.h"
#include "cadlink/Text.h"
#include "drawing/cad/Wildcard.h"
#include "dxftool/Commands.h"
#include "dxftool/DrawingFile.h"
#include "dxftool/TextConversion.h"
#include "dxftool/TextRows.h"
#include "dxftool/WriteBack.h"

namespace kalvex::dxftool {

namespace {

// One string `convert` looks at: a TEXT's, or the value of one attribute of a block reference.
struct Slot {
    std::shared_ptr<cad::Text> text;
    cad::AttributeReferencePtr attribute;
    const char* kind = "TEXT";
    std::string tag;

    const cad::Entity& entity() const {
        return text ? static_cast<const cad::Entity&>(*text) : *attribute;
    }
    std::string TextString() const { return text ? text->TextString() : attribute->TextString(); }
    void SetTextString(const std::string& value) const {
        text ? text->SetTextString(value) : attribute->SetTextString(value);
    }
};

// A wildcard pattern that "*" makes a pass for every text, without decoding any.
class Pattern {
public:
    Pattern(const std::string& pattern, drawing::LetterCase letterCase) {
        if (pattern != "*")
            m_pattern.emplace(pattern, letterCase);
    }
    bool matches(const std::string& text) const { return !m_pattern || m_pattern->matches(text); }

private:
    std::optional<drawing::WildcardPattern> m_pattern;
};

// Which strings of a drawing the command converts. Layer and block names match without regard to
// case, as the CAD selects them; --match matches the strings with case, as the search tab's
// selection does.
class Scope {
public:
    explicit Scope(const Command& command)
        : m_command(command), m_layers(command.layers, drawing::LetterCase::Insensitive),
          m_blocks(command.blocks, drawing::LetterCase::Insensitive),
          m_match(searchPattern(command.match, MatchMode::Contains),
                  drawing::LetterCase::Sensitive) {}

    // Hands each string in scope to visit(slot), in drawing order.
    template <class Visit> void forEachString(cad::Document& document, const Visit& visit) const {
        const char* types = !m_command.attributes ? "TEXT"
                            : !m_command.texts    ? "INSERT"
                                                  : "TEXT,INSERT";
        const auto filter = cad::SelectionFilter::of({{cad::SelectionFilter::EntityType, types}});
        forEachSelected(document, filter, [&](const cad::EntityPtr& entity) {
            if (auto text = std::dynamic_pointer_cast<cad::Text>(entity)) {
                if (m_layers.matches(text->Layer()))
                    visit(Slot{std::move(text), nullptr});
                return;
            }
            const auto insert = std::dynamic_pointer_cast<cad::BlockReference>(entity);
            if (insert && insert->HasAttributes() && m_blocks.matches(insert->Name()))
                forEachAttribute(*insert, visit);
        });
    }

    bool takesText(const std::string& text) const { return m_match.matches(text); }

private:
    template <class Visit>
    void forEachAttribute(cad::BlockReference& insert, const Visit& visit) const {
        for (auto& attribute : insert.GetAttributes()) {
            std::string tag = attribute->TagString();
            const auto& tags = m_command.tags;
            if (!tags.empty() && std::find(tags.begin(), tags.end(), tag) == tags.end())
                continue;
            if (m_layers.matches(attribute->Layer()))
                visit(Slot{nullptr, std::move(attribute), "ATTRIB", std::move(tag)});
        }
    }

    const Command& m_command;
    Pattern m_layers;
    Pattern m_blocks;
    Pattern m_match;
};

// A string that the conversion changes and that is written (or, in a dry run, would be).
struct Change {
    std::string handle;
    const char* kind;
    std::string tag;
    std::string before;
    std::string after;
};

struct Converted {
    ApplySummary summary;
    std::vector<Change> changes;
};

enum class Mode { DryRun, Write };

// Converts every string in scope, counting each as changed, unchanged or locked (a string that
// would change on a locked layer is left). A converted string that a DXF text cannot hold is a
// problem.
Converted convertDrawing(cad::Document& document, const Scope& scope,
                         const TextConversion& conversion, Mode mode, Problems& problems) {
    const LayerLocks locks(document);
    if (mode == Mode::Write)
        document.StartUndoMark();
    Converted converted;
    scope.forEachString(document, [&](const Slot& slot) {
        std::string before = slot.TextString();
        if (!scope.takesText(before))
            return;
        std::string after = conversion(before);
        ApplySummary& summary = converted.summary;
        if (after == before)
            ++summary.unchanged;
        else if (locks.isLocked(slot.entity().Layer()))
            ++summary.locked;
        else if (const auto fault = textFault(after, before))
            problems.push_back({0, "the converted text of " + slot.entity().Handle() + *fault});
        else {
            if (mode == Mode::Write)
                slot.SetTextString(after);
            ++summary.changed;
            converted.changes.push_back(
                {slot.entity().Handle(), slot.kind, slot.tag, std::move(before), std::move(after)});
        }
    });
    return converted;
}

void appendChanges(const std::string& path, const std::vector<Change>& changes,
                   std::string& table) {
    const std::string file = escapeField(path);
    for (const Change& change : changes)
        table += file + '\t' + change.handle + '\t' + change.kind + '\t' + escapeField(change.tag) +
                 '\t' + escapeField(change.before) + '\t' + escapeField(change.after) + '\n';
}

// Reads and converts every drawing without saving any: the changes as a table on `out`, the
// counts on `err`; nothing on `out` when a drawing has a problem.
void dryRun(const Command& command, const Scope& scope, const TextConversion& conversion,
            std::ostream& out, std::ostream& err) {
    Problems problems;
    std::vector<FileSummary> summaries;
    std::string table = "file\thandle\tkind\ttag\told\tnew\n";
    forEachDrawing<std::pair<Converted, Problems>>(
        command.drawings,
        [&](const OpenDrawing& drawing) {
            std::pair<Converted, Problems> result;
            result.first =
                convertDrawing(*drawing.document, scope, conversion, Mode::DryRun, result.second);
            return result;
        },
        [&](std::size_t i, std::pair<Converted, Problems>& result) {
            for (Problem& problem : result.second)
                problems.push_back({0, command.drawings[i] + ": " + problem.message});
            appendChanges(command.drawings[i], result.first.changes, table);
            summaries.push_back({command.drawings[i], result.first.summary});
        },
        problems, err);
    if (!problems.empty())
        refuse(problems, {}, "the conversion would write nothing", err);
    out << table;
    printSummaries(summaries, err);
}

} // namespace

void convertTexts(const Command& command, std::ostream& out, std::ostream& err) {
    requireDistinct(command.drawings);
    const TextConversion conversion(command.conversion);
    const Scope scope(command);
    if (command.dryRun)
        return dryRun(command, scope, conversion, out, err);
    std::vector<FileJob> jobs;
    for (const std::string& path : command.drawings)
        jobs.push_back({path, path, 0, {}, JobScope::WholeDrawing});
    const EditDrawing edit = [&](cad::Document& document, const FileJob&, Problems& found) {
        return convertDrawing(document, scope, conversion, Mode::Write, found).summary;
    };
    Problems problems;
    const std::vector<FileSummary> summaries = writeBack(jobs, edit, problems, err);
    if (!problems.empty())
        refuse(problems, {}, "nothing was written", err);
    printSummaries(summaries, out);
}

} // namespace kalvex::dxftool
