// zz-wine-host: plays the editor for the plug-in under Wine. It exports the client file services
// from its own executable, loads the stand-in PCB server as ZetPcb.dll, loads Zizozudu.dll and calls
// its three exports by name with length-prefixed texts, then writes the stand-in's board dump.
// Built twice: zz-wine-host.exe with the client services, zz-wine-host-noclient.exe without them.
//
// The parts: HostOptions (command line), StandInModule (ZetPcb.dll), PluginModule (Zizozudu.dll
// and how its exports are called), HostModes and *Mode.cpp (what the program does),
// PluginResources (the description resource and version information).

#include <windows.h>

#include <exception>
#include <iostream>

#include "win32/host/HostModes.h"
#include "win32/host/HostOptions.h"
#include "win32/host/HostProgram.h"

int main(int argc, char** argv) {
  // No crash or file-error boxes: there is no one to click them away.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);

  zzhost::Options options;
  std::string error;
  if (!zzhost::ParseOptions(argc, argv, options, error)) {
    if (error.empty()) {
      std::cout << zzhost::kUsage;
      return 0;
    }
    std::cerr << "zz-wine-host: " << error << '\n' << zzhost::kUsage;
    return zzhost::kExitUsage;
  }
  try {
    for (const zzhost::HostMode& mode : zzhost::HostModes()) {
      if (mode.Selected(options)) return mode.Run(options);
    }
    return zzhost::kExitUsage;
  } catch (const std::exception& e) {
    return zzhost::Fail(e.what(), zzhost::kExitSetupFailed);
  }
}
