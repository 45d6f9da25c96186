#include <iostream>

#include "win32/host/DialogInterception.h"
#include "win32/host/HostModes.h"
#include "win32/host/HostProgram.h"
#include "win32/host/PluginModule.h"
#include "win32/host/StandInModule.h"

namespace zzhost {
namespace {

std::string Summary(const Outcome& outcome, int32_t board) {
  std::string summary = "recognised=" + std::to_string(outcome.Recognised ? 1 : 0) +
                        " result=" + std::to_string(outcome.Result ? 1 : 0) +
                        " dialogs=" + std::to_string(InterceptedDialogs().size());
  StandIn& standIn = TheStandIn();
  if (standIn.Loaded()) {
    int32_t inits = 0;
    int32_t finishes = 0;
    int32_t total = 0;
    int64_t steps = 0;
    standIn.GetProgress(&inits, &finishes, &total, &steps);
    summary += " objects=" + std::to_string(standIn.ObjectCount(board)) +
               " current_board_objects=" + std::to_string(standIn.ObjectCount(0)) +
               " progress=" + std::to_string(inits) + "/" + std::to_string(finishes) + "/" + std::to_string(total) +
               "/" + std::to_string(steps);
  }
  return summary;
}

bool LoadStandIn(const Options& options, ImportTarget& target, std::string& error) {
  return TheStandIn().Load(options.ServerPath, error) && PrepareStandIn(options.StandIn, target, error);
}

}  // namespace

int RunSingle(const Options& options) {
  std::string error;
  ImportTarget target;
  if (!options.NoServer && !options.LateServer && !LoadStandIn(options, target, error)) {
    return Fail(error, kExitSetupFailed);
  }
  Plugin plugin;
  if (!plugin.Load(options.PluginPath, error)) return Fail(error, kExitSetupFailed);
  // The editor loads its PCB server first; this order shows that the plug-in binds it on first use.
  if (options.LateServer && !LoadStandIn(options, target, error)) return Fail(error, kExitSetupFailed);

  const Outcome outcome = RunImport(plugin, ExportCallerFor(options), options.File, target.ImportHandle);

  for (const InterceptedDialog& dialog : InterceptedDialogs()) {
    std::cerr << "zz-wine-host: dialog \"" << dialog.Caption << "\": " << dialog.Text << '\n';
  }
  if (options.JsonOut) {
    const std::optional<std::string> json =
        TheStandIn().BoardJson(target.DumpBoard, options.File, outcome.Recognised, outcome.Result);
    if (!json) return Fail("the stand-in has no board " + std::to_string(target.DumpBoard) + " to dump", kExitSetupFailed);
    if (!WriteText(*options.JsonOut, *json, error)) return Fail(error, kExitUsage);
  }
  // The summary goes to standard output unless the dump does.
  (options.JsonOut && *options.JsonOut == "-" ? std::cerr : std::cout) << Summary(outcome, target.DumpBoard)
                                                                        << std::endl;
  if (!ExportCallerFor(options).Report(std::cerr)) return kExitStrictCheckFailed;
  return outcome.Result ? kExitImported : kExitImportFailed;
}

}  // namespace zzhost
