#pragma once

// The platform's own module lookup behind ModuleLookup.h: Win32 on Windows, none elsewhere.

#include "host/ModuleLookup.h"

namespace zz::platform::detail {

ModuleHandle FindNativeModule(const char* moduleName);
void* FindNativeEntry(ModuleHandle module, const char* symbolName);

}  // namespace zz::platform::detail
