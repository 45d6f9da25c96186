#pragma once

// `zizozudu convert FILE... [-o OUT | --out-dir DIR] [--tolerance MM]`: each file rewritten as a
// Gerber file the importer recognises and reads whole, with the same copper.

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace zzcli {

struct ConvertCommand {
  std::vector<std::string> Files;
  std::optional<std::string> Output;     // -o: only with one file
  std::optional<std::string> OutputDir;  // --out-dir
  double ToleranceMm = 0.005;
  std::optional<std::string> Json;  // --json: every file's counts and proof
  bool Quiet = false;
};

// The subcommand and its options, filling `command` when it is parsed.
CLI::App* AddConvertSubcommand(CLI::App& app, ConvertCommand& command);

// After parsing: a usage error in plain words, or none.
std::optional<std::string> CheckConvertCommand(const ConvertCommand& command);

// Where a file's conversion goes: -o, else in --out-dir, else beside the file, named after it
// with ".converted" before the extension (".gbr" when the editor's file filter would not show
// the original extension).
std::string ConvertedPath(const ConvertCommand& command, const std::string& file);

// Every file converted, but the proof of one shows a difference past the tolerance.
constexpr int kExitProofDiffers = 4;

int RunConvert(const ConvertCommand& command, std::ostream& out, std::ostream& err);

}  // namespace zzcli
