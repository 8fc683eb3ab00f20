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
    virtual void save(const std::string& path) = 0;
    // Opens a drawing without asking about unsaved changes; a file that cannot be read is
    // reported in a message and the drawing that was open stays.
    virtual void open(const std::string& path) = 0;

    virtual bool entityExists(const std::string& handle) = 0;
    virtual std::string entityText(const std::string& handle) = 0;    // throws when unknown
    virtual cad::CadPoint entityPoint(const std::string& handle) = 0; // the placing point
    virtual int countEntities(const std::string& type) = 0;           // "TEXT", "INSERT"
};

} // namespace kalvex::script
