#include "gerber/ArcGeometry.h"

#include <cmath>

namespace zz {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// The arctangent of the slope, rounded to a single float before it becomes degrees.
double SlopeDegrees(float cx, float cy, float px, float py) {
  const long double dy = static_cast<long double>(py) - cy;
  const long double dx = static_cast<long double>(px) - cx;
  const float radians = static_cast<float>(std::atan(dy / dx));
  return RadiansToDegrees(radians);
}

}  // namespace

double RadiansToDegrees(double x) { return static_cast<double>(static_cast<long double>(x) * 180.0L / kPi); }

float PointAngle(float cx, float cy, float px, float py) {
  if (px > cx) return static_cast<float>(SlopeDegrees(cx, cy, px, py));
  if (px < cx) return static_cast<float>(static_cast<long double>(SlopeDegrees(cx, cy, px, py)) + 180.0L);
  return py > cy ? 90.0f : 270.0f;
}

float PointDistance(float ax, float ay, float bx, float by) {
  const long double dx = static_cast<long double>(bx) - ax;
  const long double dy = static_cast<long double>(by) - ay;
  return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

}  // namespace zz
