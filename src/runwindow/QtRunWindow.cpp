#include "runwindow/QtRunWindow.h"

#include <QCoreApplication>
#include <QLabel>

namespace kalvex {

QtRunWindow::QtRunWindow(MessagePort& messages, RunFlagBinding run, QLabel* progress,
                         ProgressPaint paint)
    : m_messages(messages), m_run(run), m_progress(progress), m_paint(paint) {}

void QtRunWindow::inform(const std::string& text) {
    m_messages.inform(QString::fromStdString(text));
}

void QtRunWindow::warn(const std::string& text) {
    m_messages.show({QString::fromStdString(text), MessageIcon::Warning, MessageButtons::Ok});
}

void QtRunWindow::showProgress(const std::string& text) {
    if (!m_progress)
        return;
    m_progress->setText(QString::fromStdString(text));
    if (m_paint == ProgressPaint::Immediate)
        m_progress->repaint();
}

void QtRunWindow::runStarts() {
    if (m_run.flag)
        m_scope.emplace(*m_run.flag, m_run.abortButton);
}

void QtRunWindow::runEnds() {
    m_scope.reset();
}

bool QtRunWindow::proceed() {
    if (m_scope)
        return m_scope->proceed();
    QCoreApplication::processEvents();
    return true;
}

} // namespace kalvex
