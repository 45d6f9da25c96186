#pragma once

// Arithmetic shared by the corner and centre-line operations of the wrappers. The host expects
// its own results to the unit, so intermediate values are formed in extended precision
// (long double) and rounded half to even, never half away from zero.

#include <array>
#include <cstdint>

namespace zz::geometry {

// Nearest integer, halves to the even neighbour (the default rounding mode), held to the 32-bit
// range; NaN gives 0. A host may hand out any coordinate, so no input is undefined here.
int32_t Nearest(long double value);

// The 32-bit result of integer arithmetic done in 64 bits: the host's sums wrap, ours must not
// be undefined.
constexpr int32_t Wrap32(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

// Degrees to radians in extended precision, then rounded to a 64-bit float as the host does.
double Radians(long double degrees);

// Corners 1 to 4 of a box W x H centred on (cx, cy) and rotated by `rotation` degrees; for
// rotation 0 they are lower-left, lower-right, upper-left and upper-right. A box of height 0 has
// no angle of its diagonal: its corners lie on the horizontal line through the centre.
struct TBoxCorners {
  std::array<int32_t, 4> X{};
  std::array<int32_t, 4> Y{};
};
TBoxCorners RotatedBoxCorners(int32_t cx, int32_t cy, int32_t w, int32_t h, double rotation);

}  // namespace zz::geometry
