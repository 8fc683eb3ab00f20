#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace kalvex {

namespace drawing {
class DrawingWindow;
}

// The tool and the drawing window are one program: closing either closes both, once the
// drawing window has asked about unsaved changes; Cancel there keeps both open. When the
// drawing window closes, its frame and drawing are written to the settings file.
class WindowPair : public QObject {
public:
    WindowPair(QWidget& tool, drawing::DrawingWindow& drawingWindow, QString settingsPath);
    ~WindowPair() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drawingWindowClosed();
    void saveDrawingWindow() const;

    QPointer<QWidget> m_tool;
    QPointer<drawing::DrawingWindow> m_drawingWindow;
    QString m_settingsPath;
    bool m_drawingWindowClosed = false;
};

} // namespace kalvex
