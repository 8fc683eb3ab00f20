#pragma once

#include <functional>
#include <string>

#include "cadlink/CadError.h"
#include "cadlink/HandOff.h"
#include "operations/RunWindow.h"
#include "operations/TextLineWriter.h"

namespace kalvex {

// The drawing the records with this key were fetched from, for writing them back. When that
// drawing has been closed since, the user is told that nothing was written, and it is null.
cad::DocumentPtr sourceDrawing(const CadSession& session, const std::string& key,
                               RunWindow& window);

// How a write-back ended: no CAD, the records' drawing closed since (the user was told), the
// CAD refused the one value written, or done.
enum class WriteBack { NoCad, DrawingClosed, Refused, Done };

// Writes records back: a CAD session of the given kind runs `work` on the drawing the records
// with this key came from. Without a CAD nothing happens; when that drawing has been closed
// the user is told so and nothing is written.
WriteBack writeToSourceDrawing(CadLink& link, CadOperation operation, const std::string& key,
                               RunWindow& window, const std::function<void(cad::Document&)>& work);

enum class LayerLock { Free, Locked };

// Writes one edited value, of a search hit or a grid cell, into its TEXT or attribute in the
// drawing the record came from, and the record takes what the CAD reads back. A value on a
// locked layer, or one the CAD refuses, is not written (Refused), and the record stays.
template <class Entity, class Record>
WriteBack writeValueBack(CadLink& link, const std::string& source, Record& record,
                         const std::string& text, LayerLock lock, RunWindow& window) {
    WriteBack written = WriteBack::Done;
    const WriteBack outcome = writeToSourceDrawing(
        link, CadOperation::Quiet, source, window, [&](cad::Document& document) {
            if (lock == LayerLock::Locked) {
                written = WriteBack::Refused;
                return;
            }
            try {
                auto entity = writeEntityText<Entity>(document, record.sHnd, text);
                record.insPt = entity->InsertionPoint();
                record.text = entity->TextString();
            } catch (const cad::CadError&) {
                written = WriteBack::Refused;
            }
        });
    return outcome == WriteBack::Done ? written : outcome;
}

} // namespace kalvex
