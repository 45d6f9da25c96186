#include "cli/ConvertCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <system_error>
#include <vector>

#include "cli/ConversionSummary.h"
#include "cli/DrillConversion.h"
#include "cli/ErrorPrefix.h"
#include "cli/FileContents.h"
#include "cli/ImportPlan.h"
#include "cli/Plural.h"
#include "cli/Utf8Path.h"
#include "cli/WriteReplacing.h"
#include "cli/ZipArchive.h"
#include "gerberx/Reader.h"
#include "gerberx/convert/Convert.h"
#include "gerberx/convert/GerberWriter.h"

namespace zzcli {
namespace {

namespace fs = std::filesystem;
namespace cv = gerberx::convert;

constexpr double kUnitsPerMm = 10000.0 / 0.0254;

// An RS-274-D file: its apertures are in a table beside it, so it selects apertures (D10 and
// up) without defining any, or has no format statement. A file with a format statement that
// uses no aperture (an empty layer, regions only) is RS-274-X. Read a piece at a time: a file
// with definitions says so near the top.
bool IsRs274D(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
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

// Copies `file` to `target` with `line` after the first line: the format statement must stay first.
void CopyWithSecondLine(const std::string& file, const std::string& target, const std::string& line) {
  std::ifstream in(PathFromUtf8(file), std::ios::binary);
  if (!in) throw std::runtime_error(file + ": cannot be read");
  std::ofstream out(PathFromUtf8(target), std::ios::binary | std::ios::trunc);
  std::string first;
  std::getline(in, first);
  // A first line that ends in CR LF: the added line too.
  const bool crlf = !in.eof() && first.ends_with('\r');
  out << first << '\n' << line << (crlf ? "\r\n" : "\n");
  if (in.peek() != std::ifstream::traits_type::eof()) out << in.rdbuf();
  out.close();
  if (out.fail()) throw std::runtime_error(target + ": writing failed");
}

// Copies an RS-274-D file (with `layerComment` after its first line, if any) and the table the
// importer loads with it, so that the importer finds the table beside the copy. Returns what
// the summary says of the table.
std::string PassThrough(const std::string& file, const std::string& shown, const std::string& target,
                        const std::optional<std::string>& layerComment, const TableSearch& findTable) {
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
  if (layerComment) {
    CopyWithSecondLine(file, target, *layerComment);
  } else {
    fs::copy_file(PathFromUtf8(file), PathFromUtf8(target), fs::copy_options::overwrite_existing);
  }
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

// Read by its UTF-8 path: the reader's own narrow open takes the ANSI code page on Windows.
gerberx::Layer ReadGerber(const std::string& file, double toleranceMm) {
  const std::optional<std::string> text = ReadWholeFile(file);
  if (!text) throw gerberx::ReadError(file, 0, "", "cannot open the file");
  return gerberx::ReadGerberText(*text, file, cv::ReadingOptions(toleranceMm));
}

// The written file read back, against the original as the converter read it.
gerberx::convert::ProofResult ProveConversion(const gerberx::Layer& original, const std::string& target,
                                              double toleranceMm, int64_t tolerance) {
  return cv::Prove(original, ReadGerber(target, toleranceMm), tolerance);
}

bool ConvertOne(const ConvertCommand& command, const std::string& file, const std::string& shown,
                const ConvertedTarget& converted, const TableSearch& findTable, std::ostream& out, std::ostream& err,
                std::vector<ConversionFigures>& proved) {
  const std::string& target = converted.Path;
  const auto started = std::chrono::steady_clock::now();
  try {
    if (IsRs274D(file)) {
      const std::string tableText = PassThrough(file, shown, target, converted.LayerComment, findTable);
      if (!command.Quiet) {
        out << shown << " -> " << target << "\n  RS-274-D: copied unchanged, " << tableText << '\n';
      }
      return true;
    }
    cv::DecomposeOptions options;
    options.Tolerance = std::max<int64_t>(1, std::llround(command.ToleranceMm * kUnitsPerMm));
    std::error_code size;
    options.MaxCutEdges = cv::CutEdgesFor(fs::file_size(PathFromUtf8(file), size));
    ConversionFigures figures;
    figures.File = shown;  // an archive's entry as the user knows it, not its scratch copy
    figures.Target = target;
    const gerberx::Layer read = ReadGerber(file, command.ToleranceMm);
    figures.ObjectsRead = read.objects.size();
    for (const gerberx::Object& object : read.objects) figures.Primitives += object.Primitives();
    const cv::ConvertedLayer layer = cv::ConvertLayer(read, options);
    const auto write = [&](std::ostream& output) {
      figures.Written = cv::WriteGerber(output, layer, converted.LayerComment.value_or(""));
    };
    if (!WriteReplacing(target, write, err)) return false;
    const auto proving = std::chrono::steady_clock::now();
    figures.Proof = ProveConversion(read, target, command.ToleranceMm, options.Tolerance);
    const auto now = std::chrono::steady_clock::now();
    figures.ProofSeconds = std::chrono::duration<double>(now - proving).count();
    figures.Seconds = std::chrono::duration<double>(now - started).count();
    if (!command.Quiet || figures.Proof->Exceeds()) {
      out << shown << " -> " << target << '\n';
      PrintConversion(out, layer, figures);
    }
    proved.push_back(std::move(figures));
    return true;
  } catch (const std::exception& e) {
    err << kTool << AsShown(e.what(), file, shown) << '\n';
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
  sub->add_option("--json", command.Json,
                  "Write each file's counts and proof as JSON to FILE: objects written, primitives placed, area\n"
                  "uncovered and added past the tolerance band, in mm2 and as shares of the dark area compared");
  sub->add_flag("--quiet,-q", command.Quiet, "Print nothing but errors (and a file whose proof shows a difference)");
  sub->footer(
      "convert: exit code 0 when every Gerber and drill file was converted (skipped files aside), 1 when\n"
      "one was not (the error names its file, line and statement) or there was none, 2 on a usage error,\n"
      "4 when every file was converted but the proof of one shows a difference past what the tolerance\n"
      "allows (it is written all the same). With a folder, an archive or several files the summary ends\n"
      "with a line for them all: converted, skipped, failed.\n"
      "Proof: each written file is read back and compared with the original's dark area. Uncovered is\n"
      "the original's area deeper than the tolerance inside its edges that nothing written covers;\n"
      "added is what is written farther than the tolerance outside them. A difference piece larger than\n"
      "a square as wide as the tolerance and thicker than half of it is past what the tolerance\n"
      "allows; the summary gives the box of the largest. Objects written exactly as the original draws\n"
      "them are matched, not compared.\n"
      "Bounds: a file of N bytes may place 2 million + N/4 primitives (strokes, flashes, region edges,\n"
      "macro primitives of each flash, copies made by blocks and step-and-repeat) and keep 8 million + N\n"
      "polygon vertices, and its clear objects may cut through 500,000 + N/2 polygon edges; a file past\n"
      "them is not converted (exit 1), the error says where. The proof sweeps rows farther apart on a\n"
      "file whose outlines would cross rows more than 150 million times: coarser, no slower.");
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

// The folder a package argument's files go to without --out-dir: NAME-converted beside it.
std::string BesideFolderOf(const std::string& argument) {
  std::string name = argument;
  while (name.size() > 1 && (name.back() == '/' || name.back() == '\\')) name.pop_back();
  fs::path path = PathFromUtf8(name);
  std::error_code error;
  if (!fs::is_directory(path, error)) path.replace_extension();
  return Utf8FromPath(path) + "-converted";
}

}  // namespace

OutputPlace OutputPlaceOf(const ConvertCommand& command, const std::string& argument, bool package) {
  if (command.OutputDir) return {*command.OutputDir, ""};
  if (package) return {BesideFolderOf(argument), ""};
  return {Utf8FromPath(PathFromUtf8(argument).parent_path()), ".converted"};
}

ConvertedTarget TargetOfFile(const ConvertCommand& command, const OutputPlace& place, const std::string& shown,
                             const LayerChoice& layer) {
  if (command.Output) return {*command.Output, std::nullopt};
  return ConvertedTargetOf(place.Folder, FileNameOf(shown), place.Infix, layer);
}

namespace {

struct PackageTally {
  std::size_t Converted = 0;
  std::size_t Failed = 0;
  std::vector<SkippedFile> Skipped;
  bool AnyPackage = false;
};

bool CreateFolder(const std::string& folder, std::ostream& err) {
  std::error_code error;
  fs::create_directories(PathFromUtf8(folder), error);
  if (!error) return true;
  err << kTool << folder << ": the folder cannot be made (" << error.message() << ")\n";
  return false;
}

// Whether `target` is `file` itself.
bool IsSameFile(const std::string& file, const std::string& target) {
  std::error_code error;
  return fs::exists(PathFromUtf8(target)) && fs::equivalent(PathFromUtf8(file), PathFromUtf8(target), error);
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
  std::set<std::string> made;  // the output folders made
  if (command.OutputDir) {
    if (!CreateFolder(*command.OutputDir, err)) return 1;
    made.insert(*command.OutputDir);
  }
  struct Job {
    PackageFile File;
    OutputPlace Place;
  };
  PackageTally tally;
  std::vector<ConversionFigures> proved;
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
    const OutputPlace place = OutputPlaceOf(command, argument, opened.Package);
    for (PackageFile& file : opened.Files) {
      if (file.Class.Kind == FileKind::Other) {
        tally.Skipped.push_back({file.Shown, file.Class.Why});
        continue;
      }
      taken.emplace(TargetKey(file.Path), file.Shown);  // no conversion may overwrite an original
      jobs.push_back({std::move(file), place});
    }
  }
  for (const Job& job : jobs) {
    const bool drill = job.File.Class.Kind == FileKind::Drill;
    const LayerChoice layer = drill ? kDrillLayer : ChooseLayerOfFile(job.File.Path);
    const ConvertedTarget target = TargetOfFile(command, job.Place, job.File.Shown, layer);
    const auto [slot, fresh] = taken.emplace(TargetKey(target.Path), job.File.Shown);
    if (!fresh && slot->second != job.File.Shown) {
      err << kTool << job.File.Shown << ": its conversion would be " << target.Path << ", which " << slot->second
          << " has; convert them into separate folders\n";
      ++tally.Failed;
      continue;
    }
    const std::string folder = job.Place.Folder.empty() ? "." : job.Place.Folder;
    if (!made.contains(folder) && !CreateFolder(folder, err)) {
      ++tally.Failed;
      continue;
    }
    made.insert(folder);
    if (IsSameFile(job.File.Path, target.Path)) {
      err << kTool << job.File.Shown
          << ": the output would overwrite the input; give another name with -o or --out-dir\n";
      ++tally.Failed;
      continue;
    }
    const bool done = drill ? ConvertDrillFile(command, job.File.Path, job.File.Shown, target.Path, out, err)
                            : ConvertOne(command, job.File.Path, job.File.Shown, target, findTable, out, err, proved);
    ++(done ? tally.Converted : tally.Failed);
  }
  if (!command.Quiet && (tally.AnyPackage || command.Files.size() > 1 || !tally.Skipped.empty())) {
    out << FormatSkipped(tally.Skipped) << "Package:         " << Plural(tally.Converted, "file", "files")
        << " converted, " << tally.Skipped.size() << " skipped, " << tally.Failed << " failed\n";
  }
  // Nothing to convert is no success: the folder or the files were not what the user meant.
  if (tally.Converted == 0 && tally.Failed == 0) {
    err << kTool << "no Gerber or drill file among the files given\n";
    return 1;
  }
  if (command.Json) {
    std::ofstream json(PathFromUtf8(*command.Json), std::ios::binary | std::ios::trunc);
    json << ConversionJson(proved);
    if (!json) {
      err << kTool << *command.Json << ": cannot be written\n";
      ++tally.Failed;
    }
  }
  if (tally.Failed != 0) return 1;
  const bool differs = std::any_of(proved.begin(), proved.end(),
                                   [](const ConversionFigures& f) { return f.Proof && f.Proof->Exceeds(); });
  return differs ? kExitProofDiffers : 0;
}

}  // namespace zzcli
