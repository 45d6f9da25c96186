#pragma once

// The aperture table of one import run: D-codes 10 to 999, at most one aperture each, filled
// from %ADD statements and from an aperture table file (a keyed table under a first line
// holding "Kolvex Aperture File", or a plain aperture list).

#include <array>
#include <cstdint>
#include <memory>

#include "apertures/Aperture.h"
#include "host/ShortString.h"

namespace zz {

class TApertureFile {
 public:
  static constexpr int32_t kFirstDCode = 10;
  static constexpr int32_t kLastDCode = 999;

  TApertureFile() = default;
  TApertureFile(const TApertureFile&) = delete;
  TApertureFile& operator=(const TApertureFile&) = delete;
  ~TApertureFile() = default;

  // The fields of the aperture held for DCode; for any other D-code sizes 0, shape round and
  // usage multiple.
  void GetAperture(int32_t DCode, int32_t& XSize, int32_t& YSize, int32_t& HoleSize, uint8_t& Shape,
                   uint8_t& Usage) const;
  // Creates the aperture when none is held (its class from Shape), then stores every field.
  // A redefinition keeps the object and its class. Out-of-range D-codes are ignored.
  void DefineAperture(int32_t DCode, int32_t XSize, int32_t YSize, int32_t HoleSize, uint8_t Shape, uint8_t Usage);
  // True when an aperture is held for DCode afterwards; creates one of Shape's class if needed.
  bool EnsureAperture(int32_t DCode, uint8_t Shape);
  // Loads a keyed table or an aperture list. A missing file (or no existence service) loads
  // nothing. A line whose D-code is not an integer ends the load with EConversionError; a
  // length beyond 32 bits with ERangeError. Apertures of earlier lines stay.
  void LoadFromFile(const TShortString<255>& FileName);

  // Highest D-code stored by a file reader; 9 until one stores.
  int32_t MaxDCode() const { return maxDCode_; }
  // The aperture held for DCode, or null. For writers of aperture texts and for inspection;
  // the pointer is valid until the entry is replaced or the table destroyed.
  const TAperture* FindAperture(int32_t DCode) const;

 private:
  static bool InRange(int32_t dcode) { return dcode >= kFirstDCode && dcode <= kLastDCode; }
  std::unique_ptr<TAperture>& Slot(int32_t dcode) { return slots_[static_cast<std::size_t>(dcode - kFirstDCode)]; }
  void ReadKeyedLine(const TShortString<255>& line);
  void ReadListLine(const TShortString<255>& line);

  std::array<std::unique_ptr<TAperture>, kLastDCode - kFirstDCode + 1> slots_;
  int32_t maxDCode_ = kFirstDCode - 1;
};

}  // namespace zz
