#include <fstream>
#include <iostream>

#include "win32/host/HostModes.h"
#include "win32/host/HostProgram.h"
#include "win32/host/PluginModule.h"
#include "win32/host/StandInModule.h"

namespace zzhost {
namespace {

// One line of the list: "FILE<TAB>OUT".
struct BatchEntry {
  std::string File;
  std::string Out;
};

// Imports one file with a plug-in image of its own and writes its dump.
bool ImportAlone(const Options& options, const BatchEntry& entry, std::string& error) {
  ImportTarget target;
  Plugin plugin;
  if (!PrepareStandIn(options.StandIn, target, error) || !plugin.Load(options.PluginPath, error)) return false;
  const Outcome outcome = RunImport(plugin, ExportCallerFor(options), entry.File, target.ImportHandle);
  const std::optional<std::string> json =
      TheStandIn().BoardJson(target.DumpBoard, entry.File, outcome.Recognised, outcome.Result);
  if (!json || !WriteText(entry.Out, *json, error) || !plugin.Unload(error)) {
    error = entry.File + ": " + (json ? error : "no board to dump");
    return false;
  }
  return true;
}

}  // namespace

// One plug-in image per file: the plug-in's modal state lives as long as the image, so each file
// starts from the state of a fresh process, as the native tool's one-file runs do.
int RunBatch(const Options& options) {
  std::string error;
  if (!TheStandIn().Load(options.ServerPath, error)) return Fail(error, kExitSetupFailed);
  std::ifstream list(*options.BatchList, std::ios::binary);
  if (!list) return Fail("cannot read " + *options.BatchList, kExitUsage);
  std::string line;
  int count = 0;
  while (std::getline(list, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) return Fail(*options.BatchList + ": no tab in \"" + line + "\"", kExitUsage);
    // Under the strict checks a file may end the process: say which before it can.
    if (options.Strict) std::cerr << "zz-wine-host: importing " << line.substr(0, tab) << '\n';
    if (!ImportAlone(options, {line.substr(0, tab), line.substr(tab + 1)}, error)) {
      return Fail(error, kExitSetupFailed);
    }
    ++count;
  }
  std::cerr << "zz-wine-host: " << count << " files imported\n";
  return ExportCallerFor(options).Report(std::cerr) ? kExitImported : kExitStrictCheckFailed;
}

}  // namespace zzhost
