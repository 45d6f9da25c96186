#include "gen/GeneratorParts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

namespace zzbench {
namespace parts {
namespace {

// ---- Integer geometry ----

constexpr int64_t kUnit = 1000000;

// Sine and cosine by their series, evaluated by the compiler: the table is the same for every target.
constexpr double SeriesSin(double x) {
  double term = x;
  double sum = x;
  for (int n = 1; n < 16; ++n) {
    term = -term * x * x / static_cast<double>((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

constexpr double SeriesCos(double x) {
  double term = 1.0;
  double sum = 1.0;
  for (int n = 1; n < 16; ++n) {
    term = -term * x * x / static_cast<double>((2 * n - 1) * (2 * n));
    sum += term;
  }
  return sum;
}

constexpr int64_t RoundToInt(double v) {
  return v < 0 ? -static_cast<int64_t>(-v + 0.5) : static_cast<int64_t>(v + 0.5);
}

constexpr std::array<Vec, kDirections> MakeDirections() {
  constexpr double kPi = 3.14159265358979323846;
  std::array<Vec, kDirections> table{};
  for (int i = 0; i < kDirections; ++i) {
    // -pi..pi, where the series converge quickly.
    const double a = 2.0 * kPi * (i <= kDirections / 2 ? i : i - kDirections) / kDirections;
    table[static_cast<std::size_t>(i)] = {RoundToInt(SeriesCos(a) * kUnit), RoundToInt(SeriesSin(a) * kUnit)};
  }
  return table;
}

constexpr std::array<Vec, kDirections> kDirectionTable = MakeDirections();
static_assert(kDirectionTable[0].X == kUnit && kDirectionTable[0].Y == 0);
static_assert(kDirectionTable[18].X == 0 && kDirectionTable[18].Y == kUnit);
static_assert(kDirectionTable[36].X == -kUnit && kDirectionTable[54].Y == -kUnit);

// a / b rounded half away from zero, so that +v and -v round to opposite values.
int64_t RoundDiv(int64_t a, int64_t b) { return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b); }

Vec OnCircle(int64_t radius, int direction) {
  const Vec& u = kDirectionTable[static_cast<std::size_t>(((direction % kDirections) + kDirections) % kDirections)];
  return {RoundDiv(radius * u.X, kUnit), RoundDiv(radius * u.Y, kUnit)};
}

}  // namespace

Arc InwardArc(Random& rng, Vec start, int64_t radius, const Box& box, int sweep) {
  const int64_t margin = std::min({start.X - box.Lo, box.Hi - start.X, start.Y - box.Lo, box.Hi - start.Y});
  radius = std::max<int64_t>(1, std::min(radius, margin));
  const int64_t middle = (box.Lo + box.Hi) / 2;
  const int d = static_cast<int>(rng.Range(0, kDirections / 4));  // first quadrant, then mirrored
  const bool right = start.X <= middle;
  const bool up = start.Y <= middle;
  const int centreSide = right ? (up ? d : -d) : (up ? kDirections / 2 - d : kDirections / 2 + d);
  const Vec toCentre = OnCircle(radius, centreSide);
  const Vec centre{start.X + toCentre.X, start.Y + toCentre.Y};
  // Seen from the centre the start lies opposite the centre side.
  const Vec fromCentre = OnCircle(radius, centreSide + kDirections / 2 + sweep);
  Arc arc{toCentre, {centre.X + fromCentre.X, centre.Y + fromCentre.Y}, radius};
  if (sweep % kDirections == 0) arc.End = start;
  return arc;
}

// ---- Text ----

void AppendInt(std::string& out, int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

std::string Decimal(int64_t value, int decimals) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
  digits.insert(digits.size() - decimals, 1, '.');
  return digits;
}

}  // namespace parts

// ---- Random ----

Random::Random(uint64_t seed) {
  uint64_t x = seed;
  for (uint64_t& s : s_) {
    x += 0x9E3779B97F4A7C15ULL;
    uint64_t z = x;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    s = z ^ (z >> 31);
  }
}

uint64_t Random::Next() {
  const auto rotl = [](uint64_t v, int k) { return (v << k) | (v >> (64 - k)); };
  const uint64_t result = rotl(s_[1] * 5, 7) * 9;
  const uint64_t t = s_[1] << 17;
  s_[2] ^= s_[0];
  s_[3] ^= s_[1];
  s_[1] ^= s_[2];
  s_[0] ^= s_[3];
  s_[2] ^= t;
  s_[3] = rotl(s_[3], 45);
  return result;
}

int64_t Random::Range(int64_t lo, int64_t hi) {
  const uint64_t span = static_cast<uint64_t>(hi - lo) + 1;
  if (span == 0) return static_cast<int64_t>(Next());  // the whole 64-bit range
  // Rejection keeps the choice uniform.
  const uint64_t limit = UINT64_MAX - UINT64_MAX % span;
  uint64_t v = Next();
  while (v >= limit) v = Next();
  return lo + static_cast<int64_t>(v % span);
}


}  // namespace zzbench
