#pragma once

#include <memory>

#include "pcbobjects/PCBObject.h"

namespace zz {

// A fetched wrapper of the class that matches the host object's kind; none (and no fetch) for a
// kind without a wrapper class. The caller owns the wrapper.
std::unique_ptr<TPCBObject> WrapHostObject(THandle handle);

// The text of a host object (empty for handle 0 or a kind without a wrapper class).
void GetObjectDisplayString(THandle handle, TText255& out);

}  // namespace zz
