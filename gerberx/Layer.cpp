#include "gerberx/Layer.h"

#include <algorithm>
#include <cmath>

namespace gerberx {

int QuarterTurns(double degrees) {
  const double turns = degrees / 90.0;
  const double whole = std::round(turns);
  if (std::abs(turns - whole) >= 1e-7) return -1;
  return static_cast<int>(std::fmod(std::fmod(whole, 4.0) + 4.0, 4.0));
}

bool Object::IsPlain() const {
  if (aperture.distorted) return false;  // a circle scaled unevenly is an ellipse
  const bool onAxes = aperture.shape == ApertureShape::Rectangle && QuarterTurns(aperture.rotation) >= 0;
  switch (kind) {
    case ObjectKind::Flash:
      return aperture.holeDiameter == 0 &&
             (aperture.shape == ApertureShape::Circle || onAxes ||
              (aperture.shape == ApertureShape::Obround && QuarterTurns(aperture.rotation) >= 0));
    case ObjectKind::Stroke:
      return aperture.shape == ApertureShape::Circle || (onAxes && (start.x == end.x || start.y == end.y));
    case ObjectKind::Arc:
      return aperture.shape == ApertureShape::Circle;
    default:
      return false;
  }
}

std::size_t Object::Primitives() const {
  if (kind == ObjectKind::MacroFlash) return macroParts.size();
  if (kind == ObjectKind::Region) return static_cast<std::size_t>(std::max(edges, 1));
  return 1;
}

const Attribute* Layer::FindFileAttribute(const std::string& name) const {
  for (auto it = fileAttributes.rbegin(); it != fileAttributes.rend(); ++it)
    if (it->name == name) return &*it;
  return nullptr;
}

std::string Layer::FileFunction() const {
  const Attribute* a = FindFileAttribute(".FileFunction");
  if (!a) return {};
  std::string text;
  for (const std::string& v : a->values) text += (text.empty() ? "" : ",") + v;
  return text;
}

}  // namespace gerberx
