#include "apertures/Aperture.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "apertures/ParameterString.h"
#include "host/Errors.h"
#include "host/SizeText.h"
#include "host/Units.h"

namespace zz {
namespace {

// A text holds at most 255 characters, so more decimals than that could never be seen.
constexpr int32_t kMaxDecimals = 255;

// A length rounded as the size texts round it: the fraction to 1/scale, halves to even.
double RoundFraction(double value, long double scale) {
  const double whole = std::trunc(value);
  const double fraction = static_cast<double>(value - whole);
  const double rounded = static_cast<double>(std::nearbyint(static_cast<double>(fraction * scale)) / scale);
  return static_cast<double>(whole + rounded);
}

// A length of a definition text: inches or millimetres, held in single precision, written with
// a fixed number of decimals.
void AppendNumber(TShortString<255>& text, int64_t length, bool imperial, int32_t decimals) {
  float value;
  if (imperial) {
    const double mils = RoundFraction(static_cast<double>(static_cast<long double>(length) / 10000.0L), 1000.0L);
    value = static_cast<float>(static_cast<long double>(mils) / 1000.0L);
  } else {
    const double mm = static_cast<double>(static_cast<long double>(length) * 0.0254L / 10000.0L);
    value = static_cast<float>(RoundFraction(mm, 100000.0L));
  }
  // Sign, 39 digits of the largest float, point and the decimals.
  char buffer[48 + kMaxDecimals];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                    std::chars_format::fixed, std::clamp(decimals, 0, kMaxDecimals));
  if (result.ec != std::errc()) return;
  // A length that rounds to zero has no sign.
  text.Append(WithoutNegativeZero(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer))));
}

void AppendInteger(TShortString<255>& text, int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  text.Append(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

void AppendHole(TShortString<255>& text, int32_t holeSize, bool imperial, int32_t decimals) {
  if (holeSize <= 0) return;
  text.Append('X');
  AppendNumber(text, holeSize, imperial, decimals);
}

TShortString<255> IntegerText(int64_t value) {
  TShortString<255> text;
  AppendInteger(text, value);
  return text;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// `shown` is the text as the user wrote it, for the message.
int32_t ReadDCode(std::string_view digits, std::string_view shown) {
  int32_t value = 0;
  if (!TryReadInteger(digits, value)) throw EConversionError("D-code " + Quoted(shown) + " is not a valid integer");
  return value;
}

void UpperCase(TShortString<255>& text) {
  for (std::size_t i = 0; i < text.Size(); ++i) {
    char& c = text.Chars[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

}  // namespace

const char* UsageWord(uint8_t usage) {
  switch (usage) {
    case kUsageFlashOnly:
      return "FLASHONLY";
    case kUsageStrokeOnly:
      return "STROKEONLY";
    case kUsageMultiple:
      return "MULTIPLE";
    default:
      return "";
  }
}

TShortString<255> TAperture::DefinitionText(bool, int32_t) const { return {}; }

TShortString<255> TAperture::DescriptionText(bool Imperial) const {
  TShortString<255> text;
  SetParameter(text, "DCode", IntegerText(DCode).View());
  SetParameter(text, "XSize", FormatSizeText(XSize, Imperial).View());
  SetParameter(text, "YSize", FormatSizeText(YSize, Imperial).View());
  SetParameter(text, "HoleSize", FormatSizeText(HoleSize, Imperial).View());
  SetParameter(text, "Usage", UsageWord(Usage));
  return text;
}

void TAperture::ReadParameters(const char* Line) {
  if (Line == nullptr) return;
  const std::string_view line(Line);
  TShortString<255> value;
  if (GetParameter(line, "DCode", value)) DCode = ReadDCode(value.View(), value.View());
  // Every keyed value is read with mil as its unit; a suffix changes it for that value only.
  const auto readLength = [&](std::string_view name, int32_t& field) {
    TShortString<255> text;
    if (!GetParameter(line, name, text)) return;
    bool imperial = true;
    field = ParseLength(text.View(), imperial);
  };
  readLength("XSize", XSize);
  readLength("YSize", YSize);
  readLength("HoleSize", HoleSize);
  Usage = kUsageMultiple;
  if (GetParameter(line, "Usage", value)) {
    UpperCase(value);
    if (value.View() == "FLASHONLY") Usage = kUsageFlashOnly;
    if (value.View() == "STROKEONLY") Usage = kUsageStrokeOnly;
  }
}

void TAperture::ParseListLine(const TShortString<255>& Line) {
  const std::string_view line = Line.View();
  TShortString<255> words[6];
  std::size_t count = 0;
  std::size_t i = 0;
  while (count < std::size(words)) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i == line.size()) break;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    words[count].Assign(line.substr(start, i - start));
    UpperCase(words[count]);
    ++count;
  }

  const std::string_view dcode = words[0].View();  // empty when the line has no word
  DCode = ReadDCode(dcode.empty() ? dcode : dcode.substr(1), dcode);

  const std::string_view shape = words[1].View();
  if (shape == "SQUARE") {
    Shape = kShapeRectangle;
  } else if (shape == "ROUNDED" || shape == "CIRCULAR" || shape == "MOIRE" || shape == "TARGET" ||
             shape == "ROUNDRECT") {
    Shape = kShapeRound;
  } else if (shape == "OCTAGON") {
    Shape = kShapeOctagon;
  } else if (shape == "RELIEF") {
    Shape = kShapeRelief;
  }

  // A unit suffix sets the unit of the values after it on the same line.
  bool imperial = true;
  XSize = ParseLength(words[2].View(), imperial);
  YSize = ParseLength(words[3].View(), imperial);
  HoleSize = ParseLength(words[4].View(), imperial);

  const std::string_view usage = words[5].View();
  Usage = usage == "STROKE" ? kUsageStrokeOnly : usage == "FLASH" ? kUsageFlashOnly : kUsageMultiple;
}

TShortString<255> TRoundAperture::DefinitionText(bool Imperial, int32_t Decimals) const {
  const bool circle = XSize == YSize;
  TShortString<255> text("%ADD");
  AppendInteger(text, DCode);
  text.Append(circle ? "C," : "O,");
  AppendNumber(text, XSize, Imperial, Decimals);
  if (!circle) {
    text.Append('X');
    AppendNumber(text, YSize, Imperial, Decimals);
  }
  AppendHole(text, HoleSize, Imperial, Decimals);
  text.Append("*%");
  return text;
}

TShortString<255> TRoundAperture::DescriptionText(bool Imperial) const {
  TShortString<255> text = TAperture::DescriptionText(Imperial);
  text.Append("|Shape=Round");
  return text;
}

TShortString<255> TRectangleAperture::DefinitionText(bool Imperial, int32_t Decimals) const {
  TShortString<255> text("%ADD");
  AppendInteger(text, DCode);
  text.Append("R,");
  AppendNumber(text, XSize, Imperial, Decimals);
  text.Append('X');
  AppendNumber(text, YSize, Imperial, Decimals);
  AppendHole(text, HoleSize, Imperial, Decimals);
  text.Append("*%");
  return text;
}

TShortString<255> TRectangleAperture::DescriptionText(bool Imperial) const {
  TShortString<255> text = TAperture::DescriptionText(Imperial);
  text.Append("|Shape=Rectangle");
  return text;
}

TShortString<255> TOctagonAperture::DefinitionText(bool Imperial, int32_t Decimals) const {
  TShortString<255> text("%ADD");
  AppendInteger(text, DCode);
  text.Append("P,");
  AppendNumber(text, std::min(XSize, YSize), Imperial, Decimals);
  text.Append("X8X0");
  AppendHole(text, HoleSize, Imperial, Decimals);
  text.Append("*%");
  return text;
}

TShortString<255> TOctagonAperture::DescriptionText(bool Imperial) const {
  TShortString<255> text = TAperture::DescriptionText(Imperial);
  text.Append("|Shape=Octagon");
  return text;
}

TShortString<255> TReliefAperture::DefinitionText(bool Imperial, int32_t Decimals) const {
  TShortString<255> text("%AMTHD");
  AppendInteger(text, DCode);
  text.Append("*\r\n7,0,0,");
  AppendNumber(text, int64_t{XSize} + RingSize, Imperial, Decimals);  // 64 bits: the sum may exceed 32
  text.Append(',');
  AppendNumber(text, XSize, Imperial, Decimals);
  text.Append(',');
  AppendNumber(text, GapSize, Imperial, Decimals);
  text.Append(",45*\r\n%\r\n%ADD");
  AppendInteger(text, DCode);
  text.Append("THD");
  AppendInteger(text, DCode);
  text.Append("*%");
  return text;
}

TShortString<255> TReliefAperture::DescriptionText(bool Imperial) const {
  TShortString<255> text = TAperture::DescriptionText(Imperial);
  text.Append("|Shape=Relief");
  return text;
}

}  // namespace zz
