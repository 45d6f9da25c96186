#include "gerber/Interpreter.h"

#include <exception>

#include "gerber/Coordinates.h"
#include "gerber/Dispatch.h"
#include "gerber/Drawing.h"
#include "gerber/StatementReader.h"
#include "host/Messages.h"

namespace zz {
namespace {

constexpr const char* kApertureTableNotFound = "Aperture Table Not Found";

[[noreturn]] void ThrowInStatement(const GerberRun& run, const std::exception& error, const char* kind,
                                   std::string_view statement) {
  throw EStatementError("line " + std::to_string(run.StatementLine) + ": " + error.what() + " in " + kind + " " +
                        QuotedStatement(statement));
}

}  // namespace

bool ReadUpToFormatStatement(GerberRun& run) {
  while (!run.File.AtEnd()) {
    const TShortString<255> statement = ReadStatement(run);
    if (!IsParameterStatement(statement.View())) continue;
    try {
      ReadFormatStatement(run.State, statement.View());
    } catch (const std::exception& error) {
      ThrowInStatement(run, error, "format statement", statement.View());
    }
    ReportIgnoredParameter(run, statement.View());
    return true;
  }
  return false;
}

bool InterpretStatement(GerberRun& run, std::string_view statement) {
  try {
    if (!DispatchStatement(run, statement)) return true;
    const TOperation operation = run.State.Operation;
    if (operation != TOperation::None && !run.HaveApertureTable) {
      ShowErrorMessage(kApertureTableNotFound);
      return false;  // the statement is not carried out, whether or not it is the last one
    }
    // Looked up once, for the observer and for the drawing.
    const TAperture* aperture = nullptr;
    if (operation == TOperation::Draw || operation == TOperation::Flash) {
      aperture = run.ApertureTable.FindAperture(run.State.CurrentDCode);
      if (aperture == nullptr && run.Observer != nullptr) {
        run.Observer->OnIgnored(IgnoredKind::UndefinedAperture, statement);
      }
    }
    ExecuteStatement(run, aperture);
  } catch (const std::exception& error) {
    ThrowInStatement(run, error, "statement", statement);
  }
  return true;
}

}  // namespace zz
