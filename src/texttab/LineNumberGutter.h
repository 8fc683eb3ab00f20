#pragma once

#include <QWidget>

namespace kalvex {

class LineEditor;

// The line-number band beside the editor; the editor sizes and paints it.
class LineNumberGutter : public QWidget {
public:
    explicit LineNumberGutter(LineEditor* editor);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    LineEditor* m_editor;
};

} // namespace kalvex
