#include "cli/ConvertCommand.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <chrono>
#include <cmath>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "cli/DrillConversion.h"
#include "cli/ImportPlan.h"
#include "cli/Utf8Path.h"
#include "cli/ZipArchive.h"
#include "gerberx/Reader.h"
#include "gerberx/convert/Convert.h"
#include "gerberx/convert/GerberWriter.h"

namespace zzcli {
namespace {

namespace fs = std::filesystem;
namespace cv = gerberx::convert;

constexpr const char* kTool = "zizozudu: ";
constexpr double kUnitsPerMm = 10000.0 / 0.0254;

std::string Plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
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

// Copies an RS-274-D file and the table the importer loads with it, so that the importer finds
// the table beside the copy. Returns what the summary says of the table.
std::string PassThrough(const std::string& file, const std::string& shown, const std::string& target,
                        const TableSearch& findTable) {
  if (!findTable) throw std::runtime_error(shown + ": an RS-274-D file, and no importer to find its aperture table");
  const TableSearchResult search = findTable(file);
  if (search.NotRecognised) {
    throw std::runtime_error(shown + ": an RS-274-D file (no aperture definitions) the importer does not recognise: " +
                             *search.NotRecognised);
  }
  if (!search.TableFile && !search.ReadWhole) {
    throw std::runtime_error(shown +
                             ": an RS-274-D file (no aperture definitions) without its aperture table beside it");
  }
  fs::copy_file(PathFromUtf8(file), PathFromUtf8(target), fs::copy_options::overwrite_existing);
  if (!search.TableFile) return "it draws nothing and needs no aperture table";
  const fs::path table = PathFromUtf8(*search.TableFile);
  fs::path targetTable = PathFromUtf8(target);
  std::string ext = Utf8FromPath(targetTable.extension());
  if (Utf8FromPath(table.extension()) == ".apr" || ext.size() < 2) {
    targetTable.replace_extension(".apr");
  } else {
    ext[1] = 'A';
    targetTable.replace_extension(PathFromUtf8(ext));
  }
  fs::copy_file(table, targetTable, fs::copy_options::overwrite_existing);
  return "with its aperture table " + FileNameOf(*search.TableFile) + " as " + Utf8FromPath(targetTable);
}

// Puts `line` after the first line of the file: the format statement must stay first.
void InsertAfterFirstLine(const std::string& path, const std::string& line) {
  std::string text;
  {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const std::size_t end = text.find('\n');
  const std::size_t at = end == std::string::npos ? text.size() : end + 1;
  const std::string eol = end != std::string::npos && end > 0 && text[end - 1] == '\r' ? "\r\n" : "\n";
  text.insert(at, (end == std::string::npos ? eol : "") + line + eol);
  std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (out.fail()) throw std::runtime_error(path + ": writing failed");
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

bool ConvertOne(const ConvertCommand& command, const std::string& file, const std::string& shown,
                const ConvertedTarget& converted, const TableSearch& findTable, std::ostream& out, std::ostream& err) {
  const std::string& target = converted.Path;
  std::error_code same;
  if (fs::exists(PathFromUtf8(target)) && fs::equivalent(PathFromUtf8(file), PathFromUtf8(target), same)) {
    err << kTool << shown << ": the output would overwrite the input; give another name with -o or --out-dir\n";
    return false;
  }
  const auto started = std::chrono::steady_clock::now();
  try {
    if (!HoldsApertureDefinitions(file)) {
      const std::string tableText = PassThrough(file, shown, target, findTable);
      if (converted.LayerComment) InsertAfterFirstLine(target, *converted.LayerComment);
      if (!command.Quiet) {
        out << shown << " -> " << target << "\n  RS-274-D: copied unchanged, " << tableText << '\n';
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
    if (converted.LayerComment) InsertAfterFirstLine(partial, *converted.LayerComment);
    fs::rename(partial, target);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!command.Quiet) {
      out << shown << " -> " << target << "\n  kept:        " << KeptText(layer)
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
      "(holes, slots, routed paths) on the drill drawing, named NAME.gd1.\n"
      "A FOLDER or a .zip archive stands for every file in it; what is not a Gerber or drill file (job files,\n"
      "netlists, texts...) is skipped with the reason `import` gives. A converted file keeps its original's\n"
      "name up to the extension, and takes an extension the editor's dialog shows (*.g??;*.g?) that says\n"
      "the original's layer (X2 file function, else name): copper_top.gbr becomes copper_top.gtl, an inner\n"
      "layer .g1 to .g30, a drill file .gd1; a layer no such extension says gets .gbr and a G04 #@! comment\n"
      "with its file function, which the importer reads as a comment.");
  sub->add_option("FILE", command.Files, "Gerber or drill files, folders or .zip archives of them")->required();
  CLI::Option* output =
      sub->add_option("-o,--output", command.Output, "Write the converted file to OUT (one FILE only)");
  sub->add_option("--out-dir", command.OutputDir,
                  "Write the converted files into DIR (made when missing), under their own names (default: "
                  "beside each FILE as NAME.converted.EXT; a FOLDER's or archive's into NAME-converted beside it)")
      ->excludes(output);
  sub->add_option("--tolerance", command.ToleranceMm,
                  "How far, in mm, the converted copper may stray from the original's edge (default 0.005)")
      ->check(CLI::Range(0.0001, 1.0));
  sub->add_flag("--quiet,-q", command.Quiet, "Print nothing but errors");
  sub->footer(
      "convert: exit code 0 when every Gerber and drill file was converted (skipped files aside), 1 when\n"
      "one was not (the error names its file, line and statement), 2 on a usage error. With a folder, an\n"
      "archive or several files the summary ends with a line for them all: converted, skipped, failed.");
  return sub;
}

std::optional<std::string> CheckConvertCommand(const ConvertCommand& command) {
  if (command.Output && command.Files.size() != 1) {
    return "-o names one output file; with " + std::to_string(command.Files.size()) + " files use --out-dir";
  }
  if (command.Output) {
    const std::string& file = command.Files.front();
    std::error_code error;
    if (fs::is_directory(PathFromUtf8(file), error) || LooksLikeZip(FileNameOf(file), ReadHead(file, 4))) {
      return "-o names one output file; for the files of " + file + " use --out-dir";
    }
  }
  std::error_code error;
  if (command.OutputDir && fs::exists(PathFromUtf8(*command.OutputDir), error) &&
      !fs::is_directory(PathFromUtf8(*command.OutputDir), error)) {
    return "--out-dir " + *command.OutputDir + ": not a folder";
  }
  return std::nullopt;
}

ConvertedTarget ConvertedTargetOf(const std::string& folder, const std::string& name, const std::string& infix,
                                  const LayerChoice& layer) {
  const fs::path original = PathFromUtf8(name);
  const std::string stem = Utf8FromPath(original.stem()) + infix;
  const std::string ext = Utf8FromPath(original.extension());
  const bool byDefault = layer.Source == LayerSource::Default;
  // The name's layer must be the original's: none for the default (it stays TopLayer).
  const auto saysLayer = [&](const std::string& candidate) {
    const std::optional<LayerChoice> byName = LayerFromFileName(candidate);
    return byDefault ? !byName.has_value() : byName && byName->Layer == layer.Layer;
  };
  const auto in = [&](const std::string& fileName) {
    return folder.empty() ? fileName : Utf8FromPath(PathFromUtf8(folder) / PathFromUtf8(fileName));
  };
  if (DialogShowsExtension(ext) && saysLayer(stem + ext)) return {in(stem + ext), std::nullopt};
  if (!byDefault) {
    if (const std::optional<std::string> conventional = DialogExtensionOf(layer.Layer)) {
      if (saysLayer(stem + "." + *conventional)) return {in(stem + "." + *conventional), std::nullopt};
    }
  }
  const std::string fallback = stem + ".gbr";
  if (saysLayer(fallback)) return {in(fallback), std::nullopt};
  // No name says it: a comment the importer reads as a comment says it to the tool.
  return {in(fallback), "G04 #@! TF.FileFunction,Other," + std::string(zz::LayerNameTable[layer.Layer].View()) + "*"};
}

namespace {

struct PackageTally {
  std::size_t Converted = 0;
  std::size_t Failed = 0;
  std::vector<SkippedFile> Skipped;
  bool AnyPackage = false;
};

// The folder a package argument's files go to without --out-dir: NAME-converted beside it.
std::string BesideFolderOf(const std::string& argument) {
  std::string name = argument;
  while (name.size() > 1 && (name.back() == '/' || name.back() == '\\')) name.pop_back();
  fs::path path = PathFromUtf8(name);
  std::error_code error;
  if (!fs::is_directory(path, error)) path.replace_extension();
  return Utf8FromPath(path) + "-converted";
}

bool CreateFolder(const std::string& folder, std::ostream& err) {
  std::error_code error;
  fs::create_directories(PathFromUtf8(folder), error);
  if (!error) return true;
  err << kTool << folder << ": the folder cannot be made (" << error.message() << ")\n";
  return false;
}

// A name for the set of targets: two files that would be one on Windows are one.
std::string TargetKey(const std::string& path) {
  std::error_code error;
  std::string key = Utf8FromPath(fs::weakly_canonical(PathFromUtf8(path), error).lexically_normal());
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

}  // namespace

int RunConvert(const ConvertCommand& command, const TableSearch& findTable, std::ostream& out, std::ostream& err) {
  if (command.OutputDir && !CreateFolder(*command.OutputDir, err)) return 1;
  struct Job {
    PackageFile File;
    std::string Folder;  // where its conversion goes
    std::string Infix;   // before the extension
  };
  PackageTally tally;
  std::vector<Job> jobs;
  std::vector<std::shared_ptr<ScratchFolder>> scratch;  // the archives' files, removed at the end
  std::map<std::string, std::string> taken;             // target key -> the file that has it
  for (const std::string& argument : command.Files) {
    std::error_code error;
    if (!fs::exists(PathFromUtf8(argument), error)) {
      err << kTool << argument << ": the file does not exist\n";
      ++tally.Failed;
      continue;
    }
    OpenedArgument opened = OpenArgument(argument);
    if (opened.Error) {
      err << kTool << *opened.Error << '\n';
      ++tally.Failed;
      continue;
    }
    if (opened.Scratch) scratch.push_back(opened.Scratch);
    tally.AnyPackage = tally.AnyPackage || opened.Package;
    for (SkippedFile& skipped : opened.Skipped) tally.Skipped.push_back(std::move(skipped));
    const std::string folder = command.OutputDir ? *command.OutputDir
                               : opened.Package  ? BesideFolderOf(argument)
                                                 : Utf8FromPath(PathFromUtf8(argument).parent_path());
    const std::string infix = command.OutputDir || opened.Package ? "" : ".converted";
    for (PackageFile& file : opened.Files) {
      if (file.Class.Kind == FileKind::Other) {
        tally.Skipped.push_back({file.Shown, file.Class.Why});
        continue;
      }
      taken.emplace(TargetKey(file.Path), file.Shown);  // no conversion may overwrite an original
      jobs.push_back({std::move(file), folder, infix});
    }
  }
  for (const Job& job : jobs) {
    const bool drill = job.File.Class.Kind == FileKind::Drill;
    const LayerChoice layer = drill ? kDrillLayer : ChooseLayerOfFile(job.File.Path);
    ConvertedTarget target = ConvertedTargetOf(job.Folder, FileNameOf(job.File.Shown), job.Infix, layer);
    if (command.Output) target = {*command.Output, std::nullopt};
    const auto [slot, fresh] = taken.emplace(TargetKey(target.Path), job.File.Shown);
    if (!fresh && slot->second != job.File.Shown) {
      err << kTool << job.File.Shown << ": its conversion would be " << target.Path << ", which " << slot->second
          << " has; convert them into separate folders\n";
      ++tally.Failed;
      continue;
    }
    if (!CreateFolder(job.Folder.empty() ? "." : job.Folder, err)) {
      ++tally.Failed;
      continue;
    }
    const bool done = drill ? ConvertDrillFile(command, job.File.Path, job.File.Shown, target.Path, out, err)
                            : ConvertOne(command, job.File.Path, job.File.Shown, target, findTable, out, err);
    ++(done ? tally.Converted : tally.Failed);
  }
  if (!command.Quiet && (tally.AnyPackage || command.Files.size() > 1)) {
    out << FormatSkipped(tally.Skipped) << "Package:         " << Plural(tally.Converted, "file", "files")
        << " converted, " << tally.Skipped.size() << " skipped, " << tally.Failed << " failed\n";
  }
  return tally.Failed == 0 ? 0 : 1;
}

}  // namespace zzcli
