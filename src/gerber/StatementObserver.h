#pragma once

// What the interpreter tells a watching tool about the statements it reads and cannot
// represent. The editor never sets one; unset, it costs one test of a pointer per statement.

#include <cstdint>
#include <string_view>

namespace zz {

enum class IgnoredKind : uint8_t {
  ApertureMacro,       // %AM: its shapes are not drawn
  MacroAperture,       // %ADD naming a macro: no aperture, or one of size 0
  UndefinedAperture,   // a draw or flash with a D-code that has no aperture
  Region,              // G36: the outline becomes strokes of the selected aperture
  Polarity,            // %LP: clear objects are created like dark ones
  StepAndRepeat,       // %SR: the block is placed once
  OtherParameter,      // %IP, %OF, %SF, %IN, ..., and "ADD" without a number
  GCodeWithoutEffect,  // G70, G71, G90, G91, ...
  DCodeWithoutEffect,  // D0, D4 to D9, beyond D999
  FieldWithoutDigits,  // a D or G field of signs and points only, as in "D-CODE" in a comment
};
constexpr int kIgnoredKindCount = 10;

class StatementObserver {
 public:
  virtual ~StatementObserver() = default;
  // A statement has been read and (part of) it is ignored; called once per kind and statement,
  // after the statement has been applied.
  virtual void OnIgnored(IgnoredKind /*kind*/, std::string_view /*statement*/) {}
};

}  // namespace zz
