#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "cadlink/Application.h"

namespace kalvex::testing {

// Makes named operations of the CAD interface fail, so tests can reach every "a failure here
// is skipped" path. Operation names are the interface's member names ("SetTextString",
// "Copy", "HandleToObject" ...), prefixed where two classes share a name ("DocumentHwnd",
// "SelectionSetCount", "LayersItem" ...); a failure throws CadError, or, to show that an
// operation takes only the CAD's failures for failures of the CAD, std::logic_error. The rules
// act on the objects of an application wrapped by withFaults.
enum class Fault { Cad, Logic };

class FaultInjector {
public:
    // Every call of the operation on the entity with this handle fails.
    void failOn(const std::string& operation, const std::string& handle, Fault fault = Fault::Cad);
    // The first `successfulCalls` calls of the operation succeed, every later one fails.
    void failAfter(const std::string& operation, int successfulCalls, Fault fault = Fault::Cad);
    void clear();
    int callCount(const std::string& operation) const;

    // Counts the call and throws when a rule says it fails. `handleOf` names the entity the
    // call concerns; it is empty for calls that concern none and asked only when a rule names
    // a handle for the operation.
    void check(const std::string& operation, const std::function<std::string()>& handleOf = {});

private:
    bool failsOnSomeHandle(const std::string& operation) const;

    struct After {
        int successfulCalls = 0;
        Fault fault = Fault::Cad;
    };

    std::map<std::pair<std::string, std::string>, Fault> m_failOn;
    std::map<std::string, After> m_failAfter;
    std::map<std::string, int> m_calls;
};

// The application with every object it hands out (documents, layers, selection sets, blocks,
// entities of the same kind) wrapped, so that each call is counted and checked against the
// injector's rules before it reaches the object behind it.
cad::ApplicationPtr withFaults(cad::ApplicationPtr application,
                               std::shared_ptr<FaultInjector> faults);

} // namespace kalvex::testing
