#pragma once

// The real importer's exports and observer, as the tool's main program hands them over.

#include "cli/Tool.h"
#include "importer/ImportObserver.h"
#include "importer/ZizoZudu.h"

namespace zzcli::test {

inline Plugin RealPlugin() {
  Plugin plugin;
  plugin.Exports.Description = &GetPcbImporterDescription;
  plugin.Exports.Recognised = &RecognisedPCBFile;
  plugin.Exports.Import = &ImportFileIntoPcb;
  plugin.SetObserver = &zz::SetImportObserver;
  return plugin;
}

}  // namespace zzcli::test
