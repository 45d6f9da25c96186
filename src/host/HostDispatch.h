#pragma once

// The typed call table behind the guarded routines, which HostRoutines.h defines inline; only
// the host layer changes it.

#include "host/CallConv.h"
#include "host/HostBinding.h"
#include "host/PcbApiEntries.h"

namespace zz::host::detail {

#define ZZ_DECLARE_ENTRY_TYPE(Name, Ret, Neutral, Params, Args) using Name##_Fn = Ret(ZZ_WINAPI*) Params;
ZZ_PCBAPI_ENTRIES(ZZ_DECLARE_ENTRY_TYPE)
#undef ZZ_DECLARE_ENTRY_TYPE

// Every entry always points at something callable: the bound entry point, or a stub that
// yields the neutral result. A bound call is thus one test of `Bound` and one indirect call.
struct DispatchTable {
#define ZZ_DECLARE_ENTRY_FIELD(Name, Ret, Neutral, Params, Args) Name##_Fn Name;
  ZZ_PCBAPI_ENTRIES(ZZ_DECLARE_ENTRY_FIELD)
#undef ZZ_DECLARE_ENTRY_FIELD
};

extern bool Bound;
extern DispatchTable Dispatch;

// Points every entry at its slot in the binding, or at its neutral stub when the slot is empty.
void RefreshDispatchTable(const HostBinding& binding);
// Points every entry at its neutral stub.
void ResetDispatchTable();

}  // namespace zz::host::detail
