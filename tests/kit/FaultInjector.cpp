#include "kit/FaultInjector.h"

#include "cadlink/CadError.h"

namespace kalvex::testing {

void FaultInjector::failOn(const std::string& operation, const std::string& handle) {
    m_failOn.emplace(operation, handle);
}

void FaultInjector::failAfter(const std::string& operation, int successfulCalls) {
    m_failAfter[operation] = successfulCalls;
    m_calls[operation] = 0;
}

void FaultInjector::clear() {
    m_failOn.clear();
    m_failAfter.clear();
}

void FaultInjector::check(const std::string& operation,
                          const std::function<std::string()>& handleOf) {
    const int calls = ++m_calls[operation];
    if (handleOf && failsOnSomeHandle(operation)) {
        const std::string handle = handleOf();
        if (m_failOn.contains({operation, handle}))
            throw cad::CadError("Injected failure of " + operation + " on " + handle + ".");
    }
    const auto limit = m_failAfter.find(operation);
    if (limit != m_failAfter.end() && calls > limit->second)
        throw cad::CadError("Injected failure of " + operation + " after " +
                            std::to_string(limit->second) + " calls.");
}

bool FaultInjector::failsOnSomeHandle(const std::string& operation) const {
    const auto rule = m_failOn.lower_bound({operation, std::string()});
    return rule != m_failOn.end() && rule->first == operation;
}

int FaultInjector::callCount(const std::string& operation) const {
    const auto found = m_calls.find(operation);
    return found == m_calls.end() ? 0 : found->second;
}

} // namespace kalvex::testing
