#pragma once

// How the stand-in keeps millions of objects in little memory. An object is a small row of the
// values that differ from object to object (coordinates, angles) and the index of a "style":
// every other value of the object (common values, sizes, shapes, carried values) in one block
// that objects with equal values share. An import makes a few dozen distinct styles however
// many objects it creates, so a track costs 20 bytes and a pad 12. Rows and styles live in
// chunks that never move, so nothing is copied as the board grows.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "standin/Records.h"

namespace standin {

// A vector of trivially copyable values in fixed chunks of about 4 KB: elements never move,
// and memory is touched only as it is filled.
template <typename T>
class ChunkedVector {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  ChunkedVector() = default;
  ChunkedVector(const ChunkedVector&) = delete;
  ChunkedVector& operator=(const ChunkedVector&) = delete;
  ~ChunkedVector() { Clear(); }

  std::size_t size() const { return size_; }
  T& operator[](std::size_t i) { return chunks_[i >> kShift][i & kMask]; }
  const T& operator[](std::size_t i) const { return chunks_[i >> kShift][i & kMask]; }

  // Throws std::bad_alloc and leaves the vector as it was when there is no memory.
  void push_back(const T& value) {
    if ((size_ >> kShift) == chunks_.size()) {
      if (chunks_.size() == chunks_.capacity()) chunks_.reserve(2 * chunks_.size() + 16);
      chunks_.push_back(static_cast<T*>(::operator new(kPerChunk * sizeof(T))));  // cannot throw after the reserve
    }
    std::memcpy(static_cast<void*>(&chunks_[size_ >> kShift][size_ & kMask]), &value, sizeof(T));
    ++size_;
  }
  void pop_back() { --size_; }

  void Clear() {
    for (T* chunk : chunks_) ::operator delete(chunk);
    std::vector<T*>().swap(chunks_);
    size_ = 0;
  }
  std::size_t MemoryUsage() const { return chunks_.size() * kPerChunk * sizeof(T) + chunks_.capacity() * sizeof(T*); }

 private:
  static constexpr std::size_t ShiftFor(std::size_t bytes) {
    std::size_t shift = 0;
    while ((std::size_t{2} << shift) * bytes <= 4096) ++shift;
    return shift;
  }
  static constexpr std::size_t kShift = ShiftFor(sizeof(T));
  static constexpr std::size_t kPerChunk = std::size_t{1} << kShift;
  static constexpr std::size_t kMask = kPerChunk - 1;

  std::vector<T*> chunks_;
  std::size_t size_ = 0;
};

// Shared blocks of values, compared byte for byte (so -0.0 and 0.0 stay apart, as a fetch must
// give back exactly what was stored). Callers build blocks from zeroed memory.
template <typename Style>
class Interner {
 public:
  uint32_t Intern(const Style& style) {
    // Consecutive objects mostly look alike: the block used last is tried first.
    if (last_ < values_.size() && Same(values_[last_], style)) return last_;
    const std::size_t hash = Hash(style);
    const auto range = index_.equal_range(hash);
    for (auto it = range.first; it != range.second; ++it) {
      if (Same(values_[it->second], style)) return last_ = it->second;
    }
    const auto index = static_cast<uint32_t>(values_.size());
    values_.push_back(style);
    try {
      index_.emplace(hash, index);
    } catch (...) {
      values_.pop_back();
      throw;
    }
    return last_ = index;
  }
  const Style& operator[](uint32_t index) const { return values_[index]; }
  std::size_t size() const { return values_.size(); }

  void Clear() {
    values_.Clear();
    decltype(index_)().swap(index_);
    last_ = UINT32_MAX;
  }
  std::size_t MemoryUsage() const {
    return values_.MemoryUsage() + index_.bucket_count() * sizeof(void*) + index_.size() * 4 * sizeof(void*);
  }

 private:
  // Word by word: the blocks are a few dozen bytes, and a library call would cost more than the compare.
  static bool Same(const Style& a, const Style& b) {
    static_assert(sizeof(Style) % sizeof(uint32_t) == 0);
    const auto* pa = reinterpret_cast<const unsigned char*>(&a);
    const auto* pb = reinterpret_cast<const unsigned char*>(&b);
    uint32_t differ = 0;
    for (std::size_t i = 0; i < sizeof(Style); i += sizeof(uint32_t)) {
      uint32_t wa = 0;
      uint32_t wb = 0;
      std::memcpy(&wa, pa + i, sizeof wa);
      std::memcpy(&wb, pb + i, sizeof wb);
      differ |= wa ^ wb;
    }
    return differ == 0;
  }
  static std::size_t Hash(const Style& style) {
    return std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(&style), sizeof(Style)));
  }

  ChunkedVector<Style> values_;
  std::unordered_multimap<std::size_t, uint32_t> index_;
  uint32_t last_ = UINT32_MAX;
};

// ---- Rows and styles, by kind ----

struct TrackRow {
  int32_t X, Y, X2, Y2;
  uint32_t Style;
};
struct TrackStyle {
  CommonFields Common;
  int32_t Width, ExtValue1, ExtValue2, ExtValue3;
};

struct FillRow {
  int32_t X, Y, X2, Y2;
  uint32_t Style;
};
struct FillStyle {
  CommonFields Common;
  int32_t ExtValue1;
  double Rotation;
};

struct ArcRow {
  int32_t X, Y, Radius;
  uint32_t Style;
  double StartAngle, EndAngle;
};
struct ArcStyle {
  CommonFields Common;
  int32_t LineWidth, ExtValue1;
};

struct PadRow {
  int32_t X, Y;
  uint32_t Style;
};
struct PadStyle {
  CommonFields Common;
  int32_t TopXSize, TopYSize, MidXSize, MidYSize, BotXSize, BotYSize;
  int32_t HoleSize;
  uint8_t TopShape, MidShape, BotShape, StackMode;
  uint32_t Extras, Layers;
  double Rotation;
};

struct OtherRow {
  uint32_t Style;  // CommonFields
};

static_assert(sizeof(TrackRow) == 20 && sizeof(FillRow) == 20 && sizeof(ArcRow) == 32 && sizeof(PadRow) == 12);

}  // namespace standin
