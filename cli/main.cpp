#include <iostream>

#include "cli/IgnoredStatements.h"
#include "cli/Tool.h"
#include "importer/ZizoZudu.h"

int main(int argc, char** argv) {
  zzcli::Plugin plugin;
  plugin.Exports.Description = &GetPcbImporterDescription;
  plugin.Exports.Recognised = &RecognisedPCBFile;
  plugin.Exports.Import = &ImportFileIntoPcb;

  // Watching the import changes nothing it does; it only lets the summary say what was ignored.
  zzcli::IgnoredStatements ignored;
  plugin.Ignored.BeforeImport = [&ignored] { zz::SetImportObserver(&ignored); };
  plugin.Ignored.AfterImport = [&ignored]() -> std::optional<standin::IgnoredCounts> {
    zz::SetImportObserver(nullptr);
    return ignored.Counts();
  };
  return zzcli::RunTool(argc, argv, plugin, std::cout, std::cerr);
}
