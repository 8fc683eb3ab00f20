#include "texttab/LineEditor.h"

#include <algorithm>

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>

#include "texttab/LineNumberGutter.h"

namespace kalvex {

namespace {

// "ＭＳ ゴシック" where it is installed; otherwise a fixed-pitch font with Japanese glyphs.
QFont editorFont(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

LineEditor::LineEditor(QWidget* parent)
    : QPlainTextEdit(parent), m_gutter(new LineNumberGutter(this)), m_gutterFont(editorFont(12)) {
    setFont(editorFont(15));
    setTabChangesFocus(false);
    setFocusPolicy(Qt::ClickFocus);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QPlainTextEdit::blockCountChanged, this, &LineEditor::updateGutterWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &LineEditor::updateGutter);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &LineEditor::trimTypedLine);
    connect(document(), &QTextDocument::contentsChange, this, &LineEditor::followTypedLine);
    updateGutterWidth();
}

int LineEditor::gutterWidth() const {
    int digits = 1;
    for (int lines = qMax(1, blockCount()); lines >= 10; lines /= 10)
        ++digits;
    const int numbers = QFontMetrics(m_gutterFont).horizontalAdvance(QLatin1Char('9')) * digits;
    return kMarksWidth + numbers + kGutterMargin * 2;
}

namespace {

bool isCopyOrCut(const QKeyEvent* event) {
    return event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut);
}

} // namespace

// The editor does not claim the copy and cut keys, so a shortcut of the window can take them.
bool LineEditor::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && isCopyOrCut(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return false;
    }
    return QPlainTextEdit::event(event);
}

namespace {

bool isSeparator(QChar c) {
    return c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

bool holdsSeparator(const QString& text) {
    return std::any_of(text.begin(), text.end(), isSeparator);
}

// Line and paragraph separators become line feeds, which the editor turns into line breaks.
QString withLineBreaks(QString text) {
    return text.replace(QChar::LineSeparator, u'\n').replace(QChar::ParagraphSeparator, u'\n');
}

bool isShiftEnter(const QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    return enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier;
}

} // namespace

// Only a key that changes the text marks its line as typed on: Escape, a Ctrl chord or a caret
// key bring text of their own with the event but leave the line as it was.
void LineEditor::keyPressEvent(QKeyEvent* event) {
    if (isCopyOrCut(event)) {
        event->ignore();
        return;
    }
    m_textChanged = false;
    pressKey(event);
    if (m_textChanged)
        m_typedLine = textCursor().block().position();
}

// Shift+Enter would put a line separator into the line; it breaks the line like Enter.
void LineEditor::pressKey(QKeyEvent* event) {
    if (isShiftEnter(event)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        QStringLiteral("\r"), event->isAutoRepeat(),
                        static_cast<ushort>(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    if (holdsSeparator(event->text())) {
        insertPlainText(withLineBreaks(event->text()));
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void LineEditor::inputMethodEvent(QInputMethodEvent* event) {
    if (!holdsSeparator(event->commitString())) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent plain(event->preeditString(), event->attributes());
    plain.setCommitString(withLineBreaks(event->commitString()), event->replacementStart(),
                          event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&plain);
    event->setAccepted(plain.isAccepted());
}

// Pasted or dropped text comes in as plain text with its separators turned into line breaks.
void LineEditor::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QMimeData plain;
    plain.setText(withLineBreaks(source->text()));
    QPlainTextEdit::insertFromMimeData(&plain);
}

namespace {

qsizetype trailingBlanksStart(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && (text[end - 1] == QLatin1Char(' ') || text[end - 1] == QLatin1Char('\t')))
        --end;
    return end;
}

} // namespace

// The start of the line typed on moves with the text inserted or removed before it. A change
// that removes the start itself (the whole text replaced by a fetch, an undo snapshot or a
// conversion, or a selection across it deleted) ends the line: it is forgotten.
void LineEditor::followTypedLine(int position, int removed, int added) {
    if (removed != 0 || added != 0)
        m_textChanged = true;
    if (m_typedLine < position)
        return;
    if (m_typedLine < position + removed)
        m_typedLine = -1;
    else
        m_typedLine += added - removed;
}

// Only the line the user typed on is trimmed: a string fetched with trailing blanks keeps them.
void LineEditor::trimTypedLine() {
    if (m_typedLine < 0)
        return;
    const QTextBlock block = document()->findBlock(m_typedLine);
    if (!block.isValid() || textCursor().block() == block)
        return;
    m_typedLine = -1;
    const QString text = block.text();
    const qsizetype end = trailingBlanksStart(text);
    if (end == text.size())
        return;
    // The trim is no typing: a caret key that leaves the line does not mark the next one.
    const bool changed = m_textChanged;
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + static_cast<int>(end));
    cursor.setPosition(block.position() + static_cast<int>(text.size()), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    m_textChanged = changed;
}

void LineEditor::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    placeGutter();
}

void LineEditor::updateGutterWidth() {
    setViewportMargins(gutterWidth(), 0, 0, 0);
    placeGutter();
}

void LineEditor::placeGutter() {
    const QRect area = contentsRect();
    m_gutter->setGeometry(QRect(area.left(), area.top(), gutterWidth(), area.height()));
}

void LineEditor::updateGutter(const QRect& rect, int dy) {
    if (dy != 0)
        m_gutter->scroll(0, dy);
    else
        m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
    if (rect.contains(viewport()->rect()))
        updateGutterWidth();
}

void LineEditor::paintGutter(QPaintEvent* event) {
    QPainter painter(m_gutter);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    painter.setFont(m_gutterFont);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int right = m_gutter->width() - kGutterMargin;
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= event->rect().top())
            painter.drawText(kMarksWidth, top, right - kMarksWidth, height,
                             Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(block.blockNumber() + 1));
        block = block.next();
        top += height;
    }
}

} // namespace kalvex
