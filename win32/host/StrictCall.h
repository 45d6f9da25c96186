#pragma once

// Calls a __stdcall function the way a strict native editor would and records what the call
// left behind: the x87 control word, the stack pointer and the callee-saved registers. i686 only.

#include <cstdint>
#include <string>

namespace zzhost {

// x87 invalid operation, division by zero and overflow unmasked, 64-bit precision, round to
// nearest: the modes of an editor built by a compiler that traps on these.
constexpr uint16_t kStrictControlWord = 0x1332;

struct StrictCallRecord {
  uint16_t ControlIn = kStrictControlWord;  // loaded before the call (as read back)
  uint16_t ControlOut = 0;                  // read back after it
  uint32_t Ebx = 0;                         // the registers after the call; before it they held
  uint32_t Esi = 0;                         // the Sentinel values below
  uint32_t Edi = 0;
  uint32_t Ebp = 0;
  int32_t EspDelta = 0;  // stack pointer after the call minus before the arguments were pushed
  uint32_t Result = 0;   // EAX
};

constexpr uint32_t kSentinelEbx = 0x5A5A0EB0;
constexpr uint32_t kSentinelEsi = 0x5A5A0E51;
constexpr uint32_t kSentinelEdi = 0x5A5A0ED1;
constexpr uint32_t kSentinelEbp = 0x5A5A0EB9;

// Pushes args[0..count) (the first argument last, at the lowest address), loads record.ControlIn,
// puts the sentinels in EBX, ESI, EDI and EBP, calls fn and fills the record. The caller's own
// registers, stack and control word are restored whatever fn did. Not reentrant.
void StrictCall(const void* fn, const uint32_t* args, uint32_t count, StrictCallRecord& record);

// What a record shows against the sentinels; 0 or more of these.
bool ControlWordChanged(const StrictCallRecord& record);
bool RegistersChanged(const StrictCallRecord& record);

// Calls small functions that each break one rule through StrictCall, and one that breaks none;
// true when every break is seen and the clean call passes. Lines about each go to `log`.
bool StrictCallSelfTest(std::string& log);

}  // namespace zzhost
