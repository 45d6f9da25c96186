#pragma once

// A seam for tools that want to know what an import read, without changing what it does: the
// Linux tool counts the statements the plug-in reads and ignores. The editor never sets one;
// an unset observer costs one test per statement.

#include <string_view>

#include "gerber/GerberRun.h"

namespace zz {

class ImportObserver {
 public:
  virtual ~ImportObserver() = default;
  // A run is about to read its file.
  virtual void OnRunStart() {}
  // A statement has been dispatched; for a data statement the state holds its fields and the
  // operation has not been carried out yet. Called for the format statement too.
  virtual void OnStatement(const GerberRun& run, std::string_view statement, bool isData) = 0;
};

// The observer of the following runs, or null for none. Not owned.
void SetImportObserver(ImportObserver* observer);
ImportObserver* CurrentImportObserver();

}  // namespace zz
