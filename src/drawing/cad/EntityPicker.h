#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "cadlink/SelectionFilter.h"

namespace kalvex::drawing {

// Where on-screen picking comes from: the drawing window, or a script in tests. A pick
// returns the handles the user picked, in order, or nothing when the user cancelled. The
// filter tells a window which entities may be picked at all.
class EntityPicker {
public:
    virtual ~EntityPicker() = default;
    virtual std::optional<std::vector<std::string>> pick(const cad::SelectionFilter& filter) = 0;
};

// Plays back picks queued by a test; with nothing queued a pick is cancelled.
class ScriptedPicker : public EntityPicker {
public:
    void addPick(std::vector<std::string> handles) {
        m_script.push_back({PickOutcome::Picked, std::move(handles)});
    }
    void addCancel() { m_script.push_back({PickOutcome::Cancelled, {}}); }
    std::size_t remaining() const { return m_script.size(); }
    std::optional<std::vector<std::string>> pick(const cad::SelectionFilter& filter) override;

private:
    enum class PickOutcome { Picked, Cancelled };
    struct Step {
        PickOutcome outcome;
        std::vector<std::string> handles;
    };
    std::deque<Step> m_script;
};

} // namespace kalvex::drawing
