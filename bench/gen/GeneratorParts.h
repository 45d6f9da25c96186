#pragma once

// What the large-file and the corpus writers share: integer geometry and number texts.

#include <cstdint>
#include <string>
#include <string_view>

#include "gen/GerberGenerator.h"

namespace zzbench::parts {

constexpr int kDirections = 72;  // 5 degree steps

struct Vec {
  int64_t X;
  int64_t Y;
};

struct Box {
  int64_t Lo;
  int64_t Hi;  // the same range for X and Y
};

struct Arc {
  Vec Offset;  // centre - start: I and J
  Vec End;
  int64_t Radius;
};

// An arc from `start` that stays inside the box: its centre lies towards the middle of the box
// and its radius is at most the start's distance from the nearest edge, so the circle cannot
// cross it. The end lies `sweep` steps further round the circle (counter-clockwise when
// positive); a sweep of a whole turn ends exactly where it started.
Arc InwardArc(Random& rng, Vec start, int64_t radius, const Box& box, int sweep);

void AppendInt(std::string& out, int64_t value);

// A size in units of 10^-decimals as a decimal number with all its decimals ("0.0100").
std::string Decimal(int64_t value, int decimals);

// Texts joined by appending. Building them with operator+ on a temporary makes GCC 12 report a
// false -Wrestrict inside libstdc++'s string insert, which Release builds turn into an error.
inline void AppendPart(std::string& out, std::string_view text) { out += text; }
inline void AppendPart(std::string& out, char c) { out += c; }
inline void AppendPart(std::string& out, int value) { AppendInt(out, value); }
inline void AppendPart(std::string& out, int64_t value) { AppendInt(out, value); }

template <typename... Parts>
std::string Cat(const Parts&... parts) {
  std::string out;
  (AppendPart(out, parts), ...);
  return out;
}

}  // namespace zzbench::parts
