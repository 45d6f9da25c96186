#pragma once

// The one road from the plug-in to a tool that wants to know what an import read, without
// changing what it does: the Linux tool learns from it why a file was turned down, which
// aperture table file was loaded and what was ignored. The editor never sets one.

#include <cstdint>
#include <optional>
#include <string>

#include "gerber/StatementObserver.h"

namespace zz {

// Why the recognition test turned a file down.
struct RecognitionFailure {
  enum class Reason : uint8_t { NoFile, CannotOpen, EmptyFirstLine, NoFormatStatement };
  Reason Why = Reason::NoFormatStatement;
  // For NoFormatStatement, the parts of the format statement the first line lacks.
  bool NoStart = false;  // "%FS" (or "%*FS")
  bool NoX = false;
  bool NoY = false;
  bool NoEnd = false;  // "*%"
};

class ImportObserver : public StatementObserver {
 public:
  // The recognition test (of either export) turned the file down.
  virtual void OnNotRecognised(const RecognitionFailure& /*failure*/) {}
  // A run is about to read its file.
  virtual void OnRunStart() {}
  // The run has searched for an aperture table file: the one it loads, or none.
  virtual void OnApertureTableFile(const std::optional<std::string>& /*file*/) {}
  // The run has ended, whether or not it read the whole file; the editor did not create the
  // objects of that many draws and flashes.
  virtual void OnRunEnd(int32_t /*objectsNotCreated*/) {}
};

// The observer of the following recognition tests and runs, or null for none. Not owned.
void SetImportObserver(ImportObserver* observer);
ImportObserver* CurrentImportObserver();

}  // namespace zz
