#pragma once

// The tool's command line:
//   zizozudu import FILE|FOLDER|ZIP... [--layer N|NAME|auto]... [--json OUT|-] [--svg OUT] [--quiet]
//   zizozudu recognise FILE...
//   zizozudu convert FILE|FOLDER|ZIP... [-o OUT | --out-dir DIR] [--tolerance MM]
//   zizozudu FILE|FOLDER|ZIP...   (no command: converted beside them)
// plus --help and --version.

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/ConvertCommand.h"
#include "host/LayerTypes.h"

namespace zzcli {

// Exit codes of the tool.
constexpr int kExitImported = 0;       // the import returned true
constexpr int kExitImportFailed = 1;   // the import returned false
constexpr int kExitUsage = 2;          // a usage error: bad arguments, unwritable output
constexpr int kExitNotRecognised = 3;  // not a Gerber file this importer reads

// The plug-in takes file names as length-prefixed texts of at most 255 characters.
constexpr std::size_t kMaxPathLength = 255;

struct ImportCommand {
  // Imported one after the other into the same board; a folder or a .zip archive: its Gerber files.
  std::vector<std::string> Files;
  // None, or one per file: its current layer; none in a place: "auto", the layer the file says.
  std::vector<std::optional<zz::TLayerNumber>> Layers;
  std::optional<std::string> JsonOut;  // "-" = standard output
  std::optional<std::string> SvgOut;
  bool Quiet = false;
  bool NoLeftOut = false;  // skip measuring what the import leaves out
};

struct RecogniseCommand {
  std::vector<std::string> Files;
};

struct ParsedCommandLine {
  std::optional<ImportCommand> Import;
  std::optional<RecogniseCommand> Recognise;
  std::optional<ConvertCommand> Convert;
  // When no command is set the tool ends at once with this code: 0 after --help or
  // --version, kExitUsage after a usage error (already reported on `err`).
  int ExitCode = kExitImported;
};

// versionText is called only for --version.
ParsedCommandLine ParseCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                                   const std::function<std::string()>& versionText);

// Whether the arguments after the program's name are only files, folders or archives that exist,
// with no command or option: files dropped on the program, to be converted beside them.
bool IsBareFileList(int argc, const char* const* argv);

// A layer given as a number 0..82 or as a name of LayerNameTable in any letter case.
std::optional<zz::TLayerNumber> ParseLayerArgument(const std::string& text);

// The usage error for a path the plug-in cannot take, or none.
std::optional<std::string> PathLengthError(const std::string& path);

}  // namespace zzcli
