#include "gerberx/PlacedObject.h"

#include <algorithm>
#include <cmath>

namespace gerberx {

namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

Object Placed(const Object& obj, const Affine& map) {
  Object out = obj;
  const bool translation = map.a == 1 && map.b == 0 && map.c == 0 && map.d == 1 && map.tx == std::round(map.tx) &&
                           map.ty == std::round(map.ty);
  if (translation) {
    const Point by{static_cast<Coord>(map.tx), static_cast<Coord>(map.ty)};
    out.area = Translated(obj.area, by);
    out.start = Moved(obj.start, by);
    out.end = Moved(obj.end, by);
    out.centre = Moved(obj.centre, by);
    if (!obj.box.empty) out.box = Box{Moved(obj.box.min, by), Moved(obj.box.max, by), false};
    for (MacroPart& part : out.macroParts) part.centre = Moved(part.centre, by);
    return out;
  }
  auto place = [&](Point p) { return ToGrid(map.Apply({double(p.x), double(p.y)})); };
  out.area = Transformed(obj.area, map);
  out.start = place(obj.start);
  out.end = place(obj.end);
  out.centre = place(obj.centre);
  const bool mirror = map.Mirrors();
  if (mirror) out.clockwise = !obj.clockwise;
  const double s = map.LengthScale();
  Aperture& a = out.aperture;
  a.xSize = static_cast<Coord>(std::llround(std::min(a.xSize * s, double(kCoordLimit))));
  a.ySize = static_cast<Coord>(std::llround(std::min(a.ySize * s, double(kCoordLimit))));
  a.holeDiameter = static_cast<Coord>(std::llround(std::min(a.holeDiameter * s, double(kCoordLimit))));
  const double theta = std::atan2(map.c, map.a) * 180 / kPi;
  a.rotation = std::fmod((mirror ? -a.rotation : a.rotation) + theta + 720.0, 360.0);
  a.mirrored = a.mirrored != mirror;
  if (!map.KeepsAngles()) a.distorted = true;
  for (MacroPart& part : out.macroParts) {
    if (!map.KeepsAngles()) part.shape = MacroPart::Shape::Other;
    part.centre = place(part.centre);
    part.xSize = static_cast<Coord>(std::llround(std::min(part.xSize * s, double(kCoordLimit))));
    part.ySize = static_cast<Coord>(std::llround(std::min(part.ySize * s, double(kCoordLimit))));
    part.gap = static_cast<Coord>(std::llround(std::min(part.gap * s, double(kCoordLimit))));
    const double turn = part.rotation * kPi / 180;
    const DPoint axis = map.ApplyLinear({std::cos(turn), std::sin(turn)});
    part.rotation = std::atan2(axis.y, axis.x) * 180 / kPi;
  }
  out.box = BoundingBox(out.area);
  if (out.box.empty && !obj.box.empty) {
    // No polygons kept: the box of the placed corners.
    for (Point corner :
         {obj.box.min, obj.box.max, Point{obj.box.min.x, obj.box.max.y}, Point{obj.box.max.x, obj.box.min.y}})
      out.box.Add(place(corner));
  } else if (out.box.empty) {
    out.box.Add(out.start);
    out.box.Add(out.end);
  }
  return out;
}

}  // namespace gerberx
