#include "cli/Tool.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <vector>

#include "cli/BoardSvg.h"
#include "cli/FileChecks.h"
#include "cli/ImportDump.h"
#include "cli/Summary.h"
#include "standin/BoardJson.h"
#include "standin/Geometry.h"
#include "standin/Registration.h"
#include "standin/Server.h"

#ifndef ZZ_VERSION
#define ZZ_VERSION "0.0.0"
#endif

namespace zzcli {
namespace {

constexpr const char* kTool = "zizozudu: ";

// An output file, opened before the import so that a bad path costs no import.
bool OpenOutput(std::ofstream& file, const std::string& path, std::ostream& err) {
  file.open(path, std::ios::binary | std::ios::trunc);
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

std::string ExplainNotRecognised(const std::string& path, const ImportWatch& watch) {
  if (const std::optional<std::string> problem = FileProblem(path)) return *problem;
  if (watch.Failure()) return RecognitionFailureText(*watch.Failure());
  return "the importer turned it down although its first line holds a format statement";
}

namespace {

// One file's import into the board as it stands: the objects and messages it added are the
// ones after those already there.
ImportReport ImportOne(const std::string& file, const Plugin& plugin, standin::Server& server, standin::Board& board,
                       bool watchImport, bool summarise) {
  const std::size_t firstObject = board.Objects.size();
  const std::size_t firstMessage = server.Ui().Messages().size();
  ImportReport report;
  report.File = file;
  const zz::TShortString<255> fileName(file);
  const zz::TShortString<255> reserved;
  // The recognition test is always watched, for the reason a file is turned down; the import
  // only when the summary or the dump shows what it reports, so a quiet import runs unobserved.
  ImportWatch watch;
  report.Crashed = !Guarded(
      [&] {
        Observe(plugin, &watch);
        report.Recognised = plugin.Exports.Recognised != nullptr && plugin.Exports.Recognised(&fileName) != 0;
        if (!watchImport) Observe(plugin, nullptr);
        report.Result = plugin.Exports.Import != nullptr && plugin.Exports.Import(&fileName, &reserved, 0) != 0;
      },
      report.CrashText);
  Observe(plugin, nullptr);
  if (report.Crashed) report.Result = false;
  standin::ProgressDisplay& progress = server.Ui().Progress();
  if (progress.IsOpen()) progress.Finish();  // an import that threw left it open
  if (watchImport) report.Ignored = watch.Counts();

  if (!report.Recognised) report.NotRecognisedReason = ExplainNotRecognised(file, watch);
  report.TableSearched = watch.TableSearched();
  report.TableFile = watch.TableFile();
  report.Layer = standin::CurrentLayerNumber(board);
  report.ObjectsAdded = board.Objects.size() - firstObject;
  const std::vector<std::string>& messages = server.Ui().Messages();
  report.Messages.assign(messages.begin() + static_cast<std::ptrdiff_t>(firstMessage), messages.end());
  // Only the summary shows them; a quiet import of millions of objects does not walk the board twice.
  if (summarise) {
    report.Counts = CountObjects(server.Objects(), board, firstObject);
    report.Bounds = standin::BoardBounds(server.Objects(), board, firstObject);
  }
  return report;
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

std::string FileNamePart(const std::string& path) { return std::filesystem::path(path).filename().string(); }

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
  options.Progress = command.Quiet ? standin::ProgressDisplay::Mode::Never : standin::ProgressDisplay::Mode::Auto;
  standin::Register(options);
  standin::Server& server = standin::TheServer();
  standin::Board& board = server.Boards().CurrentBoard();

  // One after the other into the same board, each on its own current layer, as the editor does;
  // the importer's modal state carries from one file to the next there too.
  const bool several = command.Files.size() > 1;
  const bool watchImport = plugin.SetObserver != nullptr && (!command.Quiet || command.JsonOut);
  std::vector<ImportReport> reports;
  for (std::size_t i = 0; i < command.Files.size(); ++i) {
    if (!command.Layers.empty()) {
      standin::SetCurrentLayer(board, command.Layers[i]);
    } else if (several) {
      standin::SetCurrentLayer(board, 1);
    }
    reports.push_back(ImportOne(command.Files[i], plugin, server, board, watchImport, !command.Quiet));
  }

  bool written = true;
  if (command.JsonOut) {
    const ImportReport& first = reports.front();
    standin::DumpHeader header{first.File, first.Recognised, first.Result};
    std::optional<IgnoredCounts> ignored = first.Ignored;
    std::vector<ImportedFile> files;
    if (several) {
      // The board as a whole; each file under "files".
      ignored.reset();
      for (const ImportReport& report : reports) {
        header.Recognised = header.Recognised && report.Recognised;
        header.Result = header.Result && report.Result;
        files.push_back({report.File, report.Layer, report.Recognised, report.Result, report.Messages,
                         static_cast<int64_t>(report.ObjectsAdded), report.Ignored});
      }
    }
    if (jsonToStdout) {
      standin::WriteBoardJson(out, server, board, header, DumpMembers(ignored, files));
      out.flush();
    } else {
      standin::WriteBoardJson(jsonFile, server, board, header, DumpMembers(ignored, files));
      written = CloseOutput(jsonFile, *command.JsonOut, err) && written;
    }
  }
  if (command.SvgOut) {
    if (several) {
      std::vector<LayerSource> sources;
      for (const ImportReport& report : reports) sources.push_back({report.Layer, FileNamePart(report.File)});
      WriteLayeredBoardSvg(svgFile, server.Objects(), board, sources);
    } else {
      WriteBoardSvg(svgFile, server.Objects(), board);
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
  return ExitCodeOf(reports);
}

int RunRecognise(const RecogniseCommand& command, const Plugin& plugin, std::ostream& out, std::ostream& err) {
  standin::Reset();
  standin::Options options;
  options.Progress = standin::ProgressDisplay::Mode::Never;
  standin::Register(options);
  bool all = true;
  for (const std::string& file : command.Files) {
    const zz::TShortString<255> fileName(file);
    bool recognised = false;
    std::string error;
    ImportWatch watch;
    Observe(plugin, &watch);
    if (!Guarded(
            [&] { recognised = plugin.Exports.Recognised != nullptr && plugin.Exports.Recognised(&fileName) != 0; },
            error)) {
      err << kTool << file << ": the recognition test stopped with an error: " << error << '\n';
    }
    Observe(plugin, nullptr);
    if (recognised) {
      out << file << ": recognised\n";
    } else {
      out << file << ": not recognised: " << ExplainNotRecognised(file, watch) << '\n';
      all = false;
    }
  }
  return all ? kExitImported : kExitNotRecognised;
}

int RunTool(int argc, const char* const* argv, const Plugin& plugin, std::ostream& out, std::ostream& err) {
  const auto version = [&plugin] {
    std::string text = std::string("zizozudu ") + ZZ_VERSION;
    if (plugin.Exports.Description != nullptr) text += "\nimporter: " + std::string(plugin.Exports.Description());
    return text;
  };
  const ParsedCommandLine parsed = ParseCommandLine(argc, argv, out, err, version);
  if (parsed.Import) return RunImport(*parsed.Import, plugin, out, err);
  if (parsed.Recognise) return RunRecognise(*parsed.Recognise, plugin, out, err);
  return parsed.ExitCode;
}

}  // namespace zzcli
