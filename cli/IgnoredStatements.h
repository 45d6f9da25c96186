#pragma once

// Counts, by kind, what an import reads and cannot represent, for the tool's summary and the
// dump's "ignored" key. It watches the import through the importer's observer seam and changes
// nothing the plug-in does.

#include <cstdint>
#include <string_view>

#include "importer/ImportObserver.h"
#include "standin/BoardJson.h"

namespace zzcli {

class IgnoredStatements : public zz::ImportObserver {
 public:
  void OnRunStart() override;
  void OnStatement(const zz::GerberRun& run, std::string_view statement, bool isData) override;

  // The non-zero counts, in a fixed order.
  standin::IgnoredCounts Counts() const;

 private:
  void OnParameter(std::string_view statement);
  void OnData(const zz::GerberRun& run, std::string_view statement);

  int64_t apertureMacros_ = 0;     // %AM: their shapes are not drawn
  int64_t macroApertures_ = 0;     // %ADD naming a macro: no aperture or one of size 0
  int64_t regions_ = 0;            // G36: the outline becomes strokes of the selected aperture
  int64_t polarity_ = 0;           // %LP: clear objects are created like dark ones
  int64_t stepAndRepeat_ = 0;      // %SR: the block is placed once
  int64_t otherParameters_ = 0;    // %IP, %OF, %SF, %IN, ...
  int64_t gCodes_ = 0;             // G numbers without effect (G70, G71, G90, G91, ...)
  int64_t dCodes_ = 0;             // D numbers without effect
  int64_t undefinedApertures_ = 0; // draws and flashes with a D-code that has no aperture
};

}  // namespace zzcli
