#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

namespace kalvex::drawing {

// Makes named operations of the CAD interface fail, so tests can reach every "a failure here
// is skipped" path. Operation names are the interface's member names ("SetTextString",
// "Copy", "HandleToObject" ...); a failure throws CadError.
class FaultInjector {
public:
    // Every call of the operation on the entity with this handle fails.
    void failOn(const std::string& operation, const std::string& handle);
    // The first `successfulCalls` calls of the operation succeed, every later one fails.
    void failAfter(const std::string& operation, int successfulCalls);
    void clear();

    // Counts the call and throws when a rule says it fails. `handle` is empty for calls that
    // concern no entity.
    void check(const std::string& operation, const std::string& handle);
    int callCount(const std::string& operation) const;

private:
    std::set<std::pair<std::string, std::string>> m_failOn;
    std::map<std::string, int> m_failAfter;
    std::map<std::string, int> m_calls;
};

} // namespace kalvex::drawing
