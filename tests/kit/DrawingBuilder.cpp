#include "kit/DrawingBuilder.h"

#include "drawing/entities/RecordView.h"
#include "drawing/entities/TextAlignment.h"
#include "drawing/model/Handles.h"

namespace kalvex::drawing {

namespace {

constexpr const char* kSkeleton = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1027\n"
                                  "  9\n$DWGCODEPAGE\n  3\nANSI_1252\n  9\n$HANDSEED\n  5\n10\n"
                                  "  0\nENDSEC\n  0\nSECTION\n  2\nTABLES\n"
                                  "  0\nTABLE\n  2\nLAYER\n 70\n0\n  0\nENDTAB\n  0\nENDSEC\n"
                                  "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n"
                                  "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n";

// Builds the pairs of one new record.
class TagMaker {
public:
    explicit TagMaker(Drawing& drawing) : m_drawing(drawing) {}
    TagMaker& raw(std::int16_t code, const std::string& value) {
        m_tags.push_back(m_drawing.pool().make(code, value));
        return *this;
    }
    TagMaker& text(std::int16_t code, const std::string& utf8) {
        return raw(code, m_drawing.codec().encode(utf8));
    }
    TagMaker& real(std::int16_t code, double value) { return raw(code, formatReal(value)); }
    TagMaker& point(std::int16_t code, const cad::CadPoint& p) {
        return real(code, p.x())
            .real(static_cast<std::int16_t>(code + 10), p.y())
            .real(static_cast<std::int16_t>(code + 20), p.z());
    }
    dxf::TagList take() { return std::move(m_tags); }

private:
    Drawing& m_drawing;
    dxf::TagList m_tags;
};

Drawing::NewRecord newRecord(RecordKind kind, Section section, std::uint64_t handle,
                             dxf::TagList tags) {
    Drawing::NewRecord record;
    record.kind = kind;
    record.section = section;
    record.handle = handle;
    record.tags = std::move(tags);
    return record;
}

// The pairs shared by TEXT and ATTRIB: the AcDbText part.
void addTextPart(TagMaker& maker, const std::string& text, int alignment,
                 const cad::CadPoint& insertion, const cad::CadPoint& alignmentPoint,
                 double height) {
    const AlignmentCodes codes = codesFromAlignment(alignment);
    maker.raw(100, "AcDbText").point(10, insertion).real(40, height).text(1, text);
    maker.raw(72, std::to_string(codes.horizontal));
    if (alignment != 0)
        maker.point(11, alignmentPoint);
}

} // namespace

DrawingBuilder::DrawingBuilder()
    : m_drawing(Drawing::fromTags(dxf::readTags(kSkeleton, "(new drawing)"), "(new drawing)")) {
    layer("0");
}

DrawingBuilder& DrawingBuilder::layer(const std::string& name, LayerState state) {
    Drawing& d = *m_drawing;
    const std::uint64_t handle = d.allocateHandle();
    TagMaker maker(d);
    maker.raw(0, "LAYER").raw(5, formatHandle(handle)).raw(100, "AcDbSymbolTableRecord");
    maker.raw(100, "AcDbLayerTableRecord").text(2, name);
    maker.raw(70, state == LayerState::Locked ? "4" : "0").raw(62, "7").raw(6, "CONTINUOUS");
    std::vector<Drawing::NewRecord> records;
    records.push_back(newRecord(RecordKind::Layer, Section::Tables, handle, maker.take()));
    d.addLayerRecord(d.insertBefore(d.layerTableEnd(), std::move(records)).front());
    return *this;
}

DrawingBuilder& DrawingBuilder::block(const std::string& name,
                                      const std::vector<AttributeDefinitionSpec>& definitions) {
    Drawing& d = *m_drawing;
    std::vector<Drawing::NewRecord> records;
    auto add = [&](RecordKind kind, TagMaker& maker, std::uint64_t handle) {
        records.push_back(newRecord(kind, Section::Blocks, handle, maker.take()));
    };
    std::uint64_t handle = d.allocateHandle();
    TagMaker begin(d);
    begin.raw(0, "BLOCK").raw(5, formatHandle(handle)).raw(100, "AcDbEntity").raw(8, "0");
    begin.raw(100, "AcDbBlockBegin").text(2, name).raw(70, definitions.empty() ? "0" : "2");
    begin.point(10, {0, 0, 0}).text(3, name).raw(1, "");
    add(RecordKind::Block, begin, handle);
    for (const AttributeDefinitionSpec& definition : definitions) {
        handle = d.allocateHandle();
        TagMaker maker(d);
        maker.raw(0, "ATTDEF").raw(5, formatHandle(handle)).raw(100, "AcDbEntity").raw(8, "0");
        addTextPart(maker, definition.defaultText, 0, {0, 0, 0}, {0, 0, 0}, 2.5);
        maker.raw(100, "AcDbAttributeDefinition").text(3, definition.prompt);
        maker.text(2, definition.tag).raw(70, "0");
        add(RecordKind::Attdef, maker, handle);
    }
    handle = d.allocateHandle();
    TagMaker end(d);
    end.raw(0, "ENDBLK").raw(5, formatHandle(handle)).raw(100, "AcDbEntity").raw(8, "0");
    end.raw(100, "AcDbBlockEnd");
    add(RecordKind::EndBlock, end, handle);
    const auto ids = d.insertBefore(d.blocksEnd(), std::move(records));
    d.addBlockDefinition(
        {ids.front(), ids.back(), std::vector<RecordId>(ids.begin() + 1, ids.end() - 1)});
    return *this;
}

std::string DrawingBuilder::text(const TextSpec& given) {
    Drawing& d = *m_drawing;
    const std::uint64_t handle = d.allocateHandle();
    TagMaker maker(d);
    maker.raw(0, "TEXT").raw(5, formatHandle(handle)).raw(100, "AcDbEntity").text(8, given.layer);
    addTextPart(maker, given.text, given.alignment, given.insertion, given.alignmentPoint,
                given.height);
    maker.raw(100, "AcDbText")
        .raw(73, std::to_string(codesFromAlignment(given.alignment).vertical));
    std::vector<Drawing::NewRecord> records;
    records.push_back(newRecord(RecordKind::Text, Section::Entities, handle, maker.take()));
    d.insertBefore(d.entitiesEnd(), std::move(records));
    return formatHandle(handle);
}

std::vector<std::string> DrawingBuilder::insert(const InsertSpec& given) {
    Drawing& d = *m_drawing;
    const RecordId first = static_cast<RecordId>(d.recordCount());
    const std::uint64_t insertHandle = d.allocateHandle();
    const std::string owner = formatHandle(insertHandle);
    TagMaker maker(d);
    maker.raw(0, "INSERT").raw(5, owner).raw(100, "AcDbEntity").text(8, given.layer);
    maker.raw(100, "AcDbBlockReference");
    if (!given.attributes.empty())
        maker.raw(66, "1");
    maker.text(2, given.block).point(10, given.insertion);
    std::vector<Drawing::NewRecord> records;
    records.push_back(newRecord(RecordKind::Insert, Section::Entities, insertHandle, maker.take()));
    for (const AttributeSpec& attribute : given.attributes)
        records.push_back(attributeRecord(attribute, owner));
    if (!given.attributes.empty())
        records.push_back(sequenceEnd(given.layer, owner));
    std::vector<std::string> handles;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0)
            records[i].parent = first;
        if (i == 0 || records[i].kind == RecordKind::Attrib)
            handles.push_back(formatHandle(records[i].handle));
    }
    records.front().childCount = static_cast<std::uint32_t>(records.size() - 1);
    d.insertBefore(d.entitiesEnd(), std::move(records));
    return handles;
}

Drawing::NewRecord DrawingBuilder::attributeRecord(const AttributeSpec& given,
                                                   const std::string& owner) {
    Drawing& d = *m_drawing;
    const std::uint64_t handle = d.allocateHandle();
    TagMaker maker(d);
    maker.raw(0, "ATTRIB").raw(5, formatHandle(handle)).raw(330, owner).raw(100, "AcDbEntity");
    maker.text(8, given.layer);
    addTextPart(maker, given.text, given.alignment, given.insertion, given.alignmentPoint, 2.5);
    maker.raw(100, "AcDbAttribute").text(2, given.tag).raw(70, "0");
    maker.raw(74, std::to_string(codesFromAlignment(given.alignment).vertical));
    return newRecord(RecordKind::Attrib, Section::Entities, handle, maker.take());
}

Drawing::NewRecord DrawingBuilder::sequenceEnd(const std::string& layer, const std::string& owner) {
    Drawing& d = *m_drawing;
    const std::uint64_t handle = d.allocateHandle();
    TagMaker maker(d);
    maker.raw(0, "SEQEND").raw(5, formatHandle(handle)).raw(330, owner).raw(100, "AcDbEntity");
    maker.text(8, layer);
    return newRecord(RecordKind::Seqend, Section::Entities, handle, maker.take());
}

std::shared_ptr<Drawing> DrawingBuilder::drawing() {
    m_drawing->clearHistory();
    return m_drawing;
}

std::shared_ptr<CadModel> DrawingBuilder::model() {
    return CadModel::create(drawing());
}

} // namespace kalvex::drawing
