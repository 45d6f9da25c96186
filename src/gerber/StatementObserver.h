#pragma once

// What the interpreter tells a watching tool about each statement it reads: what it made of it
// and what of it it cannot represent. The editor never sets one; unset, it costs one test of a
// pointer per statement.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "gerber/GerberState.h"

namespace zz {

// Each kind of what the interpreter reads and cannot represent, once: its enumerator, its key in
// the tool's dump and its words in the tool's summary.
// clang-format off
#define ZZ_IGNORED_KINDS(KIND)                                                                                               \
  KIND(ApertureMacro,      "aperture_macros",         "aperture macros")         /* %AM: its shapes are not drawn */         \
  KIND(MacroAperture,      "macro_apertures",         "macro apertures")         /* %ADD naming a macro: none, or size 0 */  \
  KIND(UndefinedAperture,  "undefined_aperture_uses", "undefined aperture uses") /* a draw or flash without aperture */      \
  KIND(Region,             "regions",                 "regions")                 /* G36: the outline drawn as strokes */     \
  KIND(Polarity,           "polarity",                "polarity")                /* %LP: clear objects made dark */          \
  KIND(StepAndRepeat,      "step_and_repeat",         "step and repeat")         /* %SR: the block placed once */            \
  KIND(OtherParameter,     "other_parameters",        "other parameters")        /* %IP, %OF, ..., "ADD" without a number */ \
  KIND(GCodeWithoutEffect, "g_codes_without_effect",  "g codes without effect")  /* G70, G71, G90, G91, ... */               \
  KIND(DCodeWithoutEffect, "d_codes_without_effect",  "d codes without effect")  /* D0, D4 to D9, beyond D999 */             \
  KIND(FieldWithoutDigits, "fields_without_digits",   "fields without digits")   /* the "-" of "D-CODE" in a comment */
// clang-format on

enum class IgnoredKind : uint8_t {
#define ZZ_IGNORED_KIND_ENUMERATOR(name, key, words) name,
  ZZ_IGNORED_KINDS(ZZ_IGNORED_KIND_ENUMERATOR)
#undef ZZ_IGNORED_KIND_ENUMERATOR
};

struct IgnoredKindText {
  std::string_view Key;
  std::string_view Words;
};

// By IgnoredKind.
inline constexpr IgnoredKindText kIgnoredKindTexts[] = {
#define ZZ_IGNORED_KIND_TEXT(name, key, words) {key, words},
    ZZ_IGNORED_KINDS(ZZ_IGNORED_KIND_TEXT)
#undef ZZ_IGNORED_KIND_TEXT
};
constexpr std::size_t kIgnoredKindCount = std::size(kIgnoredKindTexts);

constexpr const IgnoredKindText& TextOf(IgnoredKind kind) { return kIgnoredKindTexts[static_cast<std::size_t>(kind)]; }

// The aperture shapes the events name: the importer's own shape codes.
enum class ApertureShapeCode : uint8_t { Round = 0, Rectangle = 1, Octagon = 2, Relief = 3 };

// The host object a statement asked for.
enum class MadeObject : uint8_t { None, Track, Fill, Arc, Pad };

// One statement as the interpreter read it, told after it has been carried out.
struct StatementEvent {
  static constexpr int32_t kAbsent = -1;

  int32_t Line = 0;        // where the statement begins, from 1
  std::string_view Text;   // as the interpreter keeps it: at most 255 characters
  bool Parameter = false;  // holds "%": units and aperture definitions only
  bool Format = false;     // the format statement
  // A move, draw or flash without any aperture table: not carried out, and the run ends.
  bool StopsRun = false;
  // Data statements: the D and G numbers read (kAbsent for none, or a field without digits) and
  // which coordinate fields were loaded into the registers.
  int32_t D = kAbsent;
  int32_t G = kAbsent;
  bool HasX = false;
  bool HasY = false;
  bool HasI = false;
  bool HasJ = false;
  // The current point before the statement and the arc centre offsets it drew with.
  int32_t FromX = 0;
  int32_t FromY = 0;
  int32_t I = 0;
  int32_t J = 0;
  // The selected aperture's data for a draw or flash; Defined false for a D-code without one,
  // which draws with size 0.
  bool ApertureDefined = false;
  ApertureShapeCode ApertureShape = ApertureShapeCode::Round;
  int32_t ApertureXSize = 0;
  int32_t ApertureYSize = 0;
  MadeObject Made = MadeObject::None;
  bool Refused = false;  // the host did not create it
  // The modal state after the statement: units, selected D-code, operation, interpolation,
  // quadrant mode, registers and current point.
  const TGerberState* State = nullptr;
};

class StatementObserver {
 public:
  virtual ~StatementObserver() = default;
  // A statement has been read and (part of) it is ignored; called once per kind and statement,
  // after the statement has been applied and before OnStatement.
  virtual void OnIgnored(IgnoredKind /*kind*/, std::string_view /*statement*/) {}
  // Every statement from the format statement on, in file order.
  virtual void OnStatement(const StatementEvent& /*event*/) {}
};

}  // namespace zz
