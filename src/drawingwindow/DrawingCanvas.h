#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <unordered_set>

#include "drawing/cad/ViewState.h"
#include "drawingwindow/BlockPictures.h"
#include "drawingwindow/RepaintTiles.h"
#include "drawingwindow/Scene.h"
#include "drawingwindow/ViewTransform.h"
#include "platform/WindowSystem.h"

class QEventLoop;

namespace kalvex::drawing {

// The drawing area: paints model space at the view's centre and height, pans and zooms, and
// lets the user pick entities on screen. What was painted is kept, so a pan repaints only
// the strip it uncovers and a change of the drawing only the tiles it touches.
class DrawingCanvas : public QWidget {
    Q_OBJECT
public:
    explicit DrawingCanvas(QWidget* parent = nullptr);

    // What to show; null shows an empty area.
    void setScene(Scene* scene, ViewState* view);
    ViewTransform transform() const { return ViewTransform::of(*m_view, size()); }
    void zoomExtents();
    void panByPixels(QPointF delta);
    void zoomAbout(QPointF screenPoint, double factor);
    // Repaints everything (the scene or the view changed from outside).
    void refresh();
    // The view was moved from outside: what stays on screen is kept, the rest painted.
    void followView() { viewChanged(); }
    // Paints again where the drawing changed, given in drawing units; the rest is kept.
    void repaintAreas(const std::vector<QRectF>& areas);
    // The tiles waiting to be painted again, in pixels.
    const RepaintTiles& staleTiles() const { return m_stale; }

    // Lets the user pick: a click takes the entity under the pick box, a drag left to right
    // takes what lies inside the window, right to left what the window crosses. Enter, Space
    // or the right button end the selection; Escape cancels it (no result).
    using Pickable = std::function<bool(RecordId)>;
    std::optional<std::vector<RecordId>> pick(const Pickable& pickable);
    bool isPicking() const { return m_pickLoop != nullptr; }
    void cancelPick() { endPick(false); }
    const std::vector<RecordId>& picked() const { return m_picked; }

    // A mark drawn over the picture until the next repaint; points in widget pixels.
    void showMarker(const std::vector<QPointF>& points, int penWidth, QColor color);
    const std::vector<QPointF>& marker() const { return m_marker; }

    static constexpr int kPickBox = 5; // pixels either side of the cursor

signals:
    void promptChanged(const QString& prompt, const QString& finish);
    void viewMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void renderCache(const ViewTransform& t);
    void renderArea(QPainter& painter, const ViewTransform& t, const QRect& pixels);
    void renderStale();
    bool scrollCache(const ViewTransform& t);
    void paintOverlays(QPainter& painter);
    void pickAt(QPointF screenPoint);
    void pickInWindow(QPointF from, QPointF to);
    void addPicked(RecordId id);
    void endPick(bool accepted);
    void viewChanged();

    Scene* m_scene = nullptr;
    ViewState m_emptyView;
    ViewState* m_view = &m_emptyView;
    QImage m_cache;
    std::optional<ViewTransform> m_cacheTransform;
    RepaintTiles m_stale; // parts of m_cache to paint again before it is shown
    BlockPictures m_pictures;
    std::unordered_set<RecordId> m_highlighted;
    std::vector<QPointF> m_marker;
    int m_markerWidth = 1;
    QColor m_markerColor;

    QEventLoop* m_pickLoop = nullptr;
    bool m_pickAccepted = false;
    Pickable m_pickable;
    std::vector<RecordId> m_picked;
    std::optional<QPointF> m_pressAt;
    std::optional<QPointF> m_dragTo;
    std::optional<QPointF> m_panFrom;
    bool m_extentsPending = false;
};

} // namespace kalvex::drawing
