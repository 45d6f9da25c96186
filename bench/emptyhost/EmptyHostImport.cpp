// zz-import-emptyhost FILE: the plug-in's own cost of an import, apart from any host.
//
// Imports FILE through the plug-in's exports into a host whose every PCB server entry point is an
// empty function: statuses 0, no values filled in, and handle 1 for the current board and for
// every new object, so that each primitive makes its whole call sequence. The client file
// services are the stand-in's (the file must be found and opened). The time of this program
// against the stand-in's import splits an import between the plug-in and the stand-in.
//
// Prints result=true|false; exits 0 when the whole file was read.

#include <cstdint>
#include <cstring>
#include <iostream>
#include <string_view>

#include "host/HostBinding.h"
#include "host/ModuleLookup.h"
#include "host/PcbApiEntries.h"
#include "importer/ZizoZudu.h"
#include "standin/ClientFiles.h"

namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define ZZ_BENCH_EMPTY_ENTRY(Name, Ret, Neutral, Params, Args) \
  Ret ZZ_WINAPI Empty_##Name Params { return Ret(); }
ZZ_PCBAPI_ENTRIES(ZZ_BENCH_EMPTY_ENTRY)
#undef ZZ_BENCH_EMPTY_ENTRY
#pragma GCC diagnostic pop

// A new object and the current board: a handle, so that the calls that follow are made.
zz::THandle ZZ_WINAPI NewObject(uint8_t) { return 1; }
zz::THandle ZZ_WINAPI CurrentBoard() { return 1; }

void* ResolveEmpty(const char* name) {
  const std::string_view wanted(name);
  if (wanted == "PcbApi_CreateObject") return reinterpret_cast<void*>(&NewObject);
  if (wanted == "PcbApi_GetCurrentBoardHandle") return reinterpret_cast<void*>(&CurrentBoard);
#define ZZ_BENCH_RESOLVE_ENTRY(Name, Ret, Neutral, Params, Args) \
  if (wanted == #Name) return reinterpret_cast<void*>(&Empty_##Name);
  ZZ_PCBAPI_ENTRIES(ZZ_BENCH_RESOLVE_ENTRY)
#undef ZZ_BENCH_RESOLVE_ENTRY
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: zz-import-emptyhost FILE\n";
    return 2;
  }
  zz::client::RegisterClientServices(standin::ClientFileServices());
  zz::platform::RegisterSubstituteModule(zz::host::kHostModuleName, &ResolveEmpty);
  const zz::TShortString<255> name(std::string_view{argv[1]});
  const zz::TShortString<255> reserved;
  const bool result = ImportFileIntoPcb(&name, &reserved, 0) != 0;
  std::cout << "result=" << (result ? "true" : "false") << '\n';
  return result ? 0 : 1;
}
