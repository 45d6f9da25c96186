// Load-time set-up of the plug-in inside the editor's process. The loader lock is held here, so
// only lookups of modules that are already loaded: no LoadLibrary, no threads, and nothing that can
// throw out of the entry point.

#include <windows.h>

#include "gerber/GerberState.h"
#include "host/ClientServices.h"
#include "host/HostBinding.h"

namespace {

void BindHost() noexcept {
  try {
    zz::host::BindHostEntryPoints();
  } catch (...) {
    // Unbound entry points stay neutral; the first guarded call tries again.
  }
  try {
    zz::client::BindClientServices();
  } catch (...) {
    // Absent client services: nothing is recognised, which is what the user will see.
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    BindHost();
    zz::GerberState = zz::TGerberState{};
  }
  // Nothing is released at detach: the editor owns its modules and we never took a reference.
  return TRUE;
}
