#pragma once

#include <QPointF>
#include <string_view>
#include <vector>

#include "drawingwindow/render/EntityTags.h"

namespace kalvex::drawing {

// What a MULTILEADER's pairs say about its picture.
struct MultiLeader {
    struct Branch {
        std::vector<std::vector<QPointF>> lines; // each from its arrow tip on
        QPointF connection;                      // where the lines meet the landing
        QPointF doglegDirection{1, 0};
        double doglegLength = 0.0;
    };
    // A block attribute: the ATTDEF's handle and the value shown.
    struct Attribute {
        std::string_view attdefHandle;
        std::string_view text;
    };
    std::vector<Branch> branches;
    int lineType = 1; // 0 invisible, 1 straight, 2 spline
    bool dogleg = true;
    std::string_view arrowHandle;
    double arrowSize = 2.5;
    int contentType = 2; // 1 block, 2 MTEXT
    bool hasText = false;
    std::string_view text;
    double textHeight = 2.5, textWidth = 0.0;
    QPointF textInsert, textDirection{1, 0};
    int textAlignment = 1;
    std::string_view blockHandle;
    QPointF blockInsert, blockScale{1, 1};
    double blockRotation = 0.0; // radians
    std::vector<Attribute> attributes;

    void readContext(const EntityTags& tags, std::size_t i);
};

MultiLeader readMultiLeader(const EntityTags& tags);

} // namespace kalvex::drawing
