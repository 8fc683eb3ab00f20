#include "texttab/TemplateText.h"

namespace kalvex {

bool FindTemplateText(const std::vector<Orvik>& records, cad::Document& document,
                      TextPtr& templateText) {
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        if (record->sHnd.empty())
            continue;
        try {
            templateText = cad::entityAs<cad::Text>(document.HandleToObject(record->sHnd));
        } catch (const std::exception&) {
            // The caller finds the template it had before, or none.
        }
        return true;
    }
    return false;
}

TextPtr copyText(cad::Text& templateText) {
    return cad::entityAs<cad::Text>(templateText.Copy());
}

void placeText(cad::Text& text, const cad::CadPoint& point) {
    if (text.Alignment() != 0)
        text.SetTextAlignmentPoint(point);
    else
        text.SetInsertionPoint(point);
}

cad::CadPoint placingPoint(const cad::Text& text) {
    return text.Alignment() != 0 ? text.TextAlignmentPoint() : text.InsertionPoint();
}

} // namespace kalvex
