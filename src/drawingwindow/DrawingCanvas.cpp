#include "drawingwindow/DrawingCanvas.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <limits>

#include "drawingwindow/SceneHitTest.h"
#include "drawingwindow/ScenePainter.h"

namespace kalvex::drawing {

namespace {
constexpr double kWheelZoom = 1.2;
constexpr double kExtentsMargin = 1.05;
constexpr int kDragThreshold = 3;
// How near a whole number of pixels a move of the view must be for the kept picture to be
// moved instead of painted again.
constexpr double kWholePixel = 1e-3;
// Pixels around a changed area painted again as well, and around a painted area within which
// entities are drawn into it: the half of the widest lineweight, rounding.
constexpr int kRepaintMargin = 6;

const QString kPickPrompt =
    QStringLiteral("オブジェクトを選択: クリック、窓 (左→右)、交差 (右→左)");
const QString kPickFinish = QStringLiteral("[Enter] 確定  [Esc] 中止");
} // namespace

DrawingCanvas::DrawingCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DrawingArea"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
}

void DrawingCanvas::setScene(Scene* scene, ViewState* view) {
    if (isPicking())
        endPick(false);
    m_scene = scene;
    m_view = view ? view : &m_emptyView;
    m_highlighted.clear();
    if (height() > 0)
        m_view->setAspect(static_cast<double>(width()) / height());
    refresh();
}

void DrawingCanvas::refresh() {
    m_cacheTransform.reset();
    m_marker.clear();
    update();
}

void DrawingCanvas::viewChanged() {
    m_marker.clear();
    update();
    emit viewMoved();
}

void DrawingCanvas::zoomExtents() {
    if (!m_scene)
        return;
    m_extentsPending = !isVisible();
    if (m_extentsPending)
        return;
    const QRectF extents = m_scene->extents();
    if (!extents.isValid())
        return;
    m_view->setCenter(extents.center().x(), extents.center().y());
    const double aspect = m_view->aspect() > 0 ? m_view->aspect() : 1.0;
    m_view->setHeight(std::max(extents.height(), extents.width() / aspect) * kExtentsMargin);
    viewChanged();
}

void DrawingCanvas::panByPixels(QPointF delta) {
    const ViewTransform t = transform();
    m_view->setCenter(m_view->centerX() - delta.x() / t.scale,
                      m_view->centerY() + delta.y() / t.scale);
    viewChanged();
}

void DrawingCanvas::zoomAbout(QPointF screenPoint, double factor) {
    const QPointF fixed = transform().toWorld(screenPoint);
    m_view->setHeight(m_view->height() / factor);
    const QPointF moved = transform().toWorld(screenPoint);
    m_view->setCenter(m_view->centerX() + fixed.x() - moved.x(),
                      m_view->centerY() + fixed.y() - moved.y());
    viewChanged();
}

void DrawingCanvas::resizeEvent(QResizeEvent*) {
    if (height() > 0)
        m_view->setAspect(static_cast<double>(width()) / height());
    m_cacheTransform.reset();
    m_stale.resize(size());
}

void DrawingCanvas::repaintAreas(const std::vector<QRectF>& areas) {
    if (!m_cacheTransform || m_cache.size() != size()) {
        update(); // the whole picture is to be painted anyway
        return;
    }
    const ViewTransform& t = *m_cacheTransform;
    for (const QRectF& area : areas) {
        const QRectF pixels =
            QRectF(t.toScreen(area.topLeft()), t.toScreen(area.bottomRight()))
                .normalized()
                .adjusted(-kRepaintMargin, -kRepaintMargin, kRepaintMargin, kRepaintMargin);
        // Far outside the view the pixel coordinates need not fit an int.
        if (pixels.intersects(QRectF(rect())))
            m_stale.mark(pixels.intersected(QRectF(rect())).toAlignedRect());
    }
    if (!m_stale.isEmpty())
        update(m_stale.region());
}

void DrawingCanvas::renderArea(QPainter& painter, const ViewTransform& t, const QRect& pixels) {
    painter.setClipRect(pixels);
    painter.fillRect(pixels, ScenePainter::kBackground);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QPointF margin(kRepaintMargin, -kRepaintMargin);
    const QRectF area =
        QRectF(t.toWorld(pixels.bottomLeft() - margin), t.toWorld(pixels.topRight() + margin))
            .normalized();
    if (!m_scene)
        return;
    ScenePainter scenePainter(painter, t, m_highlighted);
    scenePainter.setBlockPictures(&m_pictures);
    scenePainter.paint(*m_scene, area);
}

void DrawingCanvas::renderCache(const ViewTransform& t) {
    m_cache = QImage(size(), QImage::Format_RGB32);
    QPainter painter(&m_cache);
    renderArea(painter, t, rect());
    m_cacheTransform = t;
    m_stale.clear();
}

// Paints the stale tiles of the kept picture as it was painted, before it is shown or moved.
void DrawingCanvas::renderStale() {
    if (m_stale.isEmpty())
        return;
    if (m_cacheTransform && m_cache.size() == size()) {
        QPainter painter(&m_cache);
        for (const QRect& tile : m_stale.rects())
            renderArea(painter, *m_cacheTransform, tile);
    }
    m_stale.clear();
}

// Moves the kept picture by a whole-pixel pan and paints only the uncovered strips.
bool DrawingCanvas::scrollCache(const ViewTransform& t) {
    if (!m_cacheTransform || m_cacheTransform->scale != t.scale || m_cacheTransform->size != t.size)
        return false;
    const QPointF shift = (m_cacheTransform->centre - t.centre) * t.scale;
    // Only a move by whole pixels keeps the picture exact. A fraction left over would place
    // what is kept apart from what is painted into it later (changed tiles, uncovered strips),
    // and the offsets of moves by the view follow, each to some point of the drawing, add up:
    // after an update the tiles painted afresh no longer met the picture around them.
    if (std::abs(shift.x() - std::round(shift.x())) > kWholePixel ||
        std::abs(shift.y() - std::round(shift.y())) > kWholePixel)
        return false;
    const QPoint pixels(static_cast<int>(std::lround(shift.x())),
                        -static_cast<int>(std::lround(shift.y())));
    if (std::abs(pixels.x()) >= width() || std::abs(pixels.y()) >= height())
        return false;
    QImage moved(size(), QImage::Format_RGB32);
    {
        QPainter painter(&moved);
        painter.drawImage(pixels, m_cache);
    }
    const QRect kept = rect().translated(pixels).intersected(rect());
    const QRegion uncovered = QRegion(rect()).subtracted(kept);
    QPainter painter(&moved);
    for (const QRect& strip : uncovered)
        renderArea(painter, t, strip);
    painter.end();
    m_cache = std::move(moved);
    m_cacheTransform = t;
    return true;
}

void DrawingCanvas::paintEvent(QPaintEvent*) {
    // A drawing opened before the window was laid out is fitted to the size it finally has.
    if (m_extentsPending) {
        m_extentsPending = false;
        zoomExtents();
    }
    renderStale();
    const ViewTransform t = transform();
    if (m_cache.size() != size() || !m_cacheTransform || !(*m_cacheTransform == t)) {
        if (!scrollCache(t))
            renderCache(t);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_cache);
    paintOverlays(painter);
}

void DrawingCanvas::paintOverlays(QPainter& painter) {
    if (m_pressAt && m_dragTo && isPicking()) {
        const bool crossing = m_dragTo->x() < m_pressAt->x();
        QColor fill = crossing ? QColor(80, 200, 120, 50) : QColor(80, 140, 255, 50);
        painter.setPen(QPen(fill.lighter(200), 1, crossing ? Qt::DashLine : Qt::SolidLine));
        painter.setBrush(fill);
        painter.drawRect(QRectF(*m_pressAt, *m_dragTo).normalized());
    }
    if (m_marker.size() >= 2) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(m_markerColor, m_markerWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(m_marker.data(), static_cast<int>(m_marker.size()));
    }
}

void DrawingCanvas::showMarker(const std::vector<QPointF>& points, int penWidth, QColor color) {
    m_marker = points;
    m_markerWidth = penWidth;
    m_markerColor = color;
    update();
}

void DrawingCanvas::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        zoomAbout(event->position(), std::pow(kWheelZoom, notches));
}

void DrawingCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        m_panFrom = event->position();
    } else if (event->button() == Qt::LeftButton && isPicking()) {
        m_pressAt = event->position();
        m_dragTo.reset();
    } else if (event->button() == Qt::RightButton && isPicking()) {
        endPick(true);
    }
}

void DrawingCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (m_panFrom) {
        panByPixels(event->position() - *m_panFrom);
        m_panFrom = event->position();
    } else if (m_pressAt && (event->position() - *m_pressAt).manhattanLength() > kDragThreshold) {
        m_dragTo = event->position();
        update();
    }
}

void DrawingCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        m_panFrom.reset();
        return;
    }
    if (event->button() != Qt::LeftButton || !m_pressAt)
        return;
    const QPointF from = *m_pressAt;
    const bool dragged = m_dragTo.has_value();
    m_pressAt.reset();
    m_dragTo.reset();
    if (!isPicking())
        return;
    if (dragged)
        pickInWindow(from, event->position());
    else
        pickAt(event->position());
}

void DrawingCanvas::keyPressEvent(QKeyEvent* event) {
    const double step = std::min(width(), height()) / 8.0;
    switch (event->key()) {
    case Qt::Key_Escape:
        m_pressAt.reset();
        m_dragTo.reset();
        m_panFrom.reset();
        endPick(false);
        update();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        endPick(true);
        return;
    case Qt::Key_Left:
        return panByPixels({step, 0});
    case Qt::Key_Right:
        return panByPixels({-step, 0});
    case Qt::Key_Up:
        return panByPixels({0, step});
    case Qt::Key_Down:
        return panByPixels({0, -step});
    case Qt::Key_Home:
        return zoomExtents();
    default:
        QWidget::keyPressEvent(event);
    }
}

std::optional<std::vector<RecordId>> DrawingCanvas::pick(const Pickable& pickable) {
    if (isPicking() || !m_scene)
        return std::nullopt;
    QEventLoop loop;
    m_pickLoop = &loop;
    m_pickable = pickable;
    m_picked.clear();
    m_pickAccepted = false;
    setCursor(Qt::CrossCursor);
    setFocus();
    emit promptChanged(kPickPrompt, kPickFinish);
    loop.exec();
    m_pickLoop = nullptr;
    unsetCursor();
    emit promptChanged(QString(), QString());
    m_highlighted.clear();
    refresh();
    if (!m_pickAccepted)
        return std::nullopt;
    return m_picked;
}

void DrawingCanvas::endPick(bool accepted) {
    if (!m_pickLoop)
        return;
    m_pickAccepted = accepted;
    m_pickLoop->quit();
}

void DrawingCanvas::addPicked(RecordId id) {
    if (m_highlighted.insert(id).second)
        m_picked.push_back(id);
}

void DrawingCanvas::pickAt(QPointF screenPoint) {
    const ViewTransform t = transform();
    const double tolerance = kPickBox / t.scale;
    const QPointF at = t.toWorld(screenPoint);
    const QRectF box(at - QPointF(tolerance, tolerance), at + QPointF(tolerance, tolerance));
    RecordId nearest = kNoRecord;
    double best = std::numeric_limits<double>::infinity();
    m_scene->visit(box, [&](const SceneEntry& entry) {
        const double distance = distanceTo(entry, at);
        if (distance <= tolerance && distance < best && m_pickable(entry.id)) {
            best = distance;
            nearest = entry.id;
        }
    });
    if (nearest != kNoRecord) {
        addPicked(nearest);
        refresh();
    }
}

void DrawingCanvas::pickInWindow(QPointF from, QPointF to) {
    const ViewTransform t = transform();
    const QRectF window = QRectF(t.toWorld(from), t.toWorld(to)).normalized();
    const bool crossing = to.x() < from.x();
    std::vector<const SceneEntry*> found;
    m_scene->visit(window, [&](const SceneEntry& entry) {
        const bool taken = crossing ? touches(entry, window) : liesInside(entry, window);
        if (taken && m_pickable(entry.id))
            found.push_back(&entry);
    });
    // Entries come from the index in no particular order; take them in drawing order.
    std::sort(found.begin(), found.end(),
              [](const SceneEntry* a, const SceneEntry* b) { return a->id < b->id; });
    for (const SceneEntry* entry : found)
        addPicked(entry->id);
    refresh();
}

} // namespace kalvex::drawing
