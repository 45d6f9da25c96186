#include <iostream>

#include "win32/host/HostModes.h"
#include "win32/host/HostProgram.h"
#include "win32/host/PluginModule.h"
#include "win32/host/PluginResources.h"

namespace zzhost {

int RunDescribe(const Options& options) {
  std::string error;
  Plugin plugin;
  if (!plugin.Load(options.PluginPath, error)) return Fail(error, kExitSetupFailed);
  std::cout << "description: " << ExportCallerFor(options).Description(plugin.Description) << '\n';
  PrintDescriptionResource(plugin.Module(), std::cout);
  PrintVersionInfo(options.PluginPath, std::cout);
  return kExitImported;
}

}  // namespace zzhost
