#include "host/ModuleLookup.h"

#include <array>
#include <cctype>
#include <string>

#include "host/NativeModules.h"

namespace zz::platform {
namespace {

struct SubstituteModule {
  std::string Name;
  SymbolResolver Resolver;
};

// Fixed records: a substitute's handle is the address of its record and must stay valid.
std::array<SubstituteModule, 16>& Substitutes() {
  static std::array<SubstituteModule, 16> substitutes;
  return substitutes;
}

bool SameModuleName(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return i == a.size() && b[i] == '\0';
}

SubstituteModule* FindSubstitute(const char* name) {
  for (auto& substitute : Substitutes()) {
    if (substitute.Resolver != nullptr && SameModuleName(substitute.Name, name)) return &substitute;
  }
  return nullptr;
}

bool IsSubstitute(ModuleHandle module) {
  for (auto& substitute : Substitutes()) {
    if (module == &substitute) return true;
  }
  return false;
}

}  // namespace

ModuleHandle FindLoadedModule(const char* moduleName) {
  if (SubstituteModule* substitute = FindSubstitute(moduleName)) return substitute;
  return detail::FindNativeModule(moduleName);
}

void* FindModuleEntry(ModuleHandle module, const char* symbolName) {
  if (module == nullptr) return nullptr;
  if (IsSubstitute(module)) {
    // A substitute removed since it was found answers nothing.
    const SymbolResolver resolver = static_cast<SubstituteModule*>(module)->Resolver;
    return resolver != nullptr ? resolver(symbolName) : nullptr;
  }
  return detail::FindNativeEntry(module, symbolName);
}

void RegisterSubstituteModule(const char* moduleName, SymbolResolver resolver) {
  if (SubstituteModule* existing = FindSubstitute(moduleName)) {
    existing->Resolver = resolver;
    return;
  }
  if (resolver == nullptr) return;
  for (auto& substitute : Substitutes()) {
    if (substitute.Resolver == nullptr) {
      substitute = {moduleName, resolver};
      return;
    }
  }
}

}  // namespace zz::platform
