#include "importer/ImportRun.h"

#include <exception>
#include <memory>
#include <optional>

#include "apertures/ApertureFile.h"
#include "gerber/Coordinates.h"
#include "gerber/Dispatch.h"
#include "gerber/Drawing.h"
#include "gerber/StatementReader.h"
#include "host/ClientServices.h"
#include "host/Errors.h"
#include "host/HostRoutines.h"
#include "host/Messages.h"
#include "importer/ImportObserver.h"
#include "importer/Recognition.h"
#include "importer/TableFileSearch.h"
#include "pcbobjects/PcbBoard.h"

namespace zz {
namespace {

constexpr const char* kApertureTableNotFound = "Aperture Table Not Found";

ImportObserver* g_observer = nullptr;

// The host's progress display, open for as long as this object lives.
class ProgressDisplay {
 public:
  ProgressDisplay(const TText255& title, int32_t total) { host::PcbApi_Percent_Init(title, total); }
  ~ProgressDisplay() { host::PcbApi_Percent_Finish(); }
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;
};

// A failure that ends the run, with the message the user sees.
class RunFailure : public std::exception {
 public:
  explicit RunFailure(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

std::string FileLabel(const std::string& fileName) { return "Cannot import \"" + fileName + "\": "; }

std::string AtLine(int32_t line) { return "line " + std::to_string(line) + ": "; }

bool IsOperation(TOperation operation) {
  return operation == TOperation::Move || operation == TOperation::Draw || operation == TOperation::Flash;
}

void LoadApertureTableFile(GerberRun& run, const std::string& fileName) {
  const std::optional<std::string> tableFile = FindApertureTableFile(fileName);
  if (g_observer != nullptr) g_observer->OnApertureTableFile(tableFile);
  run.HaveApertureTable = tableFile.has_value();
  if (!tableFile) return;
  try {
    // Whatever the load reads or skips, the run goes on with what it stored.
    run.ApertureTable.LoadFromFile(TText255(*tableFile));
  } catch (const std::exception& error) {
    throw RunFailure(FileLabel(fileName) + error.what());
  }
}

// Drops the statements before the format statement and applies it. False when the file ends
// before any statement holds "%".
bool ReadUpToFormatStatement(GerberRun& run) {
  while (!run.File.AtEnd()) {
    const TShortString<255> statement = ReadStatement(run);
    if (IsParameterStatement(statement.View())) {
      ReadFormatStatement(run.State, statement.View());
      ReportIgnoredParameter(run, statement.View());
      return true;
    }
  }
  return false;
}

// Steps 5 to 11 of a run, with the file, table and board already in place.
bool InterpretFile(GerberRun& run, const std::string& fileName) {
  if (g_observer != nullptr) g_observer->OnRunStart();
  if (!run.File.IsOpen()) throw RunFailure(FileLabel(fileName) + "the file cannot be opened.");
  LoadApertureTableFile(run, fileName);
  try {
    if (!ReadUpToFormatStatement(run)) {
      throw RunFailure(FileLabel(fileName) + "the file ends before its format statement (a statement holding \"%\").");
    }
    ResetModalState(run.State);
    while (!run.File.AtEnd()) {
      const TShortString<255> statement = ReadStatement(run);
      if (!DispatchStatement(run, statement.View())) continue;
      if (!run.HaveApertureTable && IsOperation(run.State.Operation)) {
        ShowErrorMessage(kApertureTableNotFound);
        return false;  // the statement is not executed, whether or not it was the last one
      }
      try {
        ExecuteStatement(run);
      } catch (const ERangeError& error) {
        throw ERangeError(std::string(error.what()) + " in statement " + QuotedStatement(statement.View()));
      }
    }
  } catch (const RunFailure&) {
    throw;
  } catch (const std::exception& error) {
    throw RunFailure(FileLabel(fileName) + AtLine(run.StatementLine) + error.what());
  }
  return run.File.AtEnd();
}

}  // namespace

void SetImportObserver(ImportObserver* observer) { g_observer = observer; }
ImportObserver* CurrentImportObserver() { return g_observer; }

bool RunImport(const std::string& fileName, THandle boardHandle) {
  if (!IsRecognisedGerberFile(fileName)) return false;

  // Declared in this order so that they go in the reverse one: file, progress, board, table.
  auto apertureTable = std::make_unique<TApertureFile>();
  auto board = std::make_unique<TPcbBoard>(boardHandle != 0 ? boardHandle : host::PcbApi_GetCurrentBoardHandle());
  board->Sync(kFetch);

  TText255 title("Loading ");
  title.Append(client::ExtractWholeFileNameFromPath(fileName));
  title.Append(" (Gerber)");
  ProgressDisplay progress(title, client::GetFileSize(fileName));

  TextFile file;
  file.Open(fileName.c_str());
  GerberRun run(file, *apertureTable, board.get());
  run.Observer = g_observer;
  bool whole = false;
  try {
    whole = InterpretFile(run, fileName);
  } catch (const std::exception& error) {
    ShowErrorMessage(error.what());
  }
  if (g_observer != nullptr) g_observer->OnRunEnd(run.ObjectsNotCreated);
  return whole;
}

}  // namespace zz
