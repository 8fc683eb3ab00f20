#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "drawing/model/HandleIndex.h"
#include "drawing/model/Record.h"
#include "drawing/model/TextCodec.h"
#include "drawing/model/UndoLog.h"
#include "drawing/tags/TagPool.h"
#include "drawing/tags/TagReader.h"

namespace kalvex::drawing {

struct BlockDefinition {
    RecordId block = kNoRecord;
    RecordId end = kNoRecord;    // its ENDBLK; records added to the block go before it
    std::vector<RecordId> items; // top-level entities of the block, in order
};

// A drawing held as the records of its file. The ordered pairs of each record are the
// source of truth; everything else here is an index over them. Records are created, changed
// and erased only through the three change calls, which record before/after images.
class Drawing {
public:
    // Indexes the records of a read file. Throws DxfError for a damaged structure.
    static std::unique_ptr<Drawing> fromTags(dxf::TagFile file, const std::string& fileName);

    const std::string& fileName() const { return m_fileName; }
    const std::vector<std::string>& warnings() const { return m_warnings; }
    dxf::TagPool& pool() { return m_pool; }
    const dxf::TagPool& pool() const { return m_pool; }
    const TextCodec& codec() const { return *m_codec; }

    std::size_t recordCount() const { return m_slots.size(); }
    const RecordSlot& slot(RecordId id) const { return m_slots.at(id); }
    std::string_view value(const dxf::Tag& tag) const { return m_pool.value(tag); }
    std::string_view typeName(RecordId id) const;

    const std::vector<RecordId>& layers() const { return m_layers; }
    const std::vector<BlockDefinition>& blocks() const { return m_blocks; }
    // Top-level entities of model space in drawing order, erased ones and those of paper
    // space left out.
    std::vector<RecordId> modelSpace() const;
    std::optional<RecordId> findHandle(std::string_view handleText) const;
    std::string handleText(RecordId id) const;

    // The whole file as it would be saved.
    std::string serialize() const;
    // The same in pieces of about a megabyte handed to `sink` in order, so that a large
    // drawing is saved without a second copy of it in memory; stops when `sink` returns false
    // and returns false then.
    using Sink = std::function<bool(std::string_view)>;
    bool write(const Sink& sink) const;

    // The change calls: every change of the drawing goes through one of them.
    void setTags(RecordId id, dxf::TagList tags);
    // Replaces the pair at `index` of the record; the undo step keeps only the old pair.
    void setPair(RecordId id, std::size_t index, dxf::Tag tag);
    void setErased(RecordId id, bool erased);
    struct NewRecord {
        dxf::TagList tags;
        RecordKind kind = RecordKind::Other;
        Section section = Section::None;
        RecordId parent = kNoRecord;
        std::uint32_t childCount = 0;
        std::uint64_t handle = 0;
    };
    // Adds records in order before the anchor record (an ENDSEC, ENDTAB or ENDBLK), as one
    // undo step.
    std::vector<RecordId> insertBefore(RecordId anchor, std::vector<NewRecord> records);

    // A handle never used in this drawing; $HANDSEED moves past it.
    std::uint64_t allocateHandle();

    // Where new records of each kind go.
    RecordId entitiesEnd() const { return m_entitiesEnd; }
    RecordId layerTableEnd() const { return m_layerTableEnd; }
    RecordId blocksEnd() const { return m_blocksEnd; }
    void addLayerRecord(RecordId id) { m_layers.push_back(id); }
    void addBlockDefinition(BlockDefinition block) { m_blocks.push_back(std::move(block)); }

    // Told of every record whose pairs or erased flag change, undo and redo included (a
    // window showing the drawing redraws what it is told of).
    using ChangeListener = std::function<void(RecordId)>;
    void setChangeListener(ChangeListener listener) { m_changeListener = std::move(listener); }

    UndoLog& undoLog() { return m_undo; }
    // Makes the changes during its life one undo step.
    class CompoundChange {
    public:
        explicit CompoundChange(Drawing& drawing) : m_log(drawing.m_undo) { m_log.beginCompound(); }
        ~CompoundChange() { m_log.endCompound(); }
        CompoundChange(const CompoundChange&) = delete;
        CompoundChange& operator=(const CompoundChange&) = delete;

    private:
        UndoLog& m_log;
    };
    void clearHistory() { m_undo = UndoLog(); }
    // A drawing nobody can undo (a command-line run) keeps no images of changed records.
    void keepNoHistory() { m_undo.keepNoImages(); }
    void undo();
    void redo();

private:
    friend class DrawingIndexer;
    Drawing() = default;
    void appendMissingEof();
    void commit(RecordId id, RecordImage after);
    void exchange(RecordChange& change);
    class Writer;
    void writeRecord(Writer& writer, RecordId id) const;
    bool writeRecords(std::string& out, const Sink* sink) const;
    void indexHandle(RecordId id, std::uint64_t handle);

    std::string m_fileName;
    std::vector<std::string> m_warnings;
    dxf::TagPool m_pool;
    std::unique_ptr<TextCodec> m_codec;
    std::vector<RecordSlot> m_slots;
    std::vector<RecordId> m_order; // file order of the records that were read
    std::unordered_map<RecordId, std::vector<RecordId>> m_insertedBefore;
    HandleIndex m_handles;
    std::vector<RecordId> m_layers;
    std::vector<BlockDefinition> m_blocks;
    RecordId m_entitiesEnd = kNoRecord;
    RecordId m_layerTableEnd = kNoRecord;
    RecordId m_blocksEnd = kNoRecord;
    RecordId m_header = kNoRecord; // the HEADER section's record
    std::uint64_t m_nextHandle = 1;
    std::uint32_t m_trailingBegin = 0; // file bytes after EOF
    UndoLog m_undo;
    ChangeListener m_changeListener;
};

} // namespace kalvex::drawing
