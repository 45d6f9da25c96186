#pragma once

// The photoplotter tool of one D-code: its shape, sizes, hole and usage. The class decides
// which texts an aperture writes; the Shape field is what the table hands to the drawing code.
// The two may disagree after a redefinition that keeps the object.

#include <cstdint>

#include "host/ShortString.h"

namespace zz {

// Aperture shape codes.
constexpr uint8_t kShapeRound = 0;
constexpr uint8_t kShapeRectangle = 1;
constexpr uint8_t kShapeOctagon = 2;
constexpr uint8_t kShapeRelief = 3;

enum TApertureUsage : uint8_t {
  kUsageFlashOnly = 0,
  kUsageStrokeOnly = 1,
  kUsageMultiple = 2,
};

class TAperture {
 public:
  TAperture() = default;
  TAperture(const TAperture&) = delete;
  TAperture& operator=(const TAperture&) = delete;
  virtual ~TAperture() = default;

  // The slot order is part of the class's contract.
  // RS-274-X aperture definition, in inches (Imperial) or millimetres with Decimals digits.
  virtual TShortString<255> DefinitionText(bool Imperial, int32_t Decimals) const;
  // Keyed table line, sizes in mils (Imperial) or millimetres.
  virtual TShortString<255> DescriptionText(bool Imperial) const;
  // Reads DCode, sizes, hole and usage from a keyed table line (not Shape). A DCode that is
  // not an integer raises EConversionError.
  virtual void ReadParameters(const char* Line);
  // Reads an aperture list line: D-code, shape word, sizes, hole, usage. A D-code that is not
  // an integer raises EConversionError.
  virtual void ParseListLine(const TShortString<255>& Line);

  int32_t DCode = 0;
  uint8_t Shape = 0;
  int32_t XSize = 0;
  int32_t YSize = 0;
  int32_t HoleSize = 0;
  uint8_t Usage = 0;
};

class TRoundAperture : public TAperture {
 public:
  TRoundAperture() { Shape = kShapeRound; }
  TShortString<255> DefinitionText(bool Imperial, int32_t Decimals) const override;
  TShortString<255> DescriptionText(bool Imperial) const override;
};

class TRectangleAperture : public TAperture {
 public:
  TRectangleAperture() { Shape = kShapeRectangle; }
  TShortString<255> DefinitionText(bool Imperial, int32_t Decimals) const override;
  TShortString<255> DescriptionText(bool Imperial) const override;
};

class TOctagonAperture : public TAperture {
 public:
  TOctagonAperture() { Shape = kShapeOctagon; }
  TShortString<255> DefinitionText(bool Imperial, int32_t Decimals) const override;
  TShortString<255> DescriptionText(bool Imperial) const override;
};

class TReliefAperture : public TAperture {
 public:
  TReliefAperture() { Shape = kShapeRelief; }
  TShortString<255> DefinitionText(bool Imperial, int32_t Decimals) const override;
  TShortString<255> DescriptionText(bool Imperial) const override;

  int32_t GapSize = 0;   // gap thickness of the thermal
  int32_t RingSize = 0;  // how much the outer diameter exceeds XSize
};

// "FLASHONLY", "STROKEONLY", "MULTIPLE"; empty for any other code.
const char* UsageWord(uint8_t usage);

}  // namespace zz
