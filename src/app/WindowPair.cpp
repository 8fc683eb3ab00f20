#include "app/WindowPair.h"

#include <QEvent>
#include <QTimer>

#include "app/DrawingWindowSettings.h"
#include "drawingwindow/DrawingWindow.h"
#include "shell/IniFile.h"

namespace kalvex {

WindowPair::WindowPair(QWidget& tool, drawing::DrawingWindow& drawingWindow, QString settingsPath)
    : m_tool(&tool), m_drawingWindow(&drawingWindow), m_settingsPath(std::move(settingsPath)) {
    tool.installEventFilter(this);
    connect(&drawingWindow, &drawing::DrawingWindow::closed, this,
            &WindowPair::drawingWindowClosed);
}

WindowPair::~WindowPair() {
    if (m_tool)
        m_tool->removeEventFilter(this);
}

// The tool closes only after the drawing window did; the tool's own close handler then writes
// its settings as always.
bool WindowPair::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_tool || event->type() != QEvent::Close || m_drawingWindowClosed ||
        !m_drawingWindow)
        return false;
    if (m_drawingWindow->close())
        return false;
    event->ignore();
    return true;
}

// Closed by the user, the drawing window takes the tool along, once its own close is over.
void WindowPair::drawingWindowClosed() {
    m_drawingWindowClosed = true;
    saveDrawingWindow();
    QTimer::singleShot(0, this, [this] {
        if (m_tool && m_tool->isVisible())
            m_tool->close();
    });
}

void WindowPair::saveDrawingWindow() const {
    IniFile file = IniFile::load(m_settingsPath);
    writeDrawingWindowSettings(file, {m_drawingWindow->frameGeometry(), m_drawingWindow->filePath(),
                                      m_drawingWindow->layerPanelWidth()});
    file.save(m_settingsPath);
}

} // namespace kalvex
