#include "operations/RecordSeal.h"

#include "cadlink/AttributeReference.h"
#include "cadlink/CadError.h"
#include "cadlink/Text.h"
#include "operations/TextLineWriter.h"

namespace kalvex {

const char* const kDrawingChangedMessage =
    "データを取得した後に、図面の TEXT や属性がツールの外で変更されました"
    "（元に戻す・やり直し・再読み込みなど）。\n"
    "もう一度データを取得してください。図面には何も書き込みませんでした。";

std::optional<EntityImage> readEntityImage(cad::Document& document, const std::string& handle) {
    try {
        const cad::EntityPtr entity = document.HandleToObject(handle);
        if (auto text = std::dynamic_pointer_cast<cad::Text>(entity))
            return EntityImage{text->TextString(), placingPoint(*text)};
        if (auto attribute = std::dynamic_pointer_cast<cad::AttributeReference>(entity))
            return EntityImage{attribute->TextString(), attribute->InsertionPoint()};
    } catch (const cad::CadError&) {
    }
    return std::nullopt;
}

RecordSeal sealEntities(cad::Document& document, const std::vector<std::string>& handles) {
    RecordSeal seal;
    for (const std::string& handle : handles) {
        if (std::optional<EntityImage> image = readEntityImage(document, handle))
            seal.held.emplace(handle, std::move(*image));
    }
    return seal;
}

namespace {

bool imageHolds(cad::Document& document, const RecordSeal& seal, const std::string& handle,
                const EntityImage& image) {
    const std::optional<EntityImage> now = readEntityImage(document, handle);
    const bool written = seal.written.count(handle) > 0;
    if (!now)
        return !written;
    return now->text == image.text && (!written || now->point == image.point);
}

// The entity is new to the seal or holds something else than it did: the tool wrote it.
void take(RecordSeal& seal, EntityImages& held, const std::string& handle, EntityImage image) {
    const auto known = seal.held.find(handle);
    if (known == seal.held.end() || !(known->second == image))
        seal.written.insert(handle);
    held[handle] = std::move(image);
}

} // namespace

bool sealHolds(cad::Document& document, const RecordSeal& seal) {
    for (const auto& [handle, image] : seal.held) {
        if (!imageHolds(document, seal, handle, image))
            return false;
    }
    for (const std::string& handle : seal.erased) {
        if (readEntityImage(document, handle))
            return false;
    }
    return true;
}

bool sealHoldsFor(cad::Document& document, const RecordSeal& seal, const std::string& handle) {
    const auto known = seal.held.find(handle);
    return known == seal.held.end() || imageHolds(document, seal, handle, known->second);
}

void resealOne(cad::Document& document, RecordSeal& seal, const std::string& handle) {
    if (std::optional<EntityImage> image = readEntityImage(document, handle))
        take(seal, seal.held, handle, std::move(*image));
}

// The images of the listed entities move node by node from the old map into the new one, so a
// reseal of hundreds of thousands of records holds one map of images at a time, not two.
void reseal(cad::Document& document, RecordSeal& seal, const std::vector<std::string>& handles) {
    EntityImages held;
    for (const std::string& handle : handles) {
        std::optional<EntityImage> image = readEntityImage(document, handle);
        if (!image)
            continue;
        auto node = seal.held.extract(handle);
        if (node.empty()) {
            // Listed twice: the first listing took the image the seal had.
            if (held.count(handle))
                continue;
            take(seal, held, handle, std::move(*image));
            continue;
        }
        if (!(node.mapped() == *image))
            seal.written.insert(handle);
        node.mapped() = std::move(*image);
        held.insert(std::move(node));
    }
    for (const auto& [handle, image] : seal.held) {
        if (!readEntityImage(document, handle)) {
            seal.erased.insert(handle);
            seal.written.erase(handle);
        }
    }
    seal.held = std::move(held);
}

} // namespace kalvex
