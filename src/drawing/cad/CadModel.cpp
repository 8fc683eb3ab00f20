#include "drawing/cad/CadModel.h"

#include <atomic>

#include <QString>

#include "drawing/cad/FilterMatcher.h"
#include "drawing/cad/ModelApplication.h"
#include "drawing/cad/ModelEntities.h"
#include "drawing/entities/RecordView.h"
#include "drawing/entities/SimpleEntities.h"
#include "drawing/model/RecordKinds.h"

namespace kalvex::drawing {

std::string foldCadName(const std::string& name) {
    return QString::fromStdString(name).toCaseFolded().toStdString();
}

std::shared_ptr<CadModel> CadModel::create(std::shared_ptr<Drawing> drawing, std::string key) {
    return std::shared_ptr<CadModel>(new CadModel(std::move(drawing), std::move(key)));
}

namespace {

std::string nextModelKey() {
    static std::atomic<std::uint64_t> counter{0};
    return "drawing-" + std::to_string(++counter);
}

} // namespace

std::shared_ptr<CadModel> CadModel::create(std::shared_ptr<Drawing> drawing) {
    return create(std::move(drawing), nextModelKey());
}

CadModel::CadModel(std::shared_ptr<Drawing> drawing, std::string key)
    : m_drawing(std::move(drawing)), m_key(std::move(key)) {}

cad::ApplicationPtr CadModel::application() {
    return std::make_shared<ModelApplication>(shared_from_this());
}

RecordId CadModel::recordOfHandle(const std::string& handle) const {
    const auto id = m_drawing->findHandle(handle);
    const bool isEntity = id && isEntityKind(m_drawing->slot(*id).kind) &&
                          (m_drawing->slot(*id).section == Section::Entities ||
                           m_drawing->slot(*id).section == Section::Blocks);
    if (!isEntity)
        throw cad::CadError("Unknown handle \"" + handle + "\".");
    requireLive(*id);
    return *id;
}

void CadModel::requireLive(RecordId id) const {
    if (m_drawing->slot(id).erased)
        throw cad::CadError("The entity " + m_drawing->handleText(id) + " has been erased.");
}

bool CadModel::isLayerLocked(const std::string& layerName) {
    const auto& layers = m_drawing->layers();
    if (m_indexedLayers != layers.size()) {
        m_layerByName.clear();
        for (RecordId id : layers)
            m_layerByName.emplace(foldCadName(LayerEntry::name(*m_drawing, id)), id);
        m_indexedLayers = layers.size();
    }
    const auto found = m_layerByName.find(foldCadName(layerName));
    return found != m_layerByName.end() && LayerEntry::isLocked(*m_drawing, found->second);
}

void CadModel::requireUnlocked(RecordId id) {
    const std::string layer = RecordView(*m_drawing, id).layer();
    if (isLayerLocked(layer))
        throw cad::CadError("The entity " + m_drawing->handleText(id) +
                            " is on the locked layer \"" + layer + "\".");
}

cad::EntityPtr CadModel::entity(RecordId id) {
    auto self = shared_from_this();
    switch (m_drawing->slot(id).kind) {
    case RecordKind::Text:
        return std::make_shared<ModelText>(self, id);
    case RecordKind::Attrib:
        return std::make_shared<ModelAttribute>(self, id);
    case RecordKind::Insert:
        return std::make_shared<ModelBlockReference>(self, id);
    default:
        return std::make_shared<ModelEntity>(self, id);
    }
}

bool CadModel::matchesFilter(RecordId id, const cad::SelectionFilter& filter) const {
    return FilterMatcher(filter).matches(*m_drawing, id);
}

} // namespace kalvex::drawing
