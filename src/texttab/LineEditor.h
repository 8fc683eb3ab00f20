#pragma once

#include <QPlainTextEdit>

namespace kalvex {

// The line editor of the TEXT tab: one record a line, line numbers in a gutter on the left,
// a fixed-pitch font with Japanese glyphs. Tab is typed as a character. Blanks at the end of the
// line the user typed on are trimmed when the caret leaves that line; no other line is
// trimmed. The editor's own copy and cut keys are removed: the popup menu's commands take
// their place. A line never holds a line or paragraph separator: Shift+Enter breaks the line
// like Enter, and separators pasted, dropped or typed become line breaks, so that each line
// stays one TEXT.
class LineEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kMarksWidth = 13;
    static constexpr int kGutterMargin = 3;

    explicit LineEditor(QWidget* parent = nullptr);

    int gutterWidth() const;
    void paintGutter(QPaintEvent* event);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateGutterWidth();
    void placeGutter();
    void updateGutter(const QRect& rect, int dy);
    void followTypedLine(int position, int removed, int added);
    void trimTypedLine();
    void pressKey(QKeyEvent* event);

    QWidget* m_gutter;
    QFont m_gutterFont;
    int m_typedLine = -1;       // where the line the user last typed on starts; -1 when none
    bool m_textChanged = false; // the text changed since the key press began
};

} // namespace kalvex
