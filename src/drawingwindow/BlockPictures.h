#pragma once

#include <QImage>
#include <QPainter>
#include <array>
#include <functional>
#include <map>
#include <tuple>
#include <unordered_set>

#include "drawingwindow/SceneItems.h"
#include "drawingwindow/ViewTransform.h"

namespace kalvex::drawing {

// Pictures of blocks as drawn at the zoom shown, kept so that each of the many references of a
// block costs one copy of a small image. References that differ only in where they stand
// share a picture: one is made per block, scales and turn of the reference, zoom and fading.
// A block drawn again at the very spot where it was drawn in the same paint is passed over.
class BlockPictures {
public:
    // Paints shapes in full onto a picture, as the painter of the scene paints them.
    using ShapePainter = std::function<void(QPainter&, const ViewTransform&,
                                            const std::vector<SceneShape>&, const SceneEntry&)>;

    // Starts a paint: the blocks drawn so far no longer count as drawn.
    void startPaint(double pixelsPerUnit);
    // Draws the entry's block. False when the block is too large on screen for a picture; it
    // is then for the caller to draw, unless `drawnAlready` says it stands where it was drawn.
    bool draw(QPainter& painter, const ViewTransform& view, const SceneEntry& entry,
              const ShapePainter& paintShapes);
    bool drawnAlready(const SceneEntry& entry);
    std::size_t pictureCount() const { return m_pictures.size(); }

private:
    struct Picture {
        QImage image;
        QPointF offset; // from the screen point of the insertion to the image's corner
    };
    // A picture is made for the block, the turn and scales of the reference's map, and the
    // fading. The block is held, so that no other block can take its address meanwhile.
    using Key = std::tuple<std::shared_ptr<const SceneBlock>, double, double, double, double, bool>;
    // Where a block was drawn: the block, the reference's whole map, the fading.
    struct Spot {
        const SceneBlock* block;
        std::array<double, 6> map;
        bool faded;
        bool operator==(const Spot&) const = default;
    };
    struct SpotHash {
        std::size_t operator()(const Spot& spot) const;
    };

    const Picture* pictureFor(const SceneEntry& entry, const ViewTransform& view,
                              const ShapePainter& paintShapes, QPainter::RenderHints hints);
    static Picture makePicture(const SceneEntry& entry, const ViewTransform& view,
                               const ShapePainter& paintShapes, QPainter::RenderHints hints);

    std::map<Key, Picture> m_pictures;
    std::size_t m_bytes = 0;
    double m_scale = 0.0;
    std::unordered_set<Spot, SpotHash> m_drawn;
};

} // namespace kalvex::drawing
