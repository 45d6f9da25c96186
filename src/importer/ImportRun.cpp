#include "importer/ImportRun.h"

#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "apertures/ApertureFile.h"
#include "gerber/Interpreter.h"
#include "gerber/StatementReader.h"
#include "host/ClientServices.h"
#include "host/HostRoutines.h"
#include "host/Messages.h"
#include "importer/ImportObserver.h"
#include "importer/Recognition.h"
#include "importer/TableFileSearch.h"
#include "pcbobjects/PcbBoard.h"

namespace zz {
namespace {

ImportObserver* g_observer = nullptr;

// The host's progress display, open for as long as this object lives.
class ProgressDisplay {
 public:
  ProgressDisplay(const TText255& title, int32_t total) { host::PcbApi_Percent_Init(title, total); }
  ~ProgressDisplay() { host::PcbApi_Percent_Finish(); }
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;
};

// A run that cannot go on, with the reason the user reads after the file's name.
class RunFailure : public std::runtime_error {
 public:
  explicit RunFailure(const std::string& reason) : std::runtime_error(reason) {}
};

std::string FileLabel(const std::string& fileName) { return "Cannot import \"" + fileName + "\": "; }

void LoadApertureTableFile(GerberRun& run, const std::string& fileName) {
  const std::optional<std::string> tableFile = FindApertureTableFile(fileName);
  if (g_observer != nullptr) g_observer->OnApertureTableFile(tableFile);
  run.HaveApertureTable = tableFile.has_value();
  // Whatever the load reads or skips, the run goes on with what it stored; an error ends it.
  if (tableFile) run.ApertureTable.LoadFromFile(TText255(*tableFile));
}

// Steps 5 to 11 of a run, with the file, table and board already in place. What ends the run
// early says why in its message, which the caller shows with the file's name.
bool InterpretFile(GerberRun& run, const std::string& fileName) {
  if (g_observer != nullptr) g_observer->OnRunStart();
  if (!run.File.IsOpen()) throw RunFailure("the file cannot be opened.");
  LoadApertureTableFile(run, fileName);
  if (!ReadUpToFormatStatement(run)) {
    throw RunFailure("the file ends before its format statement (a statement holding \"%\").");
  }
  ResetModalState(run.State);
  while (!run.File.AtEnd()) {
    const TShortString<255> statement = ReadStatement(run);
    if (!InterpretStatement(run, statement.View())) return false;
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
    ShowErrorMessage(FileLabel(fileName) + error.what());
  }
  if (g_observer != nullptr) g_observer->OnRunEnd(run.ObjectsNotCreated);
  return whole;
}

}  // namespace zz
