#pragma once

// What the interpreter tells a watching tool about the statements it reads and cannot
// represent. The editor never sets one; unset, it costs one test of a pointer per statement.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

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

class StatementObserver {
 public:
  virtual ~StatementObserver() = default;
  // A statement has been read and (part of) it is ignored; called once per kind and statement,
  // after the statement has been applied.
  virtual void OnIgnored(IgnoredKind /*kind*/, std::string_view /*statement*/) {}
};

}  // namespace zz
