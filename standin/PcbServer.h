#pragma once

// The host PCB server entry points as the stand-in exports them: declared from the same list
// the plug-in binds, so the signatures match by construction. They answer from TheServer().
//
// Kept per object: tracks, fills, arcs and pads (their whole query record, the stack mode and
// per-layer pad values) and, for every other kind, the common values of PcbApi_QueryPrimitive
// and the two flag bytes. The queries of kinds the importer never creates (texts, vias,
// polygons, components, rules, ...) answer status 0 and leave every value unchanged.

#include "host/CallConv.h"
#include "host/PcbApiEntries.h"

extern "C" {
#define ZZ_STANDIN_DECLARE_ENTRY(Name, Ret, Neutral, Params, Args) Ret ZZ_WINAPI Name Params;
ZZ_PCBAPI_ENTRIES(ZZ_STANDIN_DECLARE_ENTRY)
#undef ZZ_STANDIN_DECLARE_ENTRY
}

namespace standin {

// The address the stand-in exports under a name, or null for a name it does not export.
void* PcbServerEntry(const char* name);

}  // namespace standin
