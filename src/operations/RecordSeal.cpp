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
    reseal(document, seal, handles);
    return seal;
}

bool sealHolds(cad::Document& document, const RecordSeal& seal) {
    for (const auto& [handle, image] : seal.held) {
        const std::optional<EntityImage> now = readEntityImage(document, handle);
        if (!now || !(*now == image))
            return false;
    }
    for (const std::string& handle : seal.erased) {
        if (readEntityImage(document, handle))
            return false;
    }
    return true;
}

void reseal(cad::Document& document, RecordSeal& seal, const std::vector<std::string>& handles) {
    std::map<std::string, EntityImage> held;
    for (const std::string& handle : handles) {
        if (std::optional<EntityImage> image = readEntityImage(document, handle))
            held.emplace(handle, std::move(*image));
    }
    for (const auto& [handle, image] : seal.held) {
        if (!held.count(handle) && !readEntityImage(document, handle))
            seal.erased.insert(handle);
    }
    seal.held = std::move(held);
}

} // namespace kalvex
