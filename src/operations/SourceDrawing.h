#pragma once

#include <functional>
#include <string>

#include "cadlink/CadError.h"
#include "cadlink/HandOff.h"
#include "operations/RecordSeal.h"
#include "operations/RunWindow.h"
#include "operations/TextLineWriter.h"

namespace kalvex {

// The drawing the records with this key were fetched from, for writing them back. When that
// drawing has been closed since, the user is told that nothing was written, and it is null.
cad::DocumentPtr sourceDrawing(const CadSession& session, const std::string& key,
                               RunWindow& window);

// How a write-back ended: no CAD, the records' drawing closed since (the user was told), the
// drawing changed outside the tool since the records were fetched or last written (the user
// was told), the CAD refused the one value written, or done.
enum class WriteBack { NoCad, DrawingClosed, DrawingChanged, Refused, Done };

// Writes records back: a CAD session of the given kind runs `work` on the drawing the records
// with this key came from. Without a CAD nothing happens; when that drawing has been closed
// the user is told so and nothing is written. With `sealed` records, the drawing is first
// checked against their seal: when it no longer holds what the tool last saw, the user is
// asked to fetch again and nothing is written; after the work the seal takes what the
// drawing holds now.
WriteBack writeToSourceDrawing(CadLink& link, CadOperation operation, const std::string& key,
                               RunWindow& window, const std::function<void(cad::Document&)>& work,
                               const SealedRecords* sealed = nullptr);

// The one record about to be written still names the entity the tool last saw: the same
// string at the same point. True too when the seal does not know the entity (records made
// without a fetch). Refusing tells the user.
bool recordStillHolds(cad::Document& document, RecordSeal* seal, const std::string& handle,
                      RunWindow& window);
// After a write of one record, its seal takes what the entity holds now.
void resealRecord(cad::Document& document, RecordSeal* seal, const std::string& handle);

enum class LayerLock { Free, Locked };

// Writes one edited value, of a search hit or a grid cell, into its TEXT or attribute in the
// drawing the record came from, and the record takes what the CAD reads back. A value on a
// locked layer, or one the CAD refuses, is not written (Refused), and the record stays.
// With a seal, the entity is first checked as the bulk writes check theirs (DrawingChanged).
template <class Entity, class Record>
WriteBack writeValueBack(CadLink& link, const std::string& source, Record& record,
                         const std::string& text, LayerLock lock, RunWindow& window,
                         RecordSeal* seal = nullptr) {
    WriteBack written = WriteBack::Done;
    const WriteBack outcome = writeToSourceDrawing(
        link, CadOperation::Quiet, source, window, [&](cad::Document& document) {
            if (lock == LayerLock::Locked) {
                written = WriteBack::Refused;
                return;
            }
            if (!recordStillHolds(document, seal, record.sHnd, window)) {
                written = WriteBack::DrawingChanged;
                return;
            }
            try {
                auto entity = writeEntityText<Entity>(document, record.sHnd, text);
                record.insPt = entity->InsertionPoint();
                record.text = entity->TextString();
            } catch (const cad::CadError&) {
                written = WriteBack::Refused;
            }
            resealRecord(document, seal, record.sHnd);
        });
    return outcome == WriteBack::Done ? written : outcome;
}

} // namespace kalvex
