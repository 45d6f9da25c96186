#include "host/FloatingPointGuard.h"

#if defined(__i386__) || defined(__x86_64__)

// x87 and SSE state by instruction: <cfenv> does not reach the x87 precision field, and the
// i686 build computes in x87 only (it emits no SSE, so MXCSR is left alone there).

namespace zz::host {
namespace {

#if defined(__x86_64__) || defined(__SSE__)
constexpr bool kHasSse = true;
#else
constexpr bool kHasSse = false;
#endif

// The 28-byte environment that fnstenv stores and fldenv loads.
struct X87Environment {
  uint16_t ControlWord;
  uint16_t Unused1;
  uint16_t StatusWord;
  uint16_t Unused2;
  uint16_t TagWord;
  uint16_t Unused3;
  uint32_t InstructionPointer;
  uint16_t CodeSelector;
  uint16_t Opcode;
  uint32_t OperandPointer;
  uint16_t OperandSelector;
  uint16_t Unused4;
};
static_assert(sizeof(X87Environment) == 28);

// Status-word bits that belong to the exceptions: the six flags, stack fault, error summary and
// busy. The rest (top of stack, condition codes) stays as it is.
constexpr uint16_t kExceptionStatusBits = 0x80FF;

uint16_t StoreX87ControlWord() {
  uint16_t word;
  asm volatile("fnstcw %0" : "=m"(word));
  return word;
}

uint16_t StoreX87StatusWord() {
  uint16_t word;
  asm volatile("fnstsw %0" : "=m"(word));
  return word;
}

void LoadX87ControlWord(uint16_t word) { asm volatile("fldcw %0" : : "m"(word)); }

void ClearX87Exceptions() { asm volatile("fnclex"); }

uint32_t StoreMxcsr() {
  uint32_t value = 0;
  if constexpr (kHasSse) asm volatile("stmxcsr %0" : "=m"(value));
  return value;
}

void LoadMxcsr(uint32_t value) {
  if constexpr (kHasSse) asm volatile("ldmxcsr %0" : : "m"(value));
}

}  // namespace

FloatingPointGuard::FloatingPointGuard()
    : CallerControlWord(StoreX87ControlWord()), CallerStatusWord(StoreX87StatusWord()), CallerMxcsr(StoreMxcsr()) {
  ClearX87Exceptions();
  LoadX87ControlWord(kPluginX87ControlWord);
  LoadMxcsr(kPluginMxcsr);
}

// fldcw of an unmasked word while our flags are pending would trap at the caller's next x87
// instruction; so the flags go back to what the caller had, together with its control word, in
// one fldenv. ldmxcsr never traps and restores the caller's SSE flags with its control bits.
FloatingPointGuard::~FloatingPointGuard() {
  X87Environment environment;
  asm volatile("fnstenv %0" : "=m"(environment));
  environment.ControlWord = CallerControlWord;
  environment.StatusWord = static_cast<uint16_t>((environment.StatusWord & ~kExceptionStatusBits) |
                                                 (CallerStatusWord & kExceptionStatusBits));
  asm volatile("fldenv %0" : : "m"(environment));
  LoadMxcsr(CallerMxcsr);
}

}  // namespace zz::host

#endif
