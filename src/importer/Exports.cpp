// The three functions the editor calls. They stay thin: copy the texts, run, and never let an
// exception reach the editor, whose process (and the user's unsaved board) it would take down.
// The two that compute do so under the plug-in's own floating-point modes, whatever the editor
// left set, and hand the editor's back on the way out.

#include <string>

#include "host/FloatingPointGuard.h"
#include "importer/ImportRun.h"
#include "importer/Recognition.h"
#include "importer/ZizoZudu.h"

namespace {

constexpr const char kDescription[] = "Single Gerber Files (*.g??;*.g?)";

std::string CopyFileName(const zz::TShortString<255>* fileName) {
  return fileName != nullptr ? fileName->Str() : std::string();
}

}  // namespace

extern "C" {

const char* ZZ_WINAPI GetPcbImporterDescription() { return kDescription; }

uint8_t ZZ_WINAPI RecognisedPCBFile(const zz::TShortString<255>* FileName) {
  const zz::host::FloatingPointGuard floatingPoint;
  try {
    return zz::IsRecognisedGerberFile(CopyFileName(FileName)) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

uint8_t ZZ_WINAPI ImportFileIntoPcb(const zz::TShortString<255>* FileName, const zz::TShortString<255>* /*Reserved*/,
                                    int32_t BoardHandle) {
  const zz::host::FloatingPointGuard floatingPoint;
  try {
    return zz::RunImport(CopyFileName(FileName), BoardHandle) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}
}
