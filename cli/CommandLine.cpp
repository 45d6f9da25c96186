#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "cli/ErrorPrefix.h"
#include "cli/Platform.h"
#include "cli/Utf8Path.h"

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
    "3 the file is not a Gerber file this importer reads (the first line must hold \"%FS...X..Y..*%\").\n"
    "With several files the worst of them counts: 3 if any is not recognised, else 1 if any import\n"
    "stopped early.\n"
    "zizozudu FILE|FOLDER|ZIP... without a command (files dropped on the program) converts them beside\n"
    "the originals, as `convert` does: a file into NAME.converted.EXT, a folder's or an archive's files\n"
    "into NAME-converted. On Windows, in a console window of its own, the tool then waits for a key.";

constexpr const char* kImportDescription =
    "Import each FILE, one after the other, into the same board and print a summary of the board it gave.\n"
    "As in the editor, each import starts from the state the one before left: a file without a units\n"
    "statement reads in the units of the file before it, and arcs keep its quadrant mode.\n"
    "Without --layer, each of several files goes on the layer its X2 file function says, else its name\n"
    "(.GTL, .GBS, .G1, -F_Cu, -Edge_Cuts, .cmp, .sol, ...), else TopLayer. A FOLDER imports its Gerber\n"
    "files in name order and lists the others (drill files, netlists, job files...) as skipped; a .zip\n"
    "archive its Gerber files likewise, in its folders too.";

}  // namespace

bool IsBareFileList(int argc, const char* const* argv) {
  if (argc < 2) return false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg(argv[i]);
    if (arg.empty() || arg.starts_with('-')) return false;
    std::error_code error;
    if (!std::filesystem::exists(PathFromUtf8(std::string(arg)), error)) return false;
  }
  // A file that happens to be named like a command is the command.
  const std::string_view first(argv[1]);
  return first != "import" && first != "recognise" && first != "recognize" && first != "convert";
}

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
  // Counted as the importer gets it: in the system code page on Windows.
  const std::size_t length = platform::ToPluginFileName(path).Length;
  if (length <= kMaxPathLength) return std::nullopt;
  return path + ": the path is " + std::to_string(length) + " characters long; the importer takes at most " +
         std::to_string(kMaxPathLength) + " (use a shorter or relative path)";
}

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                                   const std::function<std::string()>& versionText) {
  CLI::App app{
      "Reads one Gerber photoplot file through the Zizozudu importer into an in-memory board,\n"
      "then reports, dumps and draws that board; converts today's Gerber files into ones the importer reads whole.",
      "zizozudu"};
  app.set_version_flag("--version", versionText);
  // A path such as /tmp/top.gtl is a file, never a Windows-style "/option".
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  app.footer(kFooter);

  ImportCommand import;
  std::vector<std::string> layerTexts;
  CLI::App* importApp = app.add_subcommand("import", kImportDescription);
  importApp
      ->add_option("FILE", import.Files,
                   "Gerber files (RS-274-X, or RS-274-D with its aperture table beside it), or folders or .zip "
                   "archives of them, imported in this order")
      ->required();
  CLI::Option* layerOption = importApp->add_option(
      "--layer", layerTexts,
      "Current layer of the board before the import: a number 0..82, a name like TopLayer, or auto (the "
      "layer the file says); once per FILE, in the same order (none: auto for several files)");
  layerOption->allow_extra_args(false);  // "--layer 1 top.gtl": the file is no second layer
  CLI::Option* jsonOption =
      importApp->add_option("--json", import.JsonOut.emplace(),
                            "Write the board as JSON to OUT (\"-\": standard output; the "
                            "summary then goes to standard error; several files: each under \"files\")");
  CLI::Option* svgOption = importApp->add_option(
      "--svg", import.SvgOut.emplace(),
      "Draw the board as SVG into OUT (several files: each layer in its own colour, with a legend)");
  importApp->add_flag("--quiet,-q", import.Quiet, "Print nothing but errors");
  importApp->add_flag("--no-left-out", import.NoLeftOut,
                      "Do not read the file fully to measure what the import leaves out or reads differently");

  RecogniseCommand recognise;
  CLI::App* recogniseApp =
      app.add_subcommand("recognise", "Tell for each FILE whether the importer accepts it, and if not, why");
  recogniseApp->alias("recognize");
  recogniseApp->add_option("FILE", recognise.Files, "Files to test")->required();

  ConvertCommand convert;
  CLI::App* convertApp = AddConvertSubcommand(app, convert);

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
    for (const std::string& layerText : layerTexts) {
      if (SameIgnoringCase(layerText, "auto")) {
        import.Layers.emplace_back();
        continue;
      }
      const std::optional<zz::TLayerNumber> layer = ParseLayerArgument(layerText);
      if (!layer) {
        err << kTool << "--layer " << layerText
            << ": not a layer; give a number from 0 to 82 or a layer name such as TopLayer, BottomLayer, "
               "MidLayer1, Mechanical1 or KeepOutLayer, or auto\n";
        parsed.ExitCode = kExitUsage;
        return parsed;
      }
      import.Layers.push_back(*layer);
    }
    if (layerOption->count() != 0 && import.Layers.size() != import.Files.size()) {
      err << kTool << import.Files.size() << (import.Files.size() == 1 ? " file" : " files") << " but "
          << import.Layers.size() << (import.Layers.size() == 1 ? " --layer option" : " --layer options")
          << ": give one --layer per file, in the order of the files, "
          << "or none (each file on the layer it says)\n";
      parsed.ExitCode = kExitUsage;
      return parsed;
    }
    for (const std::string& file : import.Files) {
      if (const auto error = PathLengthError(file)) {
        err << kTool << *error << '\n';
        parsed.ExitCode = kExitUsage;
        return parsed;
      }
    }
    parsed.Import = std::move(import);
  } else if (convertApp->parsed()) {
    if (const auto error = CheckConvertCommand(convert)) {
      err << kTool << *error << '\n';
      parsed.ExitCode = kExitUsage;
      return parsed;
    }
    parsed.Convert = std::move(convert);
  } else {
    for (const std::string& file : recognise.Files) {
      if (const auto error = PathLengthError(file)) {
        err << kTool << *error << '\n';
        parsed.ExitCode = kExitUsage;
        return parsed;
      }
    }
    parsed.Recognise = std::move(recognise);
  }
  return parsed;
}

}  // namespace zzcli
