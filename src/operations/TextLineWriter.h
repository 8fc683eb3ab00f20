#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cadlink/Document.h"
#include "cadlink/Records.h"
#include "cadlink/Text.h"

namespace kalvex {

using TextPtr = std::shared_ptr<cad::Text>;

enum class LineResult { Written, Deleted };

// What the update and the alignment do alike to the TEXTs of one run over `records`: give a
// record's TEXT its editor line or delete it for a blank line, and copy new TEXTs from the
// template. The template is the last TEXT that received a line that is not blank, or else the
// TEXT of the last record with a handle.
class TextLineWriter {
public:
    TextLineWriter(const std::vector<Orvik>& records, cad::Document& document);

    // A line that is not blank is written into the TEXT when its string differs, and the TEXT
    // becomes the template. For a blank line the TEXT is deleted and its record becomes a
    // placeholder.
    LineResult writeLine(const TextPtr& text, Orvik& record, const std::string& line);

    // True when there is a template: the one of this run, or else the TEXT FindTemplateText
    // finds. Throws when that TEXT cannot be opened.
    bool haveTemplate();
    // Like haveTemplate, but looks for the TEXT of the last record with a handle also when the
    // run has a template; that one stays when the TEXT found cannot be opened.
    bool findTemplate();
    void useAsTemplate(const TextPtr& text);
    // A new TEXT, the CAD's own copy of the template with every property of the original.
    TextPtr copyTemplate() const;

private:
    const std::vector<Orvik>& m_records;
    cad::Document& m_document;
    TextPtr m_template;
};

// Opens the TEXT of the last record that has a handle into `templateText`. True when such a
// record exists, also when its TEXT could not be opened (then `templateText` is left as it was).
bool FindTemplateText(const std::vector<Orvik>& records, cad::Document& document,
                      TextPtr& templateText);

// The TEXT behind a handle, or null when it cannot be opened any more (erased in the CAD since
// the fetch).
TextPtr openText(cad::Document& document, const std::string& handle);

// Writes the line into a TEXT or an attribute only when its string differs, so that unchanged
// lines cause no change in the drawing.
template <class Entity> void writeIfDifferent(Entity& entity, const std::string& line) {
    if (entity.TextString() != line)
        entity.SetTextString(line);
}

// Writes the string into the entity behind the handle, a TEXT or an attribute, and redraws
// it; returns the entity so that the caller can read it back. The CAD's refusal throws.
template <class Entity>
std::shared_ptr<Entity> writeEntityText(cad::Document& document, const std::string& handle,
                                        const std::string& text) {
    auto entity = cad::entityAs<Entity>(document.HandleToObject(handle));
    entity->SetTextString(text);
    entity->Update();
    return entity;
}

// Deletes the record's TEXT and leaves the record a placeholder that keeps its position.
void deleteText(cad::Text& text, Orvik& record);

// The record stands for the TEXT from now on: its handle, alignment and layer.
void attachText(Orvik& record, const cad::Text& text);

// Places a TEXT at `point`: by its alignment point when `alignment` is not 0, by its insertion
// point when it is 0 (left).
void placeText(cad::Text& text, int alignment, const cad::CadPoint& point);
// Places a TEXT by its own alignment.
void placeText(cad::Text& text, const cad::CadPoint& point);

// The point that places the TEXT by its own alignment, read back from the CAD.
cad::CadPoint placingPoint(const cad::Text& text);

} // namespace kalvex
