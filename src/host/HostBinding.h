#pragma once

#include <array>
#include <cstddef>

#include "host/ModuleLookup.h"

namespace zz::host {

constexpr std::size_t kHostEntryCount = 278;
constexpr const char* kHostModuleName = "ZetPcb.dll";

extern const std::array<const char*, kHostEntryCount> kHostEntryNames;

// One per loaded library: the host module and the address of every bound name.
struct HostBinding {
  platform::ModuleHandle Module = nullptr;
  std::array<void*, kHostEntryCount> Slots{};
};

const HostBinding& CurrentHostBinding();

// Finds the host module and fills every slot; a name the module lacks leaves its slot empty.
void BindHostEntryPoints();
// Binds when the module has not been found yet; otherwise does nothing.
void EnsureHostBinding();

// Position of a name in the binding order, or kHostEntryCount when it is not a host name.
std::size_t HostEntryIndex(const char* name);

// Forgets the binding, so that tests can bind against another substitute host.
void UnbindHostEntryPointsForTesting();

}  // namespace zz::host
