#include "host/HostBinding.h"

#include <cstring>

#include "host/HostDispatch.h"

namespace zz::host {
namespace {

HostBinding g_binding;

}  // namespace

const HostBinding& CurrentHostBinding() { return g_binding; }

void BindHostEntryPoints() {
  g_binding.Module = platform::FindLoadedModule(kHostModuleName);
  // Without the module every guarded call comes back here (once per character read, for the
  // progress display): nothing is bound, and the dispatch table already holds the neutral stubs.
  if (g_binding.Module == nullptr) {
    g_binding.Slots.fill(nullptr);
    return;
  }
  for (std::size_t i = 0; i < kHostEntryCount; ++i) {
    g_binding.Slots[i] = platform::FindModuleEntry(g_binding.Module, kHostEntryNames[i]);
  }
  detail::RefreshDispatchTable(g_binding);
  detail::Bound = true;
}

void EnsureHostBinding() {
  if (g_binding.Module == nullptr) BindHostEntryPoints();
}

std::size_t HostEntryIndex(const char* name) {
  for (std::size_t i = 0; i < kHostEntryCount; ++i) {
    if (std::strcmp(kHostEntryNames[i], name) == 0) return i;
  }
  return kHostEntryCount;
}

void UnbindHostEntryPointsForTesting() {
  g_binding = HostBinding{};
  detail::ResetDispatchTable();
  detail::Bound = false;
}

}  // namespace zz::host
