#pragma once

// Points and directions in the plane, in the converter's internal units, as doubles.

#include <cmath>

#include "gerberx/convert/Pieces.h"

namespace gerberx::convert {

struct Vec {
  double X = 0.0;
  double Y = 0.0;
};
inline Vec operator+(Vec a, Vec b) { return {a.X + b.X, a.Y + b.Y}; }
inline Vec operator-(Vec a, Vec b) { return {a.X - b.X, a.Y - b.Y}; }
inline Vec operator*(Vec a, double k) { return {a.X * k, a.Y * k}; }
inline double Dot(Vec a, Vec b) { return a.X * b.X + a.Y * b.Y; }
inline double Cross(Vec a, Vec b) { return a.X * b.Y - a.Y * b.X; }
inline double Length(Vec a) { return std::hypot(a.X, a.Y); }
inline Vec ToVec(IntPoint p) { return {static_cast<double>(p.X), static_cast<double>(p.Y)}; }
inline IntPoint Round(Vec v) { return {std::llround(v.X), std::llround(v.Y)}; }

}  // namespace gerberx::convert
