#include "win32/host/StrictCall.h"

#include <cstddef>
#include <cstdio>

#if !defined(__i386__)
#error "StrictCall is the i686 host's: it knows the 32-bit stack and registers"
#endif

namespace zzhost {

static_assert(offsetof(StrictCallRecord, ControlIn) == 0 && offsetof(StrictCallRecord, ControlOut) == 2 &&
              offsetof(StrictCallRecord, Ebx) == 4 && offsetof(StrictCallRecord, Esi) == 8 &&
              offsetof(StrictCallRecord, Edi) == 12 && offsetof(StrictCallRecord, Ebp) == 16 &&
              offsetof(StrictCallRecord, EspDelta) == 20 && offsetof(StrictCallRecord, Result) == 24,
              "the thunk below addresses the record by these offsets");

}  // namespace zzhost

// The thunk, cdecl: (fn, args, count, record). Everything it needs after the call is kept in
// static storage, because the callee may have broken the stack pointer and every register.
extern "C" void ZzStrictThunk(const void* fn, const uint32_t* args, uint32_t count,
                              zzhost::StrictCallRecord* record) asm("zz_strict_thunk");
// Self-test callees, __stdcall.
extern "C" uint32_t __stdcall ZzProbeClean(uint32_t value) asm("zz_probe_clean");
extern "C" void __stdcall ZzProbeControlWord() asm("zz_probe_control_word");
extern "C" void __stdcall ZzProbeEbx() asm("zz_probe_ebx");
extern "C" void __stdcall ZzProbeEbp() asm("zz_probe_ebp");
extern "C" void __stdcall ZzProbeStack(uint32_t value) asm("zz_probe_stack");

asm(R"(
    .bss
    .p2align 2
zz_strict_saved_esp: .space 4
zz_strict_record:    .space 4
zz_strict_target:    .space 4
    .text
    .p2align 4
    .globl zz_strict_thunk
zz_strict_thunk:
    pushl %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 20(%esp), %eax
    movl 24(%esp), %edx
    movl 28(%esp), %ecx
    movl 32(%esp), %esi
    movl %eax, zz_strict_target
    movl %esi, zz_strict_record
    movl %esp, zz_strict_saved_esp
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%edx,%ecx,4)
    jmp 1b
2:  fnclex
    fldcw (%esi)
    movl $0x5A5A0EB0, %ebx
    movl $0x5A5A0E51, %esi
    movl $0x5A5A0ED1, %edi
    movl $0x5A5A0EB9, %ebp
    call *zz_strict_target
    movl zz_strict_record, %ecx
    movl %eax, 24(%ecx)
    fnstcw 2(%ecx)
    movl %ebx, 4(%ecx)
    movl %esi, 8(%ecx)
    movl %edi, 12(%ecx)
    movl %ebp, 16(%ecx)
    movl %esp, %edx
    subl zz_strict_saved_esp, %edx
    movl %edx, 20(%ecx)
    movl zz_strict_saved_esp, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret

    .globl zz_probe_clean
zz_probe_clean:
    movl 4(%esp), %eax
    ret $4

    .globl zz_probe_control_word
zz_probe_control_word:
    pushl $0x037F
    fldcw (%esp)
    addl $4, %esp
    ret

    .globl zz_probe_ebx
zz_probe_ebx:
    xorl %ebx, %ebx
    ret

    .globl zz_probe_ebp
zz_probe_ebp:
    popl %eax
    movl %esp, %ebp
    jmp *%eax

    .globl zz_probe_stack
zz_probe_stack:
    ret
)");

namespace zzhost {
namespace {

uint16_t ControlWord() {
  uint16_t word = 0;
  asm volatile("fnstcw %0" : "=m"(word));
  return word;
}

// The word as the processor reads it back: bit 6 is reserved and always reads as 1.
uint16_t ReadBack(uint16_t word) {
  const uint16_t host = ControlWord();
  asm volatile("fldcw %0" : : "m"(word));
  const uint16_t back = ControlWord();
  asm volatile("fldcw %0" : : "m"(host));
  return back;
}

}  // namespace

void StrictCall(const void* fn, const uint32_t* args, uint32_t count, StrictCallRecord& record) {
  const uint16_t host = ControlWord();
  record.ControlIn = ReadBack(record.ControlIn);
  ZzStrictThunk(fn, args, count, &record);
  // The host's own modes back, without a trap for whatever the callee left pending.
  asm volatile("fldcw %0\n\tfnclex" : : "m"(host));
}

bool ControlWordChanged(const StrictCallRecord& record) { return record.ControlOut != record.ControlIn; }

bool RegistersChanged(const StrictCallRecord& record) {
  return record.EspDelta != 0 || record.Ebx != kSentinelEbx || record.Esi != kSentinelEsi ||
         record.Edi != kSentinelEdi || record.Ebp != kSentinelEbp;
}

bool StrictCallSelfTest(std::string& log) {
  struct Probe {
    const char* Name;
    const void* Fn;
    uint32_t Args;
    bool ControlWord;  // the change the check must see
    bool Registers;
  };
  const Probe probes[] = {
      {"clean", reinterpret_cast<const void*>(&ZzProbeClean), 1, false, false},
      {"control word", reinterpret_cast<const void*>(&ZzProbeControlWord), 0, true, false},
      {"ebx", reinterpret_cast<const void*>(&ZzProbeEbx), 0, false, true},
      {"ebp", reinterpret_cast<const void*>(&ZzProbeEbp), 0, false, true},
      {"stack", reinterpret_cast<const void*>(&ZzProbeStack), 1, false, true},
  };
  bool all = true;
  for (const Probe& probe : probes) {
    const uint32_t arg = 0x12345678;
    StrictCallRecord record;
    StrictCall(probe.Fn, &arg, probe.Args, record);
    const bool cw = ControlWordChanged(record);
    const bool regs = RegistersChanged(record);
    const bool seen = cw == probe.ControlWord && regs == probe.Registers &&
                      (probe.Args == 0 || probe.ControlWord || probe.Registers || record.Result == arg);
    char line[160];
    std::snprintf(line, sizeof line, "strict self-test %s: control word %04x -> %04x, esp %+d, %s\n", probe.Name,
                  record.ControlIn, record.ControlOut, static_cast<int>(record.EspDelta), seen ? "as expected" : "WRONG");
    log += line;
    all = all && seen;
  }
  return all;
}

}  // namespace zzhost
