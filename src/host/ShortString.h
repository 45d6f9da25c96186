#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace zz {

// Length-prefixed text as the host lays it out: one length byte, then up to N single-byte
// characters, no terminator. Passed to and from the host by address. Appending beyond the
// capacity has no effect; assigning a longer text keeps its first N characters.
template <std::size_t N>
struct TShortString {
  static_assert(N >= 1 && N <= 255, "a length-prefixed text holds at most 255 characters");
  static constexpr std::size_t Capacity = N;

  uint8_t Length = 0;
  char Chars[N] = {};

  TShortString() = default;
  TShortString(std::string_view text) { Assign(text); }  // NOLINT: implicit by design
  TShortString(const char* text) { Assign(text); }       // NOLINT: implicit by design
  template <std::size_t M>
  TShortString(const TShortString<M>& other) {  // NOLINT: implicit cut-to-capacity copy
    Assign(other.View());
  }

  void Assign(std::string_view text) {
    const std::size_t n = std::min(text.size(), N);
    if (n != 0) std::memcpy(Chars, text.data(), n);
    Length = static_cast<uint8_t>(n);
  }

  void Append(std::string_view text) {
    const std::size_t used = Size();
    const std::size_t n = std::min(text.size(), N - used);
    if (n != 0) std::memcpy(Chars + used, text.data(), n);
    Length = static_cast<uint8_t>(used + n);
  }

  void Append(char c) {
    const std::size_t used = Size();
    if (used < N) {
      Chars[used] = c;
      Length = static_cast<uint8_t>(used + 1);
    }
  }

  void Clear() { Length = 0; }

  // The host may write any length byte; never read past our own capacity.
  std::size_t Size() const { return std::min<std::size_t>(Length, N); }
  bool Empty() const { return Size() == 0; }
  std::string_view View() const { return {Chars, Size()}; }
  std::string Str() const { return std::string(View()); }
  char operator[](std::size_t i) const { return Chars[i]; }

  friend bool operator==(const TShortString& a, const TShortString& b) { return a.View() == b.View(); }
};

using TString255 = TShortString<255>;

static_assert(sizeof(TShortString<255>) == 256, "host layout: length byte + 255 characters");
static_assert(sizeof(TShortString<20>) == 21, "host layout: length byte + 20 characters");
static_assert(alignof(TShortString<255>) == 1, "host layout: byte aligned");

}  // namespace zz
