#pragma once

// The zizozudu tool: parses the command line, registers the stand-in in place of the editor,
// and drives the importer only through its three exports, as the editor would.

#include <cstdint>
#include <ostream>
#include <string>

#include "cli/CommandLine.h"
#include "cli/ImportWatch.h"
#include "host/CallConv.h"
#include "host/ShortString.h"

namespace zzcli {

// The importer's exports; the tool itself is built without the importer, so they come in here.
struct PluginExports {
  const char*(ZZ_WINAPI* Description)() = nullptr;
  uint8_t(ZZ_WINAPI* Recognised)(const zz::TShortString<255>* fileName) = nullptr;
  uint8_t(ZZ_WINAPI* Import)(const zz::TShortString<255>* fileName, const zz::TShortString<255>* reserved,
                             int32_t boardHandle) = nullptr;
};

struct Plugin {
  PluginExports Exports;
  // The importer's SetImportObserver: what the tool learns beyond the exports' answers (why a
  // file was turned down, the table file, what was ignored). Without it the summary says less
  // and the dump carries no counts.
  void (*SetObserver)(zz::ImportObserver* observer) = nullptr;
};

// The whole tool; returns the exit code.
int RunTool(int argc, const char* const* argv, const Plugin& plugin, std::ostream& out, std::ostream& err);

int RunImport(const ImportCommand& command, const Plugin& plugin, std::ostream& out, std::ostream& err);
int RunRecognise(const RecogniseCommand& command, const Plugin& plugin, std::ostream& out, std::ostream& err);

// The importer's answer for an RS-274-D file that `convert` copies: an import through the
// exports into a board of its own, watched for the table file it loads.
TableSearchResult SearchTableFile(const std::string& file, const Plugin& plugin);

// The reason a file the importer did not recognise was turned down, in plain words, as the watch
// heard it from the recognition test.
std::string ExplainNotRecognised(const ImportWatch& watch);

}  // namespace zzcli
