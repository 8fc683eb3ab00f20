#include "texttab/TextAlignment.h"

#include "operations/texttab/TextAlignment.h"
#include "texttab/TextUpdate.h"

namespace kalvex {

void SpeedButton6Click(TextTabContext& context) {
    writeBackTexts(context, CadOperation::GridUpdateOrAlign,
                   [&context](cad::Document& document, const TextLines& input, RunWindow& window) {
                       AlignTexts(document, context.records(), input, window);
                   });
}

} // namespace kalvex
