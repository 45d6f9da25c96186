#pragma once

// Counts the bytes held through operator new in this test program (the plug-in's strings,
// buffers, wrappers and tables, and everything else), so that a test can see how much an
// import holds at most and whether it gives everything back.

#include <cstdint>

namespace zz::hardening {

int64_t LiveAllocatedBytes();
// The most held at once since the last ResetPeakAllocatedBytes.
int64_t PeakAllocatedBytes();
void ResetPeakAllocatedBytes();

// The count-th allocation from now fails (operator new throws std::bad_alloc), and only that one;
// 0 disarms. Whether the armed failure has not happened yet.
void FailAllocationNumber(int64_t count);
bool AllocationFailurePending();

}  // namespace zz::hardening
