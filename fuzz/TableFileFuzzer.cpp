// The aperture table file loader alone: the input is the whole table file, keyed (first line
// holding the keyed header) or a plain aperture list.
//
// Besides crashes, hangs and sanitizer findings, a finding is: an exception other than the
// plug-in's own, an aperture held under a D-code other than its own or outside 10..999, a
// highest D-code outside 9..999, and any failure of the aperture's definition and description
// texts for whatever sizes the file gave it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "apertures/ApertureFile.h"
#include "fuzz/FuzzSupport.h"

namespace {

using zzfuzz::Fail;

void CheckTable(const zz::TApertureFile& table) {
  if (table.MaxDCode() < zz::TApertureFile::kFirstDCode - 1 || table.MaxDCode() > zz::TApertureFile::kLastDCode) {
    Fail("highest D-code out of range", std::to_string(table.MaxDCode()));
  }
  for (int32_t dcode = zz::TApertureFile::kFirstDCode; dcode <= zz::TApertureFile::kLastDCode; ++dcode) {
    const zz::TAperture* aperture = table.FindAperture(dcode);
    if (aperture == nullptr) continue;
    if (aperture->DCode != dcode) Fail("aperture held under another D-code", std::to_string(aperture->DCode));
    if (dcode > table.MaxDCode()) Fail("aperture above the highest D-code", std::to_string(dcode));
    // The texts an aperture writes of itself, for sizes nobody checked.
    for (const bool imperial : {false, true}) {
      zzfuzz::AllowingOwnExceptions([&] {
        (void)aperture->DescriptionText(imperial);
        (void)aperture->DefinitionText(imperial, imperial ? 4 : 3);
      });
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  zzfuzz::PrepareStandin();
  zzfuzz::CheckEveryThrow();
  const std::string path =
      zzfuzz::WriteWorkFile("table.apr", std::string_view(reinterpret_cast<const char*>(data), size));
  zz::TApertureFile table;
  zzfuzz::AllowingOwnExceptions([&] { table.LoadFromFile(zz::TShortString<255>(path)); });
  CheckTable(table);
  return 0;
}
