#pragma once

// What an import reads differently from what its file means, learnt from the importer's own
// events: each statement as the importer read it (its line, its text, the state it left, the
// object it made) beside what the statement means. Finds the statements where the two part and
// tells, for every object the importer created, what (if anything) makes that object wrong, so
// that the area the board adds can be put down to its causes.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "importer/ImportObserver.h"

namespace zzreport {

// In the order the left-out and added areas are attributed: a cause earlier in the list takes
// the area it shares with a later one (see LeftOut.h).
enum class Cause : uint8_t {
  None,
  NotRecognised,                // the editor offers the file to nothing
  ImportStopped,                // "Aperture Table Not Found" ends the run at a move, draw or flash
  UnitsInFormat,                // %FS...*MOIN*%: the units are not applied
  UnitsByGCode,                 // G70 without %MOIN: read as millimetres
  IncrementalCoordinates,       // G91 or %FSLI: read as absolute
  ImageParameters,              // %IP, %MI, %OF, %SF, %IR, %AS: not applied
  ObjectTransforms,             // %LM, %LR, %LS: flashes not mirrored, turned or scaled
  StepAndRepeat,                // %SR: the block is placed once
  Regions,                      // G36: the area is not filled
  MacroPads,                    // %AM and its apertures: no pad, or one of size 0
  BlockApertures,               // %AB: not placed
  ClearPolarity,                // %LPC: clear objects created dark
  CommentFields,                // G04 text read as D, X, Y, I or J fields
  CoordinatesWithoutOperation,  // X..Y..* draws nothing
  ApertureSizeUnread,           // %ADD10C, 0.254*%: a blank after the comma, size 0
  UnsignedArcOffsets,           // G74 arc: I and J taken as signed offsets, wrong centre
  RegionContours,               // a region's contour drawn as strokes of the aperture selected last
  SlantedRectangleStrokes,      // a rectangle aperture along a slanted line: the whole box
  Other,                        // what no cause above explains (arc radii, rounding, ...)
};
constexpr std::size_t kCauseCount = static_cast<std::size_t>(Cause::Other) + 1;

// The key in the dump ("regions") and the words in the summary ("regions not filled").
std::string_view CauseKey(Cause cause);
std::string_view CauseWords(Cause cause);

struct CauseStatements {
  int64_t Count = 0;
  // The first few, as line and statement text.
  std::vector<std::pair<int32_t, std::string>> First;
};

struct PluginReading {
  static constexpr std::size_t kFirstKept = 3;

  std::array<CauseStatements, kCauseCount> Statements;
  // The objects the importer created, and for those that differ from the file's meaning (by
  // their place in creation order, ascending) what makes them differ.
  int64_t ObjectsCreated = 0;
  std::vector<std::pair<int64_t, Cause>> ObjectCauses;
  // Lines whose objects, as the file means them, the importer leaves out or misplaces.
  std::unordered_map<int32_t, Cause> LineCauses;
  // A cause that changes every object of the file (units, image parameters), or None.
  Cause Global = Cause::None;
  // The line of the move, draw or flash that ended the run for want of an aperture table; 0
  // when there is none.
  int32_t FirstOperationWithoutApertures = 0;
  Cause FirstOperationCause = Cause::None;  // CommentFields when that statement is a comment
  int64_t StatementsRead = 0;               // from the format statement on
  // The importer's units at the format statement, and each aperture it drew or flashed with as
  // it had it (from the file or its table file), by D-code: what a reader needs of a file whose
  // apertures are in a table file.
  bool Imperial = false;
  struct ApertureUsed {
    int32_t DCode = 0;
    zz::ApertureShapeCode Shape = zz::ApertureShapeCode::Round;
    int32_t XSize = 0;
    int32_t YSize = 0;
  };
  std::vector<ApertureUsed> Apertures;

  void Note(Cause cause, int32_t line, std::string_view statement);
  bool Has(Cause cause) const { return Statements[static_cast<std::size_t>(cause)].Count != 0; }
  // Whether any statement was read differently from what the file means: without one, the
  // board is the file and there is no area to measure.
  bool FoundAny() const;
  // What makes the index-th object created differ, or None.
  Cause CauseOfObject(int64_t index) const;
};

// Listens to one import run and builds its PluginReading as the run goes. Off, it ignores the
// statement events (the run still costs their calls).
class MisreadingWatch : public zz::ImportObserver {
 public:
  MisreadingWatch() = default;
  void SetReading(bool on) { on_ = on; }
  // Line numbers are told less this many (a copy made readable has a line put before the file's).
  void SetLineShift(int32_t shift) { lineShift_ = shift; }

  void OnRunStart() override;
  void OnStatement(const zz::StatementEvent& event) override;
  void OnRunEnd(int32_t objectsNotCreated) override;

  // The reading of the last run, complete once it has ended.
  const PluginReading& Reading() const { return reading_; }
  PluginReading TakeReading() { return std::move(reading_); }

 private:
  void Format(const zz::StatementEvent& e, std::string_view t, int32_t line);
  void Parameter(std::string_view t, int32_t line);
  void Data(const zz::StatementEvent& e, std::string_view t, int32_t line);
  void Object(const zz::StatementEvent& e, std::string_view t, int32_t line, bool comment);
  void Note(Cause cause, int32_t line, std::string_view t) { reading_.Note(cause, line, t); }

  bool on_ = true;
  int32_t lineShift_ = 0;
  PluginReading reading_;
  // What the file means, where the importer's state may part from it.
  struct Meaning {
    bool Imperial = false;
    bool FormatUnits = false;
    bool UnitsDiffered = false;
    int32_t DCode = -1;
    zz::TOperation Op = zz::TOperation::None;
    bool SingleQuadrant = true;
    bool InRegion = false;
    bool Clear = false;
    bool Transformed = false;
    int32_t X = 0, Y = 0;              // the coordinate registers
    int32_t PointX = -1, PointY = -1;  // the current point
    int32_t StartX = -1, StartY = -1;  // and before the statement
    // Why the importer's current point or aperture is not the file's, while it is not.
    Cause PointCause = Cause::None;
    Cause DCodeCause = Cause::None;
    // By D-code: standard apertures whose size the importer reads as 0 (a blank after the comma).
    std::vector<bool> SizeUnread;
    std::vector<bool> ApertureSeen;  // by D-code, for PluginReading::Apertures
  };
  Meaning m_;
};

}  // namespace zzreport
