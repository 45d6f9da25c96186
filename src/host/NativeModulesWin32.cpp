#include <windows.h>

#include "host/NativeModules.h"

namespace zz::platform::detail {

// GetModuleHandleA takes no reference: the host owns the module and we never release it.
ModuleHandle FindNativeModule(const char* moduleName) { return GetModuleHandleA(moduleName); }

void* FindNativeEntry(ModuleHandle module, const char* symbolName) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), symbolName));
}

}  // namespace zz::platform::detail
