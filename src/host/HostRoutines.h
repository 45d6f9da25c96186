#pragma once

// The guarded routines: the only way the plug-in calls into the host PCB server. Each has the
// entry point's exact arguments, binds the table when the host module has not been found yet,
// and yields the neutral result without any effect when the entry point is absent.

#include "host/BoardHeader.h"
#include "host/HostDispatch.h"
#include "host/LayerTypes.h"
#include "host/PcbApiEntries.h"

namespace zz::host {

// The call table, the host bound first; every guarded routine goes through it. A loop that calls
// the same entries many times (a pad's 332 per-layer queries, a run of characters) takes it once
// and copies the entries it calls into locals, which then stay in registers. Only binding the
// host changes the table, and no host call does that.
inline const detail::DispatchTable& BoundTable() {
  if (!detail::Bound) [[unlikely]]
    EnsureHostBinding();
  return detail::Dispatch;
}

// Inline: the reader calls the progress routine once per character of files of up to 100 MB
// and a pad's fetch makes 336 calls, so each call is just the test and the indirect call.
#define ZZ_DEFINE_GUARDED_ROUTINE(Name, Ret, Neutral, Params, Args) \
  inline Ret Name Params { return BoundTable().Name Args; }
ZZ_PCBAPI_ENTRIES(ZZ_DEFINE_GUARDED_ROUTINE)
#undef ZZ_DEFINE_GUARDED_ROUTINE

// The four routines whose arguments differ from their entry point's.

// Copies the text into a buffer of its own before handing it to the host.
void PcbApi_Percent_Init(const TText255& text, int32_t total);
// Copies the member name into a buffer of its own before handing it to the host.
TStatus PcbApi_AddMemberToClass(THandle classHandle, const TText255& member);
// Empties the out text, then copies at most 254 characters of the host's answer into it.
TStatus PcbApi_GetDesignatorDisplayString(THandle handle, TText254& out);

// The board transfer form: the current layer travels to and from the host as a layer
// identifier and is held by the caller as a classic layer number.
TStatus PcbApi_QueryBoard(TSyncDirection direction, THandle board, BoardHeader& header, TLayerNumber& currentLayer,
                          int32_t& trailer);

}  // namespace zz::host
