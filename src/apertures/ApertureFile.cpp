#include "apertures/ApertureFile.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "apertures/ParameterString.h"
#include "host/AsciiCase.h"
#include "host/ClientServices.h"
#include "host/Errors.h"
#include "host/TextFile.h"
#include "host/Units.h"

namespace zz {
namespace {

constexpr std::string_view kKeyedHeader = "Kolvex Aperture File";

std::unique_ptr<TAperture> NewAperture(uint8_t shape) {
  switch (shape) {
    case kShapeRound:
      return std::make_unique<TRoundAperture>();
    case kShapeRectangle:
      return std::make_unique<TRectangleAperture>();
    case kShapeOctagon:
      return std::make_unique<TOctagonAperture>();
    case kShapeRelief:
      return std::make_unique<TReliefAperture>();
    default:
      return std::make_unique<TAperture>();
  }
}

bool KeyedShape(std::string_view word, uint8_t& shape) {
  static constexpr std::string_view kWords[] = {"ROUND", "RECTANGLE", "OCTAGON", "RELIEF"};
  for (std::size_t code = 0; code < std::size(kWords); ++code) {
    if (SameIgnoringAsciiCase(word, kWords[code])) {
      shape = static_cast<uint8_t>(code);
      return true;
    }
  }
  return false;
}

// The class of a list line comes from a case-sensitive search of the whole line.
std::unique_ptr<TAperture> ListLineAperture(std::string_view line) {
  static constexpr struct {
    std::string_view Word;
    uint8_t Shape;
  } kClasses[] = {
      {"SQUARE", kShapeRectangle}, {"ROUNDED", kShapeRound},   {"RECTANGULAR", kShapeRectangle},
      {"CIRCULAR", kShapeRound},   {"MOIRE", kShapeRound},     {"TARGET", kShapeRound},
      {"ROUNDRECT", kShapeRound},  {"OCTAGON", kShapeOctagon}, {"RELIEF", kShapeRelief},
  };
  for (const auto& entry : kClasses) {
    if (line.find(entry.Word) != std::string_view::npos) return NewAperture(entry.Shape);
  }
  return NewAperture(kShapeRound);
}

std::string Printable(std::string_view text) {
  std::string result;
  for (const char c : text) {
    if (c == '\0') break;
    result += (static_cast<unsigned char>(c) < 32) ? ' ' : c;
  }
  return result;
}

}  // namespace

void TApertureFile::GetAperture(int32_t DCode, int32_t& XSize, int32_t& YSize, int32_t& HoleSize, uint8_t& Shape,
                                uint8_t& Usage) const {
  XSize = 0;
  YSize = 0;
  HoleSize = 0;
  Shape = kShapeRound;
  Usage = kUsageMultiple;
  if (const TAperture* aperture = FindAperture(DCode)) {
    XSize = aperture->XSize;
    YSize = aperture->YSize;
    HoleSize = aperture->HoleSize;
    Shape = aperture->Shape;
    Usage = aperture->Usage;
  }
}

const TAperture* TApertureFile::FindAperture(int32_t DCode) const {
  if (!InRange(DCode)) return nullptr;
  return slots_[static_cast<std::size_t>(DCode - kFirstDCode)].get();
}

bool TApertureFile::EnsureAperture(int32_t DCode, uint8_t Shape) {
  if (!InRange(DCode)) return false;
  std::unique_ptr<TAperture>& slot = Slot(DCode);
  if (!slot) {
    slot = NewAperture(Shape);
    slot->DCode = DCode;  // the slot and its aperture always agree on the D-code
  }
  return true;
}

void TApertureFile::DefineAperture(int32_t DCode, int32_t XSize, int32_t YSize, int32_t HoleSize, uint8_t Shape,
                                   uint8_t Usage) {
  if (!EnsureAperture(DCode, Shape)) return;
  TAperture& aperture = *Slot(DCode);
  aperture.DCode = DCode;
  aperture.XSize = XSize;
  aperture.YSize = YSize;
  aperture.HoleSize = HoleSize;
  aperture.Shape = Shape;
  aperture.Usage = Usage;
}

void TApertureFile::ReadKeyedLine(const TShortString<255>& line) {
  // A keyed line is zero-terminated text: a NUL in the file ends it.
  char text[TShortString<255>::Capacity + 1];
  std::memcpy(text, line.Chars, line.Size());
  text[line.Size()] = '\0';
  const std::string_view view(text);
  if (view.empty() || view.front() != 'D') return;

  TShortString<255> value;
  if (!GetParameter(view, "DCode", value)) return;
  int32_t dcode = 0;
  if (!TryReadInteger(value.View(), dcode)) {
    throw EConversionError("DCode " + std::string("\"") + value.Str() + "\" is not a valid integer");
  }
  uint8_t shape = 0;
  if (!GetParameter(view, "Shape", value) || !KeyedShape(value.View(), shape)) return;
  if (!EnsureAperture(dcode, shape)) return;
  if (dcode > maxDCode_) maxDCode_ = dcode;
  Slot(dcode)->ReadParameters(text);
}

void TApertureFile::ReadListLine(const TShortString<255>& line) {
  if (line.Empty() || line[0] != 'D') return;
  std::unique_ptr<TAperture> aperture = ListLineAperture(line.View());
  aperture->ParseListLine(line);
  const int32_t dcode = aperture->DCode;
  if (!InRange(dcode)) return;
  Slot(dcode) = std::move(aperture);
  if (dcode > maxDCode_) maxDCode_ = dcode;
}

void TApertureFile::LoadFromFile(const TShortString<255>& FileName) {
  const std::string name = FileName.Str();
  if (!client::ExistSpecific(name)) return;
  TextFile file;
  if (!file.Open(name.c_str())) return;

  TShortString<255> line;
  int32_t lineNumber = 1;
  // Both readers raise errors without knowing where they stand; say which file and line.
  const auto where = [&] { return "aperture table file \"" + name + "\", line " + std::to_string(lineNumber) + ": "; };
  try {
    if (!file.ReadLine(line)) return;
    const bool keyed = line.View().find(kKeyedHeader) != std::string_view::npos;
    if (!keyed) ReadListLine(line);
    while (file.ReadLine(line)) {
      if (lineNumber < INT32_MAX) ++lineNumber;  // a file of more lines must not overflow the count
      if (keyed) {
        ReadKeyedLine(line);
      } else {
        ReadListLine(line);
      }
    }
  } catch (const EConversionError& error) {
    throw EConversionError(where() + error.what() + " in \"" + Printable(line.View()) + "\"");
  } catch (const ERangeError& error) {
    throw ERangeError(where() + error.what() + " in \"" + Printable(line.View()) + "\"");
  }
}

}  // namespace zz
