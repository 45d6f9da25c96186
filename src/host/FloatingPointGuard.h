#pragma once

// The floating-point environment of the calling thread belongs to the editor. A native host
// may run with exceptions unmasked (an overflow or a division by zero then traps) or with a
// shorter precision; the plug-in's arithmetic counts on every exception masked, 64-bit x87
// precision and rounding to nearest even. Each export that computes holds one guard: it keeps
// the caller's environment, sets the plug-in's, and on the way out, exceptions included, drops
// the flags the plug-in raised and gives the caller its own environment back, so that no flag
// of ours traps at the caller's next floating-point instruction.

#include <cstdint>

#if !defined(__i386__) && !defined(__x86_64__)
#include <cfenv>
#endif

namespace zz::host {

// All six x87 exceptions masked, 64-bit precision, round to nearest even.
constexpr uint16_t kPluginX87ControlWord = 0x037F;
// All six SSE exceptions masked, round to nearest even, denormals kept, flags clear.
constexpr uint32_t kPluginMxcsr = 0x1F80;

class FloatingPointGuard {
 public:
  FloatingPointGuard();
  ~FloatingPointGuard();
  FloatingPointGuard(const FloatingPointGuard&) = delete;
  FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;

 private:
#if defined(__i386__) || defined(__x86_64__)
  uint16_t CallerControlWord = 0;
  uint16_t CallerStatusWord = 0;
  uint32_t CallerMxcsr = 0;
#else
  std::fenv_t CallerEnvironment{};
#endif
};

}  // namespace zz::host
