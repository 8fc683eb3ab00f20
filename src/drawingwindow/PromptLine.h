#pragma once

#include <QLabel>
#include <QWidget>

namespace kalvex::drawing {

// The strip above the drawing that tells the user what the window waits for. A prompt may come
// with a finishing hint ("[Enter] 確定  [Esc] 中止"): the hint is always shown whole at the
// right, and the prompt before it gives way, shortened with an ellipsis, when the strip is
// narrow. The strip is never narrower than its hint.
class PromptLine : public QWidget {
    Q_OBJECT
public:
    explicit PromptLine(int height, QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    void setPrompt(const QString& prompt, const QString& finish = QString());
    void clear() { setPrompt(QString()); }
    // The prompt and its hint as the user reads them, shortened or not.
    QString text() const;
    QString shownPrompt() const { return m_prompt->text(); }
    const QLabel* finishLabel() const { return m_finish; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QLabel* m_prompt = nullptr;
    QLabel* m_finish = nullptr;
    QString m_fullPrompt;
};

} // namespace kalvex::drawing
