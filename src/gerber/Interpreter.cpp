#include "gerber/Interpreter.h"

#include <exception>
#include <optional>

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

static_assert(static_cast<uint8_t>(ApertureShapeCode::Rectangle) == kShapeRectangle &&
              static_cast<uint8_t>(ApertureShapeCode::Octagon) == kShapeOctagon &&
              static_cast<uint8_t>(ApertureShapeCode::Relief) == kShapeRelief);

// Everything the observer hears of one statement, once it has been carried out.
void ReportStatement(const GerberRun& run, std::string_view statement, StatementEvent& event, const DataFields& fields,
                     const TAperture* aperture) {
  StatementObserver& observer = *run.Observer;
  if (event.Parameter) {
    if (const std::optional<IgnoredKind> kind = IgnoredParameter(statement)) observer.OnIgnored(*kind, statement);
  } else {
    if (fields.IgnoredG) observer.OnIgnored(*fields.IgnoredG, statement);
    if (fields.IgnoredD && fields.IgnoredD != fields.IgnoredG) observer.OnIgnored(*fields.IgnoredD, statement);
    const TOperation operation = run.State.Operation;
    if (!event.StopsRun && aperture == nullptr && (operation == TOperation::Draw || operation == TOperation::Flash)) {
      observer.OnIgnored(IgnoredKind::UndefinedAperture, statement);
    }
  }
  event.Line = run.StatementLine;
  event.Text = statement;
  event.D = fields.D;
  event.G = fields.G;
  event.HasX = fields.HasX;
  event.HasY = fields.HasY;
  event.HasI = fields.HasI;
  event.HasJ = fields.HasJ;
  if (aperture != nullptr) {
    event.ApertureDefined = true;
    event.ApertureShape = static_cast<ApertureShapeCode>(aperture->Shape);
    event.ApertureXSize = aperture->XSize;
    event.ApertureYSize = aperture->YSize;
  }
  event.State = &run.State;
  observer.OnStatement(event);
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
    if (run.Observer != nullptr) {
      StatementEvent event;
      event.Parameter = event.Format = true;
      ReportStatement(run, statement.View(), event, DataFields{}, nullptr);
    }
    return true;
  }
  return false;
}

bool InterpretStatement(GerberRun& run, std::string_view statement) {
  try {
    DataFields fields;
    const TGerberState& state = run.State;
    if (!DispatchStatement(run, statement, fields)) {
      if (run.Observer != nullptr) {
        StatementEvent event;
        event.Parameter = true;
        ReportStatement(run, statement, event, fields, nullptr);
      }
      return true;
    }
    const TOperation operation = state.Operation;
    if (operation != TOperation::None && !run.HaveApertureTable) {
      ShowErrorMessage(kApertureTableNotFound);
      if (run.Observer != nullptr) {
        StatementEvent event;
        event.StopsRun = true;
        ReportStatement(run, statement, event, fields, nullptr);
      }
      return false;  // the statement is not carried out, whether or not it is the last one
    }
    // Looked up once, for the observer and for the drawing.
    const TAperture* aperture = nullptr;
    if (operation == TOperation::Draw || operation == TOperation::Flash) {
      aperture = run.ApertureTable.FindAperture(state.CurrentDCode);
    }
    if (run.Observer == nullptr) {
      ExecuteStatement(run, aperture);
      return true;
    }
    // What the drawing changes, kept for the observer.
    StatementEvent event;
    event.FromX = state.PointX;
    event.FromY = state.PointY;
    event.I = state.CoordI;
    event.J = state.CoordJ;
    const int32_t notCreated = run.ObjectsNotCreated;
    event.Made = ExecuteStatement(run, aperture);
    event.Refused = run.ObjectsNotCreated != notCreated;
    ReportStatement(run, statement, event, fields, aperture);
  } catch (const std::exception& error) {
    ThrowInStatement(run, error, "statement", statement);
  }
  return true;
}

}  // namespace zz
