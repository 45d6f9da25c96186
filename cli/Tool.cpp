#include "cli/Tool.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <vector>

#include "cli/BoardSvg.h"
#include "cli/ErrorPrefix.h"
#include "cli/FileContents.h"
#include "cli/ImportDump.h"
#include "cli/ImportPlan.h"
#include "cli/LeftOutOutput.h"
#include "cli/Platform.h"
#include "cli/Summary.h"
#include "cli/Utf8Path.h"
#include "cli/ZipArchive.h"
#include "standin/BoardJson.h"
#include "standin/ClientFiles.h"
#include "standin/Geometry.h"
#include "standin/Registration.h"
#include "standin/Server.h"

#ifndef ZZ_VERSION
#define ZZ_VERSION "0.0.0"
#endif

namespace zzcli {
namespace {

// An output file, opened before the import so that a bad path costs no import.
bool OpenOutput(std::ofstream& file, const std::string& path, std::ostream& err) {
  file.open(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  if (file) return true;
  err << kTool << path << ": cannot be written (" << std::strerror(errno) << ")\n";
  return false;
}

bool CloseOutput(std::ofstream& file, const std::string& path, std::ostream& err) {
  file.close();
  if (!file.fail()) return true;
  err << kTool << path << ": writing failed (" << std::strerror(errno) << ")\n";
  return false;
}

// The importer runs in our process: an exception escaping it must end the run, not the tool.
template <typename Fn>
bool Guarded(Fn&& call, std::string& error) {
  try {
    call();
    return true;
  } catch (const std::exception& e) {
    error = e.what();
  } catch (...) {
    error = "unknown error";
  }
  return false;
}

void Observe(const Plugin& plugin, zz::ImportObserver* observer) {
  if (plugin.SetObserver != nullptr) plugin.SetObserver(observer);
}

}  // namespace

std::string ExplainNotRecognised(const ImportWatch& watch) {
  if (watch.Failure()) return RecognitionFailureText(*watch.Failure());
  return "the importer turned it down although its first line holds a format statement";
}

namespace {

struct ImportOptions {
  bool Watch = false;           // observe the import: the summary or the dump shows what it learns
  bool Summarise = false;       // count the objects and their box for the summary
  bool MeasureLeftOut = false;  // what the import leaves out
  bool Outlines = false;        // and its outlines, for the drawing
};

std::vector<zz::THandle> ObjectsFrom(const standin::Board& board, std::size_t first) {
  std::vector<zz::THandle> added;
  added.reserve(board.Objects.size() - first);
  for (std::size_t i = first; i < board.Objects.size(); ++i) added.push_back(board.Objects[i]);
  return added;
}

// One file's import into the board as it stands: the objects and messages it added are the
// ones after those already there.
ImportReport ImportOne(const std::string& file, const std::string& shown, const Plugin& plugin, standin::Server& server,
                       standin::Board& board, const ImportOptions& how) {
  const std::size_t firstObject = board.Objects.size();
  const std::size_t firstMessage = server.Ui().Messages().size();
  ImportReport report;
  report.File = file;
  const platform::PluginFileName name = platform::ToPluginFileName(file);
  const zz::TShortString<255> fileName(name.Bytes);
  const zz::TShortString<255> reserved;
  // The recognition test is always watched, for the reason a file is turned down; the import
  // only when the summary, the dump or the drawing shows what it reports, so a quiet import
  // runs unobserved.
  ImportWatch watch;
  watch.SetReading(how.MeasureLeftOut);
  if (name.Problem.empty()) {
    report.Crashed = !Guarded(
        [&] {
          Observe(plugin, &watch);
          report.Recognised = plugin.Exports.Recognised != nullptr && plugin.Exports.Recognised(&fileName) != 0;
          if (!how.Watch) Observe(plugin, nullptr);
          report.Result = plugin.Exports.Import != nullptr && plugin.Exports.Import(&fileName, &reserved, 0) != 0;
        },
        report.CrashText);
  }
  Observe(plugin, nullptr);
  if (report.Crashed) report.Result = false;
  standin::ProgressDisplay& progress = server.Ui().Progress();
  if (progress.IsOpen()) progress.Finish();  // an import that threw left it open
  if (how.Watch) report.Ignored = watch.Counts();
  // Its messages name the file as the importer got it.
  std::vector<std::string>& messages = server.Ui().Messages();
  for (std::size_t i = firstMessage; i < messages.size(); ++i) {
    messages[i] = AsShown(platform::FromPluginText(messages[i]), file, shown);
  }

  if (!report.Recognised) {
    report.NotRecognisedReason = name.Problem.empty() ? ExplainNotRecognised(watch) : name.Problem;
  }
  report.TableSearched = watch.TableSearched();
  // The importer's name of the table may differ from the file's in letter case; the summary
  // gives it as it is spelled on disk.
  if (watch.TableFile()) report.TableFile = platform::FromPluginText(standin::SpelledOnDisk(*watch.TableFile()));
  report.Layer = standin::CurrentLayerNumber(board);
  report.ObjectsAdded = board.Objects.size() - firstObject;
  report.Messages.assign(messages.begin() + static_cast<std::ptrdiff_t>(firstMessage), messages.end());
  // Only the summary shows them; a quiet import of millions of objects does not walk the board twice.
  if (how.Summarise) {
    report.Counts = CountObjects(server.Objects(), board, firstObject);
    report.Bounds = standin::BoardBounds(server.Objects(), board, firstObject);
  }
  // A file the importer turns down is read from a copy once all files are in (ReadFromCopy).
  if (how.MeasureLeftOut && !report.Crashed && report.Recognised) {
    zzreport::PluginReading reading = watch.TakeReading();
    // The board's objects only where there are areas to measure.
    const std::vector<zz::THandle> added =
        reading.FoundAny() ? ObjectsFrom(board, firstObject) : std::vector<zz::THandle>();
    report.LeftOut = zzreport::AnalyseImport(file, {true, how.Outlines}, std::move(reading), server.Objects(), added);
  }
  report.File = shown;
  return report;
}

// The file's text from its format statement ("%FS" to the next "%") on a line of its own, then the
// whole file: what the importer would read were the file readable. None without a format statement.
std::optional<std::string> ReadableCopy(const std::string& file) {
  const std::optional<std::string> whole = ReadWholeFile(file);
  if (!whole) return std::nullopt;
  const std::string& content = *whole;
  const std::size_t start = content.find("%FS");
  if (start == std::string::npos) return std::nullopt;
  const std::size_t end = content.find('%', start + 1);
  if (end == std::string::npos) return std::nullopt;
  return content.substr(start, end + 1 - start) + "\r\n" + content;
}

// What the importer would read differently in a file it turns down, from an import of a readable
// copy into a board of its own; then the areas with nothing on the board. Run after every file of
// the command is in, so that the copy's modal state reaches none of them.
void AnalyseNotRecognised(ImportReport& report, const std::string& file, const Plugin& plugin, standin::Server& server,
                          bool outlines) {
  ImportWatch watch;
  watch.SetLineShift(1);
  bool read = false;
  if (const std::optional<std::string> copy = ReadableCopy(file);
      copy && plugin.Exports.Import != nullptr && plugin.SetObserver != nullptr) {
    try {
      const ScratchFolder folder;
      // The copy keeps the file's extension.
      const std::filesystem::path path =
          folder.Path() / PathFromUtf8("readable" + Utf8FromPath(PathFromUtf8(file).extension()));
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out << *copy;
      out.close();
      const platform::PluginFileName name = platform::ToPluginFileName(Utf8FromPath(path));
      const zz::THandle scratch = server.Boards().CreateBoard();
      if (out && name.Problem.empty() && scratch != 0) {
        const std::size_t firstMessage = server.Ui().Messages().size();
        const zz::TShortString<255> fileName(name.Bytes);
        const zz::TShortString<255> reserved;
        std::string crash;
        Observe(plugin, &watch);
        read = Guarded([&] { plugin.Exports.Import(&fileName, &reserved, static_cast<int32_t>(scratch)); }, crash);
        Observe(plugin, nullptr);
        if (server.Ui().Progress().IsOpen()) server.Ui().Progress().Finish();
        server.Ui().Messages().resize(firstMessage);  // the user never saw the copy's
      }
    } catch (const std::exception&) {
      // No scratch folder for the copy: nothing read from it.
    }
  }
  report.LeftOut = zzreport::AnalyseImport(
      file, {false, outlines}, read ? watch.TakeReading() : zzreport::PluginReading{}, server.Objects(), {});
  report.LeftOut->ReadFromCopy = read;
}

// The worst of the files: one not recognised, else one that stopped early.
int ExitCodeOf(const std::vector<ImportReport>& reports) {
  int code = kExitImported;
  for (const ImportReport& report : reports) {
    if (!report.Recognised && !report.Crashed) return kExitNotRecognised;
    if (!report.Result) code = kExitImportFailed;
  }
  return code;
}

std::optional<std::string> LeftOutJsonOf(const ImportReport& report) {
  if (!report.LeftOut) return std::nullopt;
  return LeftOutJson(*report.LeftOut);
}

}  // namespace

int RunImport(const ImportCommand& command, const Plugin& plugin, std::ostream& out, std::ostream& err) {
  const bool jsonToStdout = command.JsonOut && *command.JsonOut == "-";
  std::ofstream jsonFile;
  std::ofstream svgFile;
  if (command.JsonOut && !jsonToStdout && !OpenOutput(jsonFile, *command.JsonOut, err)) return kExitUsage;
  if (command.SvgOut && !OpenOutput(svgFile, *command.SvgOut, err)) return kExitUsage;
  std::ostream& summaryOut = jsonToStdout ? err : out;

  standin::Reset();
  standin::Options options;
  options.Progress = command.Quiet || !platform::ProgressWanted() ? standin::ProgressDisplay::Mode::Never
                                                                  : standin::ProgressDisplay::Mode::Auto;
  standin::Register(options);
  standin::Server& server = standin::TheServer();
  standin::Board& board = server.Boards().CurrentBoard();

  // One after the other into the same board, each on its own current layer, as the editor does;
  // the importer's modal state carries from one file to the next there too.
  const ImportPlan plan = PlanImport(command);
  for (const std::string& error : plan.Errors) err << kTool << error << '\n';
  for (const std::string& folder : plan.EmptyFolders) {
    err << kTool << folder << ": the folder holds no Gerber file\n";
  }
  if (plan.Imports.empty()) return kExitUsage;
  const bool several = plan.Imports.size() > 1;
  // With --quiet and neither --json nor --svg nothing shows what an observer learns: none is set.
  const bool shown = !command.Quiet || command.JsonOut || command.SvgOut;
  ImportOptions how;
  how.Watch = plugin.SetObserver != nullptr && shown;
  how.Summarise = !command.Quiet;
  how.MeasureLeftOut = how.Watch && !command.NoLeftOut;
  how.Outlines = command.SvgOut.has_value();
  std::vector<ImportReport> reports;
  for (const PlannedImport& planned : plan.Imports) {
    if (planned.Layer) {
      standin::SetCurrentLayer(board, planned.Layer->Layer);
      if (planned.Layer->Source == LayerSource::Default && !command.Quiet) {
        err << kTool << "warning: " << planned.Shown << ": nothing in the file or its name says its layer; "
            << "imported on TopLayer (give --layer to choose)\n";
      }
    }
    reports.push_back(ImportOne(planned.File, planned.Shown, plugin, server, board, how));
    if (planned.Layer) reports.back().LayerWhy = DescribeLayerChoice(*planned.Layer);
  }
  if (how.MeasureLeftOut) {
    for (std::size_t i = 0; i < reports.size(); ++i) {
      ImportReport& report = reports[i];
      if (!report.Recognised && !report.Crashed) {
        AnalyseNotRecognised(report, plan.Imports[i].File, plugin, server, how.Outlines);
      }
    }
  }

  bool written = true;
  if (command.JsonOut) {
    const ImportReport& first = reports.front();
    standin::DumpHeader header{first.File, first.Recognised, first.Result};
    std::optional<IgnoredCounts> ignored = first.Ignored;
    std::optional<std::string> leftOut = LeftOutJsonOf(first);
    std::vector<ImportedFile> files;
    if (several) {
      // The board as a whole; each file under "files".
      ignored.reset();
      leftOut.reset();
      for (const ImportReport& report : reports) {
        header.Recognised = header.Recognised && report.Recognised;
        header.Result = header.Result && report.Result;
        files.push_back({report.File, report.Layer, report.Recognised, report.Result, report.Messages,
                         static_cast<int64_t>(report.ObjectsAdded), report.Ignored, LeftOutJsonOf(report)});
      }
    }
    if (jsonToStdout) {
      standin::WriteBoardJson(out, server, board, header, DumpMembers(ignored, leftOut, files));
      out.flush();
    } else {
      standin::WriteBoardJson(jsonFile, server, board, header, DumpMembers(ignored, leftOut, files));
      written = CloseOutput(jsonFile, *command.JsonOut, err) && written;
    }
  }
  if (command.SvgOut) {
    if (several) {
      std::vector<LayerFile> sources;
      for (const ImportReport& report : reports) sources.push_back({report.Layer, FileNameOf(report.File)});
      WriteLayeredBoardSvg(svgFile, server.Objects(), board, sources, LeftOutOverlays(reports));
    } else {
      WriteBoardSvg(svgFile, server.Objects(), board, LeftOutOverlays(reports));
    }
    written = CloseOutput(svgFile, *command.SvgOut, err) && written;
  }

  if (!command.Quiet) {
    for (std::size_t i = 0; i < reports.size(); ++i) summaryOut << (i == 0 ? "" : "\n") << FormatSummary(reports[i]);
    if (several) {
      summaryOut << '\n'
                 << FormatBoardSummary(reports, CountObjects(server.Objects(), board),
                                       standin::BoardBounds(server.Objects(), board));
    }
    summaryOut << FormatSkipped(plan.Skipped);
  }
  for (const ImportReport& report : reports) {
    if (report.Crashed) {
      err << kTool << report.File << ": the import stopped with an error: " << report.CrashText << '\n';
    } else if (!report.Recognised) {
      err << kTool << report.File << ": not recognised: " << report.NotRecognisedReason << '\n';
    } else if (command.Quiet) {
      // The summary is not there to show them, and they are what went wrong.
      for (const std::string& message : report.Messages) err << kTool << report.File << ": " << message << '\n';
      if (!report.Result) err << kTool << report.File << ": the import stopped before the end of the file\n";
    }
  }

  if (!written) return kExitUsage;
  return std::max(ExitCodeOf(reports), plan.Errors.empty() ? kExitImported : kExitImportFailed);
}

int RunRecognise(const RecogniseCommand& command, const Plugin& plugin, std::ostream& out, std::ostream& err) {
  standin::Reset();
  standin::Options options;
  options.Progress = standin::ProgressDisplay::Mode::Never;
  standin::Register(options);
  bool all = true;
  for (const std::string& file : command.Files) {
    const platform::PluginFileName name = platform::ToPluginFileName(file);
    const zz::TShortString<255> fileName(name.Bytes);
    bool recognised = false;
    std::string error;
    ImportWatch watch;
    Observe(plugin, &watch);
    if (name.Problem.empty() &&
        !Guarded(
            [&] { recognised = plugin.Exports.Recognised != nullptr && plugin.Exports.Recognised(&fileName) != 0; },
            error)) {
      err << kTool << file << ": the recognition test stopped with an error: " << error << '\n';
    }
    Observe(plugin, nullptr);
    if (recognised) {
      out << file << ": recognised\n";
    } else {
      out << file << ": not recognised: " << (name.Problem.empty() ? ExplainNotRecognised(watch) : name.Problem)
          << '\n';
      all = false;
    }
  }
  return all ? kExitImported : kExitNotRecognised;
}

TableSearchResult SearchTableFile(const std::string& file, const Plugin& plugin) {
  standin::Reset();
  standin::Options options;
  options.Progress = standin::ProgressDisplay::Mode::Never;
  standin::Register(options);
  const ImportReport report = ImportOne(file, file, plugin, standin::TheServer(),
                                        standin::TheServer().Boards().CurrentBoard(), ImportOptions{true});
  TableSearchResult result;
  if (!report.Recognised) result.NotRecognised = report.NotRecognisedReason;
  result.TableFile = report.TableFile;
  result.ReadWhole = report.Result;
  return result;
}

namespace {

constexpr const char* kHowTo =
    "zizozudu converts Gerber and drill files, folders and .zip packages of them into files the\n"
    "editor's importer reads whole, each named so that it imports onto its layer.\n"
    "Drop files, folders or .zip archives on zizozudu.exe: a file is converted beside itself\n"
    "(NAME.converted.EXT), a folder's or an archive's files into NAME-converted beside it.\n"
    "From a command prompt, `zizozudu --help` tells the commands: import, recognise, convert.\n";

int Dispatch(int argc, const char* const* argv, const Plugin& plugin, std::ostream& out, std::ostream& err) {
  const auto findTable = [&plugin](const std::string& file) { return SearchTableFile(file, plugin); };
  if (argc < 2 && platform::OwnsConsole()) {
    out << kHowTo;
    return kExitImported;
  }
  if (IsBareFileList(argc, argv)) {
    ConvertCommand convert;
    convert.Files.assign(argv + 1, argv + argc);
    return RunConvert(convert, findTable, out, err);
  }
  const auto version = [&plugin] {
    std::string text = std::string("zizozudu ") + ZZ_VERSION;
    if (plugin.Exports.Description != nullptr) text += "\nimporter: " + std::string(plugin.Exports.Description());
    return text;
  };
  const ParsedCommandLine parsed = ParseCommandLine(argc, argv, out, err, version);
  if (parsed.Import) return RunImport(*parsed.Import, plugin, out, err);
  if (parsed.Recognise) return RunRecognise(*parsed.Recognise, plugin, out, err);
  if (parsed.Convert) return RunConvert(*parsed.Convert, findTable, out, err);
  return parsed.ExitCode;
}

}  // namespace

int RunTool(int argc, const char* const* argv, const Plugin& plugin, std::ostream& out, std::ostream& err) {
  const int code = Dispatch(argc, argv, plugin, out, err);
  // A window of its own closes with the tool: its summary stays until the user has read it.
  if (platform::OwnsConsole()) platform::WaitForKey(out);
  return code;
}

}  // namespace zzcli
