#include "AllocationCounter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace zz::hardening {
namespace {

std::atomic<int64_t> g_live{0};
std::atomic<int64_t> g_peak{0};
std::atomic<int64_t> g_failCountdown{0};

// Each block carries its size in front, kept at the alignment operator new promises.
constexpr std::size_t kHeader = alignof(std::max_align_t) > sizeof(std::size_t) ? alignof(std::max_align_t)
                                                                                : sizeof(std::size_t);

void* Allocate(std::size_t size) noexcept {
  if (g_failCountdown.load(std::memory_order_relaxed) > 0 && g_failCountdown.fetch_sub(1) == 1) return nullptr;
  void* block = std::malloc(size + kHeader);
  if (block == nullptr) return nullptr;
  *static_cast<std::size_t*>(block) = size;
  const int64_t live =
      g_live.fetch_add(static_cast<int64_t>(size), std::memory_order_relaxed) + static_cast<int64_t>(size);
  int64_t peak = g_peak.load(std::memory_order_relaxed);
  while (live > peak && !g_peak.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
  }
  return static_cast<char*>(block) + kHeader;
}

void* AllocateOrThrow(std::size_t size) {
  void* p = Allocate(size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

void Release(void* p) noexcept {
  if (p == nullptr) return;
  void* block = static_cast<char*>(p) - kHeader;
  g_live.fetch_sub(static_cast<int64_t>(*static_cast<std::size_t*>(block)), std::memory_order_relaxed);
  std::free(block);
}

}  // namespace

int64_t LiveAllocatedBytes() { return g_live.load(std::memory_order_relaxed); }
int64_t PeakAllocatedBytes() { return g_peak.load(std::memory_order_relaxed); }
void ResetPeakAllocatedBytes() { g_peak.store(g_live.load(std::memory_order_relaxed), std::memory_order_relaxed); }
void FailAllocationNumber(int64_t count) { g_failCountdown.store(count); }
bool AllocationFailurePending() { return g_failCountdown.load() > 0; }

}  // namespace zz::hardening

// The replaceable allocation functions (the aligned ones keep their own, separate storage).
void* operator new(std::size_t size) { return zz::hardening::AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return zz::hardening::AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return zz::hardening::Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return zz::hardening::Allocate(size); }
void operator delete(void* p) noexcept { zz::hardening::Release(p); }
void operator delete[](void* p) noexcept { zz::hardening::Release(p); }
void operator delete(void* p, std::size_t) noexcept { zz::hardening::Release(p); }
void operator delete[](void* p, std::size_t) noexcept { zz::hardening::Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { zz::hardening::Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { zz::hardening::Release(p); }
