#pragma once

// The zizozudu tool: parses the command line, registers the stand-in in place of the editor,
// and drives the importer only through its three exports, as the editor would.

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>

#include "cli/CommandLine.h"
#include "host/CallConv.h"
#include "host/ShortString.h"
#include "standin/BoardJson.h"

namespace zzcli {

// The importer's exports; the tool itself is built without the importer, so they come in here.
struct PluginExports {
  const char*(ZZ_WINAPI* Description)() = nullptr;
  uint8_t(ZZ_WINAPI* Recognised)(const zz::TShortString<255>* fileName) = nullptr;
  uint8_t(ZZ_WINAPI* Import)(const zz::TShortString<255>* fileName, const zz::TShortString<255>* reserved,
                             int32_t boardHandle) = nullptr;
};

// Where the counts of what an import read and could not represent (statements ignored, by
// kind) come from, once something observes the interpreter: BeforeImport starts counting,
// AfterImport hands the counts over. Without it the summary and the dump carry no counts.
struct IgnoredCountsHook {
  std::function<void()> BeforeImport;
  std::function<std::optional<standin::IgnoredCounts>()> AfterImport;
};

struct Plugin {
  PluginExports Exports;
  IgnoredCountsHook Ignored;
};

// The whole tool; returns the exit code.
int RunTool(int argc, const char* const* argv, const Plugin& plugin, std::ostream& out, std::ostream& err);

int RunImport(const ImportCommand& command, const Plugin& plugin, std::ostream& out, std::ostream& err);
int RunRecognise(const RecogniseCommand& command, const Plugin& plugin, std::ostream& out, std::ostream& err);

// The reason a file the importer did not recognise was turned down, in plain words.
std::string ExplainNotRecognised(const std::string& path);

}  // namespace zzcli
