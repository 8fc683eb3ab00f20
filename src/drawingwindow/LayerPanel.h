#pragma once

#include <QListWidget>

#include "drawing/model/Drawing.h"

namespace kalvex::drawing {

// The drawing's layers, each with a check box that locks or unlocks it.
class LayerPanel : public QListWidget {
    Q_OBJECT
public:
    explicit LayerPanel(QWidget* parent = nullptr);
    void showLayers(Drawing* drawing);

signals:
    void lockToggled(RecordId layer, bool locked);

private:
    void itemToggled(QListWidgetItem* item);
    bool m_filling = false;
};

} // namespace kalvex::drawing
