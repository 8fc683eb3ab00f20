#include "drawingwindow/LayerPanel.h"

#include "drawing/entities/SimpleEntities.h"

namespace kalvex::drawing {

LayerPanel::LayerPanel(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("LayerPanel"));
    setToolTip(QStringLiteral("チェックした画層はロックされます"));
    connect(this, &QListWidget::itemChanged, this, &LayerPanel::itemToggled);
}

void LayerPanel::showLayers(Drawing* drawing) {
    m_filling = true;
    clear();
    if (drawing) {
        for (RecordId id : drawing->layers()) {
            if (drawing->slot(id).erased)
                continue;
            const QString name = QString::fromStdString(LayerEntry::name(*drawing, id));
            auto* item = new QListWidgetItem(name, this);
            // A name wider than the panel is read whole from its tip.
            item->setToolTip(name);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(LayerEntry::isLocked(*drawing, id) ? Qt::Checked : Qt::Unchecked);
            item->setData(Qt::UserRole, id);
        }
    }
    m_filling = false;
}

void LayerPanel::itemToggled(QListWidgetItem* item) {
    if (m_filling)
        return;
    emit lockToggled(item->data(Qt::UserRole).toUInt(), item->checkState() == Qt::Checked);
}

} // namespace kalvex::drawing
