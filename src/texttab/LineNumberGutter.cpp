#include "texttab/LineNumberGutter.h"

#include "texttab/LineEditor.h"

namespace kalvex {

LineNumberGutter::LineNumberGutter(LineEditor* editor) : QWidget(editor), m_editor(editor) {}

QSize LineNumberGutter::sizeHint() const {
    return QSize(m_editor->gutterWidth(), 0);
}

void LineNumberGutter::paintEvent(QPaintEvent* event) {
    m_editor->paintGutter(event);
}

} // namespace kalvex
