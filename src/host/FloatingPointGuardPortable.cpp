#include "host/FloatingPointGuard.h"

// The side for processors other than x86 (FloatingPointGuardX86.cpp has that one).
#if !defined(__i386__) && !defined(__x86_64__)

namespace zz::host {

// feholdexcept keeps the caller's environment, clears the flags and stops trapping.
FloatingPointGuard::FloatingPointGuard() {
  std::feholdexcept(&CallerEnvironment);
  std::fesetround(FE_TONEAREST);
}

// fesetenv brings back the caller's modes and flags; the flags raised meanwhile are dropped.
FloatingPointGuard::~FloatingPointGuard() { std::fesetenv(&CallerEnvironment); }

}  // namespace zz::host

#endif
