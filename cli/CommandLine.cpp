#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <cctype>

namespace zzcli {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

constexpr const char* kFooter =
    "Exit codes: 0 the import read the whole file, 1 the import stopped early, 2 usage error,\n"
    "3 the file is not a Gerber file this importer reads (the first line must hold \"%FS...X..Y..*%\").";

}  // namespace

std::optional<zz::TLayerNumber> ParseLayerArgument(const std::string& text) {
  if (!text.empty() && text.size() <= 2 &&
      std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
    const int number = std::stoi(text);
    if (number <= zz::kMaxClassicLayer) return static_cast<zz::TLayerNumber>(number);
    return std::nullopt;
  }
  for (int n = 0; n <= zz::kMaxClassicLayer; ++n) {
    if (SameIgnoringCase(text, zz::LayerNameTable[n].View())) return static_cast<zz::TLayerNumber>(n);
  }
  return std::nullopt;
}

std::optional<std::string> PathLengthError(const std::string& path) {
  if (path.size() <= kMaxPathLength) return std::nullopt;
  return path + ": the path is " + std::to_string(path.size()) + " characters long; the importer takes at most " +
         std::to_string(kMaxPathLength) + " (use a shorter or relative path)";
}

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                                   const std::function<std::string()>& versionText) {
  CLI::App app{
      "Reads one Gerber photoplot file through the Zizozudu importer into an in-memory board,\n"
      "then reports, dumps and draws that board.",
      "zizozudu"};
  app.set_version_flag("--version", versionText);
  // A path such as /tmp/top.gtl is a file, never a Windows-style "/option".
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  app.footer(kFooter);

  ImportCommand import;
  std::string layerText;
  CLI::App* importApp = app.add_subcommand("import", "Import FILE and print a summary of the board it gave");
  importApp->add_option("FILE", import.File, "Gerber file (RS-274-X, or RS-274-D with its aperture table beside it)")
      ->required();
  CLI::Option* layerOption = importApp->add_option(
      "--layer", layerText, "Current layer of the board before the import: a number 0..82 or a name like TopLayer");
  CLI::Option* jsonOption = importApp->add_option("--json", import.JsonOut.emplace(),
                                                  "Write the board as JSON to OUT (\"-\": standard output; the "
                                                  "summary then goes to standard error)");
  CLI::Option* svgOption = importApp->add_option("--svg", import.SvgOut.emplace(), "Draw the board as SVG into OUT");
  importApp->add_flag("--quiet,-q", import.Quiet, "Print nothing but errors");

  RecogniseCommand recognise;
  CLI::App* recogniseApp =
      app.add_subcommand("recognise", "Tell for each FILE whether the importer accepts it, and if not, why");
  recogniseApp->alias("recognize");
  recogniseApp->add_option("FILE", recognise.Files, "Files to test")->required();

  ParsedCommandLine parsed;
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    parsed.ExitCode = app.exit(e, out, err) == 0 ? kExitImported : kExitUsage;
    return parsed;
  }

  if (importApp->parsed()) {
    if (jsonOption->count() == 0) import.JsonOut.reset();
    if (svgOption->count() == 0) import.SvgOut.reset();
    if (layerOption->count() != 0) {
      import.Layer = ParseLayerArgument(layerText);
      if (!import.Layer) {
        err << "zizozudu: --layer " << layerText
            << ": not a layer; give a number from 0 to 82 or a layer name such as TopLayer, BottomLayer, "
               "MidLayer1, Mechanical1 or KeepOutLayer\n";
        parsed.ExitCode = kExitUsage;
        return parsed;
      }
    }
    if (const auto error = PathLengthError(import.File)) {
      err << "zizozudu: " << *error << '\n';
      parsed.ExitCode = kExitUsage;
      return parsed;
    }
    parsed.Import = std::move(import);
  } else {
    for (const std::string& file : recognise.Files) {
      if (const auto error = PathLengthError(file)) {
        err << "zizozudu: " << *error << '\n';
        parsed.ExitCode = kExitUsage;
        return parsed;
      }
    }
    parsed.Recognise = std::move(recognise);
  }
  return parsed;
}

}  // namespace zzcli
