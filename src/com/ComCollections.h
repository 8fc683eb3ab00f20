#pragma once

#include <oaidl.h>

#include <memory>

#include "cadlink/Block.h"
#include "cadlink/Layer.h"
#include "cadlink/SelectionSet.h"
#include "com/ComRef.h"

namespace kalvex::com {

// The drawing's collections as the CAD's automation server hands them out.
std::shared_ptr<cad::Layers> layersOf(ComRef<IDispatch> object);
std::shared_ptr<cad::SelectionSets> selectionSetsOf(ComRef<IDispatch> object);
std::shared_ptr<cad::Blocks> blocksOf(ComRef<IDispatch> object);

} // namespace kalvex::com
