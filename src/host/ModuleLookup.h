#pragma once

// Platform seam: finding an already loaded module and its exported entry points by name.
// A caller may register a substitute module under a name; a substitute is found before the
// platform's own modules, so tests and the Linux tool can stand in for the host everywhere.

namespace zz::platform {

using ModuleHandle = void*;
using SymbolResolver = void* (*)(const char* symbolName);

// The module already loaded under this name, or null. Takes no reference on the module.
ModuleHandle FindLoadedModule(const char* moduleName);

// The address the module exports under this name, or null.
void* FindModuleEntry(ModuleHandle module, const char* symbolName);

// Registers (or, with a null resolver, removes) a substitute module. Case-insensitive names.
void RegisterSubstituteModule(const char* moduleName, SymbolResolver resolver);

}  // namespace zz::platform
