#pragma once

#include <string>
#include <vector>

#include "cadlink/CadPoint.h"

namespace kalvex::script {

// The result of the next on-screen selection, as a script sets it.
struct ScriptPick {
    enum class Kind { Handles, Nothing, Cancel };
    Kind kind = Kind::Nothing;
    std::vector<std::string> handles;
};

// What a script does to, and reads from, the drawing behind the tool.
class ScriptDrawing {
public:
    virtual ~ScriptDrawing() = default;
    virtual void queuePick(const ScriptPick& pick) = 0;
    virtual void setLayerLocked(const std::string& layer, bool locked) = 0;
    virtual void setCadOpen(bool open) = 0;
    // Saves to `path`; an empty path saves over the drawing's own file as the menu does.
    virtual void save(const std::string& path) = 0;
    // The drawings on the drawing window's tabs: opened, made active, closed (after the
    // question about unsaved changes) by number from 1 or by file, and all saved.
    // Opening a file that cannot be read is reported in a message and the open drawings stay.
    virtual void openDrawing(const std::string& path) = 0;
    virtual void activateDrawing(const std::string& which) = 0;
    virtual void closeDrawing(const std::string& which) = 0;
    virtual void saveAll() = 0;
    // Whether the drawing named as `activateDrawing` takes it is the active one.
    virtual bool isActiveDrawing(const std::string& which) = 0;
    // The centre of the active drawing's view, in drawing units.
    virtual cad::CadPoint viewCentre() = 0;

    virtual bool entityExists(const std::string& handle) = 0;
    virtual std::string entityText(const std::string& handle) = 0;    // throws when unknown
    virtual cad::CadPoint entityPoint(const std::string& handle) = 0; // the placing point
    virtual int countEntities(const std::string& type) = 0;           // "TEXT", "INSERT"
};

} // namespace kalvex::script
