#include "pcbobjects/BoxGeometry.h"

#include <cmath>
#include <limits>

namespace zz::geometry {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

}  // namespace

int32_t Nearest(long double value) {
  if (std::isnan(value)) return 0;
  const long double rounded = std::nearbyint(value);
  if (rounded <= static_cast<long double>(std::numeric_limits<int32_t>::min())) {
    return std::numeric_limits<int32_t>::min();
  }
  if (rounded >= static_cast<long double>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  return static_cast<int32_t>(rounded);
}

double Radians(long double degrees) { return static_cast<double>(degrees * kPi / 180.0L); }

TBoxCorners RotatedBoxCorners(int32_t cx, int32_t cy, int32_t w, int32_t h, double rotation) {
  TBoxCorners corners;
  const long double centreX = cx;
  const long double centreY = cy;
  const long double halfW = static_cast<long double>(w) / 2.0L;
  const long double halfH = static_cast<long double>(h) / 2.0L;

  if (h == 0) {
    corners.X = {Nearest(centreX - halfW), Nearest(centreX + halfW), Nearest(centreX - halfW),
                 Nearest(centreX + halfW)};
    corners.Y = {cy, cy, cy, cy};
    return corners;
  }

  const long double r = static_cast<double>(std::sqrt(halfW * halfW + halfH * halfH));
  const long double a = std::atan(static_cast<long double>(w) / static_cast<long double>(h));
  const long double theta = Radians(rotation);
  const long double phi = Radians(90.0L - rotation);

  const long double sinAT = std::sin(a - theta);
  const long double cosAT = std::cos(a - theta);
  const long double cosPA = std::cos(phi - a);
  const long double sinPA = std::sin(phi - a);

  corners.X = {Nearest(centreX - r * sinAT), Nearest(centreX + r * cosPA), Nearest(centreX - r * cosPA),
               Nearest(centreX + r * sinAT)};
  corners.Y = {Nearest(centreY - r * cosAT), Nearest(centreY - r * sinPA), Nearest(centreY + r * sinPA),
               Nearest(centreY + r * cosAT)};
  return corners;
}

}  // namespace zz::geometry
