#include "drawingwindow/PromptLine.h"

#include <QHBoxLayout>

namespace kalvex::drawing {

namespace {

constexpr int kMargin = 8;
constexpr int kSpacing = 12;
// The longest finishing hint the window gives; the strip keeps room for it at any width.
const QString kWidestFinish = QStringLiteral("[Enter] 確定  [Esc] 中止");

} // namespace

PromptLine::PromptLine(int height, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PromptLine"));
    setAttribute(Qt::WA_StyledBackground);
    setFixedHeight(height);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kMargin, 0, kMargin, 0);
    layout->setSpacing(kSpacing);
    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("PromptText"));
    // A long prompt is shortened rather than keeping the window wide.
    m_prompt->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_finish = new QLabel(this);
    m_finish->setObjectName(QStringLiteral("PromptFinish"));
    m_finish->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    layout->addWidget(m_prompt, 1);
    layout->addWidget(m_finish);
}

QSize PromptLine::minimumSizeHint() const {
    // Room for the hint and a character of the prompt before it.
    const QFontMetrics metrics = m_finish->fontMetrics();
    const int hint = metrics.horizontalAdvance(kWidestFinish) + metrics.horizontalAdvance(u'…');
    return QWidget::minimumSizeHint().expandedTo(QSize(2 * kMargin + kSpacing + hint, height()));
}

void PromptLine::setPrompt(const QString& prompt, const QString& finish) {
    m_fullPrompt = prompt;
    m_finish->setText(finish);
    m_finish->setVisible(!finish.isEmpty());
    elide();
}

QString PromptLine::text() const {
    if (m_finish->text().isEmpty())
        return m_prompt->text();
    return m_prompt->text() + QStringLiteral("  ") + m_finish->text();
}

void PromptLine::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    elide();
}

void PromptLine::elide() {
    int room = width() - 2 * kMargin;
    if (m_finish->isVisibleTo(this))
        room -= m_finish->sizeHint().width() + kSpacing;
    m_prompt->setText(
        m_prompt->fontMetrics().elidedText(m_fullPrompt, Qt::ElideRight, std::max(room, 0)));
}

} // namespace kalvex::drawing
