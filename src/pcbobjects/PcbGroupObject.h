#pragma once

#include "pcbobjects/PCBObject.h"

namespace zz {

// The common parent of the host's group objects (coordinates, dimensions, polygons, split
// planes, components, nets). Adds nothing and has no kind of its own.
class TPcbGroupObject : public TPCBObject {
 protected:
  TPcbGroupObject(THandle handle, TObjectKind kind) : TPCBObject(handle, kind) {}
};

}  // namespace zz
