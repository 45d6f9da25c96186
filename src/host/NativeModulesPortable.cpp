#include "host/NativeModules.h"

// Without Windows there is no host module of the platform's own: only substitutes are found.

namespace zz::platform::detail {

ModuleHandle FindNativeModule(const char*) { return nullptr; }
void* FindNativeEntry(ModuleHandle, const char*) { return nullptr; }

}  // namespace zz::platform::detail
