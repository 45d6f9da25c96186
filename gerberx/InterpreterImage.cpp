// The interpreter's image parameters: %IP and the statements that move the whole image.
#include <cctype>
#include <cmath>

#include "gerberx/Fields.h"
#include "gerberx/Interpreter.h"

namespace gerberx {

void Interpreter::ImageStatement(const std::string& code, const std::string& v) {
  auto field = [&](char letter, double fallback) {
    const std::size_t at = v.find(letter);
    if (at == std::string::npos) return fallback;
    std::size_t end = at + 1;
    while (end < v.size() && !std::isalpha(static_cast<unsigned char>(v[end]))) ++end;
    return ParseDecimal(v.substr(at + 1, end - at - 1), code.c_str());
  };
  bool effect = false;
  if (code == "IP") {
    if (v == "POS")
      negative_ = false;
    else if (v == "NEG")
      negative_ = true, effect = true;
    else
      Fail("%IP must be POS or NEG");
  } else if (code == "MI") {
    image_.mirrorA = field('A', 0) != 0;
    image_.mirrorB = field('B', 0) != 0;
    effect = image_.mirrorA || image_.mirrorB;
  } else if (code == "SF") {
    image_.scaleA = field('A', 1);
    image_.scaleB = field('B', 1);
    if (!(image_.scaleA > 0) || !(image_.scaleB > 0) || image_.scaleA > 1e6 || image_.scaleB > 1e6)
      Fail("%SF scale must be positive");
    effect = image_.scaleA != 1 || image_.scaleB != 1;
  } else if (code == "OF") {
    const double a = field('A', 0), b = field('B', 0);
    if (std::abs(a) * UnitScale() > kCoordLimit || std::abs(b) * UnitScale() > kCoordLimit)
      Fail("%OF beyond the reader's range");
    image_.offset = {static_cast<Coord>(std::llround(a * UnitScale())),
                     static_cast<Coord>(std::llround(b * UnitScale()))};
    effect = a != 0 || b != 0;
  } else if (code == "IR") {
    const long r = SmallInt(v);
    if (r != 0 && r != 90 && r != 180 && r != 270) Fail("%IR must be 0, 90, 180 or 270");
    image_.rotation = double(r);
    effect = r != 0;
  } else if (code == "AS") {
    if (v == "AXBY")
      image_.swapAxes = false;
    else if (v == "AYBX")
      image_.swapAxes = true, effect = true;
    else
      Fail("%AS must be AXBY or AYBX");
  }
  if (effect) ++layer_.counts.imageParameters;
  ++layer_.counts.deprecated;
  UpdateImageMap();
}

void Interpreter::UpdateImageMap() {
  imageMap_ = ImageMap(image_);
  imageMapIdentity_ = imageMap_.IsIdentity();
}

}  // namespace gerberx
