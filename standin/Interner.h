#pragma once

// Values that many objects have in common, kept once: an import makes a few dozen distinct
// styles however many objects it creates.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "standin/ChunkedVector.h"

namespace standin {

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
    uint64_t differ = 0;
    std::size_t i = 0;
    for (; i + sizeof(uint64_t) <= sizeof(Style); i += sizeof(uint64_t)) {
      uint64_t wa = 0;
      uint64_t wb = 0;
      std::memcpy(&wa, pa + i, sizeof wa);
      std::memcpy(&wb, pb + i, sizeof wb);
      differ |= wa ^ wb;
    }
    if constexpr (sizeof(Style) % sizeof(uint64_t) != 0) {
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

}  // namespace standin
