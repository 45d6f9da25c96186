#include <windows.h>

#include "host/ClientServices.h"

namespace zz::client {
namespace {

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  // Through void*: FARPROC and the service's own type are unrelated function pointer types.
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

// The services live in the host's main executable, which is always loaded; no reference is taken.
void BindClientServices() {
  ClientServiceTable table;
  if (const HMODULE host = GetModuleHandleA(nullptr)) {
    table.ExistSpecific = Lookup<ExistSpecificFn>(host, "ClientAPI_ExistSpecific");
    table.ExtractFileDirFromPath = Lookup<ExtractFn>(host, "ClientAPI_ExtractFileDirFromPath");
    table.ExtractFileNameFromPath = Lookup<ExtractFn>(host, "ClientAPI_ExtractFileNameFromPath");
    table.ExtractFileExtFromPath = Lookup<ExtractFn>(host, "ClientAPI_ExtractFileExtFromPath");
    table.ExtractWholeFileNameFromPath = Lookup<ExtractFn>(host, "ClientAPI_ExtractWholeFileNameFromPath");
    table.ForceFileNameExtension = Lookup<ForceExtensionFn>(host, "ClientAPI_ForceFileNameExtension");
    table.GetFileSize = Lookup<GetFileSizeFn>(host, "ClientAPI_GetFileSize");
  }
  RegisterClientServices(table);
}

}  // namespace zz::client
