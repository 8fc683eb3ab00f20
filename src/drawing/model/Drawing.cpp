#include "drawing/model/Drawing.h"

#include "drawing/model/DrawingIndexer.h"
#include "drawing/model/Handles.h"
#include "drawing/tags/GroupCodeTypes.h"
#include "drawing/tags/LargeBuffers.h"
#include "drawing/tags/TagLookup.h"

namespace kalvex::drawing {

namespace {

constexpr std::size_t kWritePiece = std::size_t{1} << 20;

} // namespace

std::unique_ptr<Drawing> Drawing::fromTags(dxf::TagFile file, const std::string& fileName) {
    std::unique_ptr<Drawing> drawing(new Drawing);
    drawing->m_fileName = fileName;
    drawing->m_pool = std::move(file.pool);
    drawing->m_trailingBegin = file.trailingBegin;
    drawing->m_warnings = std::move(file.warnings);
    DrawingIndexer(*drawing, fileName).run(file);
    if (!file.endsWithEof)
        drawing->appendMissingEof();
    return drawing;
}

void Drawing::appendMissingEof() {
    m_warnings.push_back(m_fileName + ": the file ends without EOF; saving it adds EOF");
    RecordSlot& last = m_slots.back();
    last.tags.back() = m_pool.withValue(last.tags.back(), m_pool.value(last.tags.back()));
    RecordSlot eof;
    eof.tags.push_back(m_pool.make(0, "EOF"));
    eof.kind = RecordKind::EndOfFile;
    m_order.push_back(static_cast<RecordId>(m_slots.size()));
    m_slots.push_back(std::move(eof));
    m_trailingBegin = static_cast<std::uint32_t>(m_pool.fileBytes().size());
}

std::string_view Drawing::typeName(RecordId id) const {
    const RecordSlot& record = slot(id);
    if (record.tags.empty() || record.tags.front().code != 0)
        return {};
    return dxf::trimSpaces(m_pool.value(record.tags.front()));
}

std::vector<RecordId> Drawing::modelSpace() const {
    std::vector<RecordId> result;
    auto consider = [&](RecordId id) {
        const RecordSlot& record = m_slots[id];
        if (record.section != Section::Entities || record.erased || record.parent != kNoRecord ||
            record.kind == RecordKind::SectionStart || record.kind == RecordKind::SectionEnd)
            return;
        // Code 67 set to 1 puts an entity of this section into paper space.
        const auto space = dxf::findInMain(record.tags, 67);
        if (space && dxf::trimSpaces(m_pool.value(record.tags[*space])) == "1")
            return;
        result.push_back(id);
    };
    for (RecordId id : m_order) {
        if (m_slots[id].hasInsertedBefore)
            for (RecordId inserted : m_insertedBefore.at(id))
                consider(inserted);
        consider(id);
    }
    return result;
}

std::optional<RecordId> Drawing::findHandle(std::string_view handleText) const {
    const auto handle = parseHandle(handleText);
    if (!handle)
        return std::nullopt;
    return m_handles.find(*handle);
}

std::string Drawing::handleText(RecordId id) const {
    const std::uint64_t handle = slot(id).handle;
    return handle ? formatHandle(handle) : std::string();
}

// Writes pairs in order into `out`, handing `out` to the sink (when there is one) whenever it
// holds a piece. Pairs that follow each other in the file as read are gathered into one stretch
// of the file's bytes, copied at once; a long stretch goes to the sink as it lies in memory.
class Drawing::Writer {
public:
    Writer(const dxf::TagPool& pool, std::string& out, const Sink* sink)
        : m_pool(pool), m_file(pool.fileBytes()), m_out(out), m_sink(sink) {}

    void add(const dxf::Tag& tag) {
        if (tag.inSideStore()) {
            endStretch();
            m_out.append(m_pool.bytes(tag));
            handOnFull();
            return;
        }
        // Nearly every pair has short lines: where it ends is known without a search.
        const std::uint32_t end =
            tag.hasShortCodeLine() && tag.hasShortValue()
                ? tag.begin + tag.shortCodeLine() + tag.valueSize + tag.lineEndLength()
                : tag.begin + static_cast<std::uint32_t>(m_pool.bytes(tag).size());
        addFileBytes(tag.begin, end);
    }
    void addFileBytes(std::uint32_t begin, std::uint32_t end) {
        if (m_stretchEnd != begin || m_stretchBegin == m_stretchEnd) {
            endStretch();
            m_stretchBegin = begin;
        }
        m_stretchEnd = end;
    }
    // True when everything went to the sink.
    bool finish() {
        endStretch();
        if (m_sink && !m_out.empty())
            handOn(m_out);
        return m_written;
    }

private:
    static constexpr std::size_t kPiece = std::size_t{1} << 20;

    void endStretch() {
        const std::string_view stretch =
            std::string_view(m_file).substr(m_stretchBegin, m_stretchEnd - m_stretchBegin);
        m_stretchBegin = m_stretchEnd = 0;
        if (stretch.empty())
            return;
        if (m_sink && stretch.size() >= kPiece) {
            if (!m_out.empty())
                handOn(m_out);
            handOn(stretch);
            return;
        }
        m_out.append(stretch);
        handOnFull();
    }
    void handOnFull() {
        if (m_sink && m_out.size() >= kPiece)
            handOn(m_out);
    }
    void handOn(std::string_view bytes) {
        if (m_written)
            m_written = (*m_sink)(bytes);
        if (bytes.data() == m_out.data())
            m_out.clear();
    }

    const dxf::TagPool& m_pool;
    const std::string& m_file;
    std::string& m_out;
    const Sink* m_sink;
    std::uint32_t m_stretchBegin = 0;
    std::uint32_t m_stretchEnd = 0;
    bool m_written = true;
};

void Drawing::writeRecord(Writer& writer, RecordId id) const {
    const RecordSlot& record = m_slots[id];
    if (record.hasInsertedBefore)
        for (RecordId inserted : m_insertedBefore.at(id))
            writeRecord(writer, inserted);
    if (record.erased)
        return;
    for (const dxf::Tag& tag : record.tags)
        writer.add(tag);
}

std::string Drawing::serialize() const {
    std::string out;
    dxf::reserveLarge(out, m_pool.fileBytes().size() + m_pool.sideSize());
    writeRecords(out, nullptr);
    return out;
}

bool Drawing::write(const Sink& sink) const {
    std::string piece;
    piece.reserve(kWritePiece + 4096);
    return writeRecords(piece, &sink);
}

bool Drawing::writeRecords(std::string& out, const Sink* sink) const {
    Writer writer(m_pool, out, sink);
    for (RecordId id : m_order)
        writeRecord(writer, id);
    writer.addFileBytes(m_trailingBegin, static_cast<std::uint32_t>(m_pool.fileBytes().size()));
    return writer.finish();
}

void Drawing::setTags(RecordId id, dxf::TagList tags) {
    commit(id, RecordImage{std::move(tags), slot(id).erased});
}

void Drawing::setPair(RecordId id, std::size_t index, dxf::Tag tag) {
    RecordChange change;
    change.record = id;
    change.other.erased = slot(id).erased;
    change.pairIndex = static_cast<std::uint32_t>(index);
    change.pair = tag;
    exchange(change);
    m_undo.record(std::move(change));
}

void Drawing::setErased(RecordId id, bool erased) {
    commit(id, RecordImage{slot(id).tags, erased});
}

std::vector<RecordId> Drawing::insertBefore(RecordId anchor, std::vector<NewRecord> records) {
    std::vector<RecordId> ids;
    const CompoundChange step(*this);
    auto& list = m_insertedBefore[anchor];
    m_slots.at(anchor).hasInsertedBefore = true;
    for (NewRecord& record : records) {
        const auto id = static_cast<RecordId>(m_slots.size());
        RecordSlot slot;
        slot.kind = record.kind;
        slot.section = record.section;
        slot.parent = record.parent;
        slot.childCount = record.childCount;
        slot.erased = true; // brought to life by the recorded change below
        m_slots.push_back(std::move(slot));
        list.push_back(id);
        if (record.handle)
            indexHandle(id, record.handle);
        commit(id, RecordImage{std::move(record.tags), false});
        ids.push_back(id);
    }
    return ids;
}

std::uint64_t Drawing::allocateHandle() {
    const std::uint64_t handle = m_nextHandle++;
    if (m_header == kNoRecord)
        return handle;
    // $HANDSEED is not part of any undo step: handles are never given out twice.
    dxf::TagList& tags = m_slots[m_header].tags;
    for (std::size_t i = 0; i + 1 < tags.size(); ++i)
        if (tags[i].code == 9 && dxf::trimSpaces(m_pool.value(tags[i])) == "$HANDSEED")
            tags[i + 1] = m_pool.withValue(tags[i + 1], formatHandle(m_nextHandle));
    return handle;
}

void Drawing::indexHandle(RecordId id, std::uint64_t handle) {
    m_slots[id].handle = handle;
    m_handles.add(handle, id);
}

void Drawing::commit(RecordId id, RecordImage after) {
    RecordChange change;
    change.record = id;
    change.other = std::move(after);
    exchange(change);
    m_undo.record(std::move(change));
}

void Drawing::exchange(RecordChange& change) {
    RecordSlot& record = m_slots.at(change.record);
    if (change.pairIndex != RecordChange::kWholeRecord)
        std::swap(record.tags.at(change.pairIndex), change.pair);
    else
        std::swap(record.tags, change.other.tags);
    std::swap(record.erased, change.other.erased);
    if (m_changeListener)
        m_changeListener(change.record);
}

void Drawing::undo() {
    if (!m_undo.canUndo())
        return;
    auto& group = m_undo.groupToUndo();
    for (auto change = group.rbegin(); change != group.rend(); ++change)
        exchange(*change);
    m_undo.undone();
}

void Drawing::redo() {
    if (!m_undo.canRedo())
        return;
    for (RecordChange& change : m_undo.groupToRedo())
        exchange(change);
    m_undo.redone();
}

} // namespace kalvex::drawing
