#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "cadlink/Application.h"
#include "cadlink/AttributeReference.h"
#include "cadlink/Block.h"
#include "cadlink/Layer.h"
#include "cadlink/SelectionSet.h"
#include "kit/FaultInjector.h"

namespace kalvex::testing {

using FaultsPtr = std::shared_ptr<FaultInjector>;

// What a checked call hands back, wrapped in turn so that calls on it are checked as well.
// An entity keeps its kind: a wrapped TEXT is a cad::Text.
cad::DocumentPtr wrapped(cad::DocumentPtr document, const FaultsPtr& faults);
std::shared_ptr<cad::Layers> wrapped(std::shared_ptr<cad::Layers> layers, const FaultsPtr& faults);
std::shared_ptr<cad::Layer> wrapped(std::shared_ptr<cad::Layer> layer, const FaultsPtr& faults);
std::shared_ptr<cad::SelectionSets> wrapped(std::shared_ptr<cad::SelectionSets> sets,
                                            const FaultsPtr& faults);
cad::SelectionSetPtr wrapped(cad::SelectionSetPtr set, const FaultsPtr& faults);
std::shared_ptr<cad::Blocks> wrapped(std::shared_ptr<cad::Blocks> blocks, const FaultsPtr& faults);
std::shared_ptr<cad::Block> wrapped(std::shared_ptr<cad::Block> block, const FaultsPtr& faults);
std::shared_ptr<cad::BlockItem> wrapped(std::shared_ptr<cad::BlockItem> item,
                                        const FaultsPtr& faults);
cad::EntityPtr wrapped(cad::EntityPtr entity, const FaultsPtr& faults);
cad::AttributeReferencePtr wrapped(cad::AttributeReferencePtr attribute, const FaultsPtr& faults);
std::vector<cad::AttributeReferencePtr> wrapped(std::vector<cad::AttributeReferencePtr> attributes,
                                                const FaultsPtr& faults);

// Values are handed back as they are. Listing them keeps an interface object that has no wrapper
// from slipping through unchecked: it does not compile.
template <class T>
concept PlainValue =
    std::is_arithmetic_v<T> || std::same_as<T, std::string> || std::same_as<T, cad::CadPoint>;
template <PlainValue T> T wrapped(T value, const FaultsPtr&) {
    return value;
}

// The base of every wrapper: it implements `Interface` by passing each call to the wrapped
// object. A call on an entity is checked against the entity's handle, HandleToObject against
// the handle it is given; the other objects (block items too) have no handle in the
// interface, so only the failAfter rules apply to them.
template <class Interface> class Faulty : public Interface {
public:
    Faulty(std::shared_ptr<Interface> inner, FaultsPtr faults)
        : m_inner(std::move(inner)), m_faults(std::move(faults)) {}

protected:
    template <class Method, class... Args>
    auto pass(const std::string& operation, Method method, Args&&... args) const {
        m_faults->check(operation, handleOf());
        return relay(method, std::forward<Args>(args)...);
    }
    // The same for a call that names the entity it concerns by its handle.
    template <class Method, class... Args>
    auto passOn(const std::string& handle, const std::string& operation, Method method,
                Args&&... args) const {
        m_faults->check(operation, [&handle] { return handle; });
        return relay(method, std::forward<Args>(args)...);
    }

private:
    template <class Method, class... Args> auto relay(Method method, Args&&... args) const {
        if constexpr (std::is_void_v<std::invoke_result_t<Method, Interface&, Args...>>)
            std::invoke(method, *m_inner, std::forward<Args>(args)...);
        else
            return wrapped(std::invoke(method, *m_inner, std::forward<Args>(args)...), m_faults);
    }

    std::function<std::string()> handleOf() const {
        if constexpr (std::is_base_of_v<cad::Entity, Interface>)
            return [inner = m_inner.get()] { return inner->Handle(); };
        else
            return {};
    }

    std::shared_ptr<Interface> m_inner;
    FaultsPtr m_faults;
};

// A wrapper of type W around `inner`; null stays null.
template <class W, class Interface>
std::shared_ptr<Interface> wrapIn(std::shared_ptr<Interface> inner, const FaultsPtr& faults) {
    if (!inner)
        return nullptr;
    return std::make_shared<W>(std::move(inner), faults);
}

} // namespace kalvex::testing
