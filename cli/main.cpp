#include <iostream>

#include "cli/Tool.h"
#include "importer/ImportObserver.h"
#include "importer/ZizoZudu.h"

int main(int argc, char** argv) {
  zzcli::Plugin plugin;
  plugin.Exports.Description = &GetPcbImporterDescription;
  plugin.Exports.Recognised = &RecognisedPCBFile;
  plugin.Exports.Import = &ImportFileIntoPcb;
  plugin.SetObserver = &zz::SetImportObserver;
  return zzcli::RunTool(argc, argv, plugin, std::cout, std::cerr);
}
