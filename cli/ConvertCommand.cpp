#include "cli/ConvertCommand.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <chrono>
#include <cmath>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>
#include <vector>

#include "cli/DrillConversion.h"
#include "gerberx/Reader.h"
#include "gerberx/convert/Convert.h"
#include "gerberx/convert/GerberWriter.h"

namespace zzcli {
namespace {

namespace fs = std::filesystem;
namespace cv = gerberx::convert;

constexpr const char* kTool = "zizozudu: ";
constexpr double kUnitsPerMm = 10000.0 / 0.0254;

// The editor offers files whose extension is "g" and one or two characters.
bool EditorShowsExtension(const std::string& ext) {
  return (ext.size() == 2 || ext.size() == 3) && ext[0] == '.' && (ext[1] == 'g' || ext[1] == 'G');
}

std::string Plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The aperture table beside an RS-274-D file, found as the importer finds it.
std::optional<fs::path> TableFileOf(const fs::path& file) {
  std::string ext = file.extension().string();
  if (ext.size() >= 2) {
    ext[1] = 'A';
    fs::path first = file;
    first.replace_extension(ext);
    if (fs::is_regular_file(first)) return first;
  }
  fs::path second = file;
  second.replace_extension(".apr");
  if (fs::is_regular_file(second)) return second;
  return std::nullopt;
}

// An RS-274-D file: no aperture definition of its own. Read a piece at a time: the definitions
// stand near the top.
bool HoldsApertureDefinitions(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text;
  std::vector<char> piece(1 << 16);
  std::size_t next = 0;  // where the search for '%' goes on
  while (in.read(piece.data(), static_cast<std::streamsize>(piece.size())) || in.gcount() > 0) {
    text.append(piece.data(), static_cast<std::size_t>(in.gcount()));
    std::size_t at = text.find('%', next);
    for (; at != std::string::npos; at = text.find('%', next)) {
      std::size_t i = at + 1;
      while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) ++i;
      if (i + 2 > text.size()) break;  // the next piece decides
      if (text.compare(i, 2, "AD") == 0 || text.compare(i, 2, "AM") == 0 || text.compare(i, 2, "AB") == 0) return true;
      next = at + 1;
    }
    if (at == std::string::npos) next = text.size();
  }
  return false;
}

// Copies an RS-274-D file and its table so that the importer finds the table beside the copy.
std::string PassThrough(const std::string& file, const std::string& target) {
  const std::optional<fs::path> table = TableFileOf(file);
  if (!table) {
    throw std::runtime_error(file +
                             ": an RS-274-D file (no aperture definitions) without its aperture table beside it");
  }
  fs::copy_file(file, target, fs::copy_options::overwrite_existing);
  fs::path targetTable = target;
  std::string ext = fs::path(target).extension().string();
  if (table->extension() == ".apr" || ext.size() < 2) {
    targetTable.replace_extension(".apr");
  } else {
    ext[1] = 'A';
    targetTable.replace_extension(ext);
  }
  fs::copy_file(*table, targetTable, fs::copy_options::overwrite_existing);
  return targetTable.string();
}

std::string KeptText(const cv::ConvertedLayer& layer) {
  std::string text = Plural(layer.Pads.size(), "pad", "pads") + ", " + Plural(layer.Tracks.size(), "track", "tracks") +
                     ", " + Plural(layer.Arcs.size(), "arc", "arcs") + ", " +
                     Plural(layer.RectStrokes.size(), "fill", "fills");
  if (layer.MacroFlashesKept == 0) return text;
  return text + " (" + std::to_string(layer.MacroObjectsKept) + " of them from " +
         Plural(layer.MacroFlashesKept, "macro flash", "macro flashes") + " of circles and rectangles)";
}

std::string DecomposedText(const cv::ConvertedLayer& layer) {
  std::string text;
  for (std::size_t i = 0; i < layer.DecomposedBy.size(); ++i) {
    if (layer.DecomposedBy[i] == 0) continue;
    if (!text.empty()) text += ", ";
    text += cv::DecomposeReasonText(static_cast<cv::DecomposeReason>(i), layer.DecomposedBy[i]);
  }
  return text.empty() ? "nothing" : text;
}

std::string WrittenText(const cv::WrittenCounts& counts) {
  return Plural(counts.Total(), "object", "objects") + " (" + Plural(counts.Pads, "pad", "pads") + ", " +
         Plural(counts.Tracks, "track", "tracks") + ", " + Plural(counts.Arcs, "arc", "arcs") + ", " +
         Plural(counts.Fills, "fill", "fills") + "), " + Plural(counts.Apertures, "aperture", "apertures");
}

// Why a file cannot be converted before anything is read, in plain words.
std::optional<std::string> InputProblem(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(fs::path(path), error);
  if (!fs::exists(status)) return "the file does not exist";
  if (!fs::is_regular_file(status)) return "it is not a regular file (a folder or a device)";
  return std::nullopt;
}

bool ConvertOne(const ConvertCommand& command, const std::string& file, std::ostream& out, std::ostream& err) {
  if (const std::optional<std::string> problem = InputProblem(file)) {
    err << kTool << file << ": " << *problem << '\n';
    return false;
  }
  if (IsDrillFile(file)) return ConvertDrillFile(command, file, out, err);
  const std::string target = ConvertedPath(command, file);
  std::error_code same;
  if (fs::exists(target) && fs::equivalent(file, target, same)) {
    err << kTool << file << ": the output would overwrite the input; give another name with -o or --out-dir\n";
    return false;
  }
  const auto started = std::chrono::steady_clock::now();
  try {
    if (!HoldsApertureDefinitions(file)) {
      const std::string table = PassThrough(file, target);
      if (!command.Quiet) {
        out << file << " -> " << target << "\n  RS-274-D: copied unchanged, with its aperture table as " << table
            << '\n';
      }
      return true;
    }
    cv::DecomposeOptions options;
    options.Tolerance = std::max<int64_t>(1, std::llround(command.ToleranceMm * kUnitsPerMm));
    const cv::ConvertedLayer layer =
        cv::ConvertLayer(gerberx::ReadGerberFile(file, cv::ReadingOptions(command.ToleranceMm)), options);
    // Written beside the target first: a failure leaves no half-written file under its name.
    const std::string partial = target + ".partial";
    std::ofstream output(partial, std::ios::binary | std::ios::trunc);
    if (!output) {
      err << kTool << target << ": cannot be written\n";
      return false;
    }
    std::vector<char> buffer(1 << 20);
    output.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    cv::WrittenCounts counts;
    try {
      counts = cv::WriteGerber(output, layer);
    } catch (...) {
      output.close();
      fs::remove(partial);
      throw;
    }
    output.close();
    if (output.fail()) {
      fs::remove(partial);
      err << kTool << target << ": cannot be written\n";
      return false;
    }
    fs::rename(partial, target);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!command.Quiet) {
      out << file << " -> " << target << "\n  kept:        " << KeptText(layer)
          << "\n  decomposed:  " << DecomposedText(layer) << " into "
          << Plural(layer.Decomposed.Count(), "object", "objects") << "\n  written:     " << WrittenText(counts)
          << "\n  time:        " << std::llround(seconds * 1000.0) << " ms\n";
    }
    return true;
  } catch (const std::exception& e) {
    err << kTool << e.what() << '\n';
    return false;
  }
}

}  // namespace

CLI::App* AddConvertSubcommand(CLI::App& app, ConvertCommand& command) {
  CLI::App* sub = app.add_subcommand(
      "convert",
      "Rewrite each FILE as a Gerber file the importer recognises and reads whole, with the same copper:\n"
      "flashes of circles, rectangles and obrounds stay pads, round strokes and arcs stay tracks and arcs,\n"
      "macro pads made of circles and rectangles become their pads (or the round tracks of a turned\n"
      "rounded rectangle); regions, other macro flashes, polygon flashes, strokes the importer would draw\n"
      "otherwise and whatever clear polarity cuts become fills, tracks, arcs and pads within the tolerance;\n"
      "block apertures, step-and-repeat, aperture transforms and image parameters are applied. RS-274-D\n"
      "files are copied with their aperture table. Excellon drill files become round pads and tracks\n"
      "(holes, slots, routed paths) in NAME.gd1.");
  sub->add_option("FILE", command.Files, "Gerber files to convert")->required();
  CLI::Option* output =
      sub->add_option("-o,--output", command.Output, "Write the converted file to OUT (one FILE only)");
  sub->add_option("--out-dir", command.OutputDir,
                  "Write the converted files into DIR, under their own names (default: beside each FILE, "
                  "as NAME.converted.EXT)")
      ->excludes(output);
  sub->add_option("--tolerance", command.ToleranceMm,
                  "How far, in mm, the converted copper may stray from the original's edge (default 0.005)")
      ->check(CLI::Range(0.0001, 1.0));
  sub->add_flag("--quiet,-q", command.Quiet, "Print nothing but errors");
  sub->footer(
      "convert: exit code 0 when every file was converted, 1 when one was not (the error names its\n"
      "file, line and statement), 2 on a usage error.");
  return sub;
}

std::optional<std::string> CheckConvertCommand(const ConvertCommand& command) {
  if (command.Output && command.Files.size() != 1) {
    return "-o names one output file; with " + std::to_string(command.Files.size()) + " files use --out-dir";
  }
  if (command.OutputDir && !fs::is_directory(*command.OutputDir)) {
    return "--out-dir " + *command.OutputDir + ": not a folder";
  }
  return std::nullopt;
}

std::string ConvertedPath(const ConvertCommand& command, const std::string& file) {
  if (command.Output) return *command.Output;
  const fs::path input(file);
  std::string ext = input.extension().string();
  if (!EditorShowsExtension(ext)) ext = ".gbr";
  if (command.OutputDir) return (fs::path(*command.OutputDir) / (input.stem().string() + ext)).string();
  return (input.parent_path() / (input.stem().string() + ".converted" + ext)).string();
}

int RunConvert(const ConvertCommand& command, std::ostream& out, std::ostream& err) {
  bool all = true;
  for (const std::string& file : command.Files) all = ConvertOne(command, file, out, err) && all;
  return all ? 0 : 1;
}

}  // namespace zzcli
