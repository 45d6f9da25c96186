// Preprocessor input only, never compiled: expands the host entry-point list into one
// "ZZ_EXPORT_NAME <name> ZZ_RESULT <type>" per entry, from which the build writes ZetPcb.def.
#include "host/PcbApiEntries.h"

#define ZZ_LIST_EXPORT_NAME(Name, Ret, Neutral, Params, Args) ZZ_EXPORT_NAME Name ZZ_RESULT Ret ZZ_END
ZZ_PCBAPI_ENTRIES(ZZ_LIST_EXPORT_NAME)
