#pragma once

// Reads a Gerber file the way the importer reads it (its statement splitting, its line count, its
// substring field search, its modal state) next to what the file means, and finds the statements
// where the two part: what the importer ignores by design and what it reads differently. It
// also tells, for every object the importer creates, what (if anything) makes that object wrong,
// so that the area the board adds can be put down to its causes.

#include <array>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zzcli {

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
  // One per object the importer creates, in order: what makes it differ from the file's
  // meaning, or None.
  std::vector<Cause> ObjectCauses;
  // Lines whose objects, as the file means them, the importer leaves out or misplaces.
  std::unordered_map<int32_t, Cause> LineCauses;
  // A cause that changes every object of the file (units, image parameters), or None.
  Cause Global = Cause::None;
  // The line of the first move, draw or flash before any aperture definition: without a table
  // file the run ends there. 0 when there is none.
  int32_t FirstOperationWithoutApertures = 0;
  Cause FirstOperationCause = Cause::None;  // CommentFields when that statement is a comment
  int32_t Lines = 0;

  void Note(Cause cause, int32_t line, std::string_view statement);
  bool Has(Cause cause) const { return Statements[static_cast<std::size_t>(cause)].Count != 0; }
};

struct ScanOptions {
  // The import loaded an aperture table file, so that a draw before any definition does not end it.
  bool TableFile = false;
  // A file the importer turns down is read as if its format statement stood first.
  bool Recognised = true;
};

PluginReading ScanPluginReading(std::istream& in, const ScanOptions& options);
// An unreadable file gives an empty reading.
PluginReading ScanPluginReading(const std::string& path, const ScanOptions& options);

}  // namespace zzcli
