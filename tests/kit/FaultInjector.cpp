#include "kit/FaultInjector.h"

#include <stdexcept>

#include "cadlink/CadError.h"

namespace kalvex::testing {

namespace {

[[noreturn]] void fail(Fault fault, const std::string& message) {
    if (fault == Fault::Logic)
        throw std::logic_error(message);
    throw cad::CadError(message);
}

} // namespace

void FaultInjector::failOn(const std::string& operation, const std::string& handle, Fault fault) {
    m_failOn[{operation, handle}] = fault;
}

void FaultInjector::failAfter(const std::string& operation, int successfulCalls, Fault fault) {
    m_failAfter[operation] = {successfulCalls, fault};
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
        const auto rule = m_failOn.find({operation, handle});
        if (rule != m_failOn.end())
            fail(rule->second, "Injected failure of " + operation + " on " + handle + ".");
    }
    const auto limit = m_failAfter.find(operation);
    if (limit != m_failAfter.end() && calls > limit->second.successfulCalls)
        fail(limit->second.fault, "Injected failure of " + operation + " after " +
                                      std::to_string(limit->second.successfulCalls) + " calls.");
}

bool FaultInjector::failsOnSomeHandle(const std::string& operation) const {
    const auto rule = m_failOn.lower_bound({operation, std::string()});
    return rule != m_failOn.end() && rule->first.first == operation;
}

int FaultInjector::callCount(const std::string& operation) const {
    const auto found = m_calls.find(operation);
    return found == m_calls.end() ? 0 : found->second;
}

} // namespace kalvex::testing
