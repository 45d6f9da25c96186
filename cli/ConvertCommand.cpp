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

#include "cli/ConversionSummary.h"
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

// An RS-274-D file: its apertures are in a table beside it, so it selects apertures (D10 and
// up) without defining any, or has no format statement. A file with a format statement that
// uses no aperture (an empty layer, regions only) is RS-274-X. Read a piece at a time: a file
// with definitions says so near the top.
bool IsRs274D(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> piece(1 << 16);
  bool format = false, selects = false;
  bool inBlock = false, comment = false;
  std::string head;  // the first characters of the statement being read, blanks left out
  long dcode = -1;   // the digits after a D, while they last
  while (in.read(piece.data(), static_cast<std::streamsize>(piece.size())) || in.gcount() > 0) {
    for (std::streamsize k = 0; k < in.gcount(); ++k) {
      const char c = piece[static_cast<std::size_t>(k)];
      if (dcode >= 0 && std::isdigit(static_cast<unsigned char>(c)) != 0) {
        dcode = std::min(dcode * 10 + (c - '0'), 1000L);
        continue;
      }
      if (dcode >= 10) selects = true;
      dcode = -1;
      if (c == '%') {
        inBlock = !inBlock;
        comment = false;
        head.clear();
      } else if (c == '*') {
        comment = false;
        head.clear();
      } else if (comment || std::isspace(static_cast<unsigned char>(c)) != 0) {
      } else if (inBlock) {
        if (head.size() < 2) head += c;
        if (head == "AD" || head == "AM" || head == "AB") return false;
        if (head == "FS") format = true;
      } else {
        if (head.size() < 3) head += c;
        if (head == "G04") {
          comment = true;
        } else if (c == 'D') {
          dcode = 0;
        }
      }
    }
  }
  return selects || !format;
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
    if (IsRs274D(file)) {
      const std::string table = PassThrough(file, target);
      if (!command.Quiet) {
        out << file << " -> " << target << "\n  RS-274-D: copied unchanged, with its aperture table as " << table
            << '\n';
      }
      return true;
    }
    cv::DecomposeOptions options;
    options.Tolerance = std::max<int64_t>(1, std::llround(command.ToleranceMm * kUnitsPerMm));
    ConversionFigures figures;
    const cv::ConvertedLayer layer = [&] {
      const gerberx::Layer read = gerberx::ReadGerberFile(file, cv::ReadingOptions(command.ToleranceMm));
      figures.ObjectsRead = read.objects.size();
      return cv::ConvertLayer(read, options);
    }();
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
    figures.Written = counts;
    figures.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!command.Quiet) {
      out << file << " -> " << target << '\n';
      PrintConversion(out, layer, figures);
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
      "file, line and statement), 2 on a usage error.\n"
      "Bounds: a file of N bytes may place 2 million + N/4 primitives (strokes, flashes, region edges,\n"
      "macro primitives of each flash, copies made by blocks and step-and-repeat) and keep 8 million + N\n"
      "polygon vertices; a file past them is not converted (exit 1), the error says where.");
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
