#include "texttab/CaretFollow.h"

#include <optional>

#include <QCheckBox>

#include "operations/ViewFollow.h"
#include "texttab/Spacing.h"
#include "texttab/TextTabPage.h"

namespace kalvex {

namespace {

// Past the last record the point is extrapolated by the spacing the update appends with.
std::optional<cad::CadPoint> followPoint(TextTabContext& context, int caretY) {
    const std::vector<Orvik>& records = context.records();
    const int n = static_cast<int>(records.size());
    if (caretY >= 1 && caretY <= n)
        return records[static_cast<std::size_t>(caretY - 1)].insPt;
    if (context.work.ATTmode || caretY < 1)
        return std::nullopt;
    const double dX = readSpacingStrictly(*context.page.Edit1);
    const double dY = readSpacingStrictly(*context.page.Edit2);
    const cad::CadPoint& last = records.back().insPt;
    const int steps = caretY - n;
    return cad::CadPoint(last.x() + dX * steps, last.y() + dY * steps, last.z());
}

} // namespace

void CaretYChanged(TextTabContext& context, int caretY) {
    if (caretY == context.work.CaretY_Old)
        return;
    if (context.page.CheckBox9->isChecked() && !context.records().empty()) {
        const std::optional<cad::CadPoint> point = followPoint(context, caretY);
        if (point)
            followRecord(context.link, context.work.records.textSource, *point);
    }
    context.work.CaretY_Old = caretY;
}

} // namespace kalvex
