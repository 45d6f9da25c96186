#pragma once

// Rows of millions of objects without copying: chunks that never move, each touched only as it
// is filled.

#include <cstddef>
#include <cstring>
#include <iterator>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <vector>

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
  bool empty() const { return size_ == 0; }
  T& operator[](std::size_t i) { return chunks_[i >> kShift][i & kMask]; }
  const T& operator[](std::size_t i) const { return chunks_[i >> kShift][i & kMask]; }
  const T& at(std::size_t i) const {
    if (i >= size_) throw std::out_of_range("ChunkedVector::at");
    return (*this)[i];
  }

  // Reading in order, from any index on.
  class ConstIterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = const T*;
    using reference = const T&;
    ConstIterator() = default;
    ConstIterator(const ChunkedVector* v, std::size_t i) : v_(v), i_(i) {}
    const T& operator*() const { return (*v_)[i_]; }
    ConstIterator& operator++() {
      ++i_;
      return *this;
    }
    ConstIterator operator++(int) { return ConstIterator(v_, i_++); }
    bool operator==(const ConstIterator& other) const { return i_ == other.i_; }

   private:
    const ChunkedVector* v_ = nullptr;
    std::size_t i_ = 0;
  };
  ConstIterator begin() const { return {this, 0}; }
  ConstIterator end() const { return {this, size_}; }
  ConstIterator From(std::size_t i) const { return {this, i}; }

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

}  // namespace standin
