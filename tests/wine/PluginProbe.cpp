// zz-wine-plugin-probe: the plug-in's own code, linked in, against ZetPcb.dll under Wine, for what
// the shipped DLL's three exports cannot reach:
//
//   zz-wine-plugin-probe wrap            objects of every kind made in ZetPcb.dll, wrapped by the
//                                        plug-in: each must get the wrapper class of its kind
//   zz-wine-plugin-probe absent FILE...  the files imported once with every entry point, then
//                                        once per entry point with that one hidden from the binding
//
// One line per case on standard output; exit code 0 when every check holds.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gerber/GerberState.h"
#include "host/ClientServices.h"
#include "host/HostBinding.h"
#include "host/Messages.h"
#include "host/ModuleLookup.h"
#include "importer/ZizoZudu.h"
#include "pcbobjects/WrapHostObject.h"
#include "win32/standin/ZetPcbTestApi.h"

namespace {

HMODULE g_zetPcb = nullptr;
const char* g_hidden = nullptr;  // the entry point the binding must not see
int g_messages = 0;

template <typename Fn>
Fn Entry(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(g_zetPcb, name)));
}

// ZetPcb.dll as the binding sees it: every name but the hidden one.
void* ResolveWithout(const char* name) {
  if (g_hidden != nullptr && std::strcmp(name, g_hidden) == 0) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(g_zetPcb, name));
}

int32_t CountMessage(void* /*context*/, std::string_view /*caption*/, std::string_view /*message*/) {
  ++g_messages;
  return zz::kModalResultOk;
}

void Rebind(const char* hidden) {
  g_hidden = hidden;
  zz::host::UnbindHostEntryPointsForTesting();
  zz::host::BindHostEntryPoints();
}

int Wrap() {
  using CreateFn = zz::THandle(ZZ_WINAPI*)(uint8_t kind);
  const auto create = Entry<CreateFn>("PcbApi_CreateObject");
  const auto reset = Entry<decltype(&ZetStandIn_Reset)>("ZetStandIn_Reset");
  if (create == nullptr || reset == nullptr) return std::puts("ZetPcb.dll lacks PcbApi_CreateObject"), 4;
  reset(0);
  Rebind(nullptr);
  int kinds = 0;
  int wrong = 0;
  for (int kind = 1; kind <= 30; ++kind) {
    const zz::THandle handle = create(static_cast<uint8_t>(kind));
    if (handle == 0) continue;  // a kind the editor has no objects of
    ++kinds;
    const std::unique_ptr<zz::TPCBObject> wrapper = zz::WrapHostObject(handle);
    const int got = wrapper ? static_cast<int>(wrapper->GetObjectKind()) : -1;
    std::printf("kind %d handle %d: %s %d\n", kind, static_cast<int>(handle), wrapper ? "wrapped as kind" : "NOT WRAPPED",
                got);
    if (got != kind) ++wrong;
  }
  // The whole register as the export leaves it: the plug-in above must have read the byte alone.
  using WideKindFn = uint32_t(ZZ_WINAPI*)(zz::THandle handle);
  const auto wideKind = Entry<WideKindFn>("PcbApi_GetObjectIdFromObjectHandle");
  const uint32_t eax = wideKind != nullptr ? wideKind(create(4)) : 0;
  std::printf("PcbApi_GetObjectIdFromObjectHandle of a track: result in EAX %08lx\n", static_cast<unsigned long>(eax));
  std::printf("wrap: %d kinds, %d wrong\n", kinds, wrong);
  return kinds > 0 && wrong == 0 ? 0 : 1;
}

struct Result {
  bool Returned = false;
  bool Imported = false;
  int32_t Objects = 0;
  int Messages = 0;
};

Result ImportAll(const std::vector<std::string>& files) {
  const auto reset = Entry<decltype(&ZetStandIn_Reset)>("ZetStandIn_Reset");
  const auto count = Entry<decltype(&ZetStandIn_ObjectCount)>("ZetStandIn_ObjectCount");
  Result result{true, true, 0, 0};
  g_messages = 0;
  for (const std::string& file : files) {
    reset(0);
    zz::GerberState = zz::TGerberState{};  // each file as in a freshly loaded plug-in
    const zz::TShortString<255> name(file);
    const zz::TShortString<255> reserved;
    result.Imported = ImportFileIntoPcb(&name, &reserved, 0) != 0 && result.Imported;
    result.Objects += count(0);
  }
  result.Messages = g_messages;
  return result;
}

int Absent(const std::vector<std::string>& files) {
  zz::platform::RegisterSubstituteModule(zz::host::kHostModuleName, &ResolveWithout);
  zz::platform::SetMessageSink(&CountMessage, nullptr);
  Rebind(nullptr);
  const Result all = ImportAll(files);
  std::printf("every entry point: result=%d objects=%d messages=%d\n", all.Imported, all.Objects, all.Messages);
  int failures = all.Objects > 0 ? 0 : 1;
  for (const char* name : zz::host::kHostEntryNames) {
    if (std::strncmp(name, "PcbApi_", 7) != 0 || GetProcAddress(g_zetPcb, name) == nullptr) continue;
    Rebind(name);
    const Result without = ImportAll(files);
    // Without an entry point the import still ends; it can place less, never more.
    const bool sound = without.Objects <= all.Objects;
    std::printf("without %s: result=%d objects=%d messages=%d%s\n", name, without.Imported, without.Objects,
                without.Messages, sound ? "" : " MORE OBJECTS THAN WITH EVERY ENTRY POINT");
    failures += sound ? 0 : 1;
  }
  Rebind(nullptr);
  std::printf("absent: %d failures\n", failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  const std::string mode = argc > 1 ? argv[1] : "";
  g_zetPcb = LoadLibraryA("ZetPcb.dll");
  if (g_zetPcb == nullptr) return std::puts("cannot load ZetPcb.dll"), 4;
  zz::client::BindClientServices();  // what the plug-in's DllMain does: ours are in this program
  if (mode == "wrap" && argc == 2) return Wrap();
  if (mode == "absent" && argc > 2) return Absent(std::vector<std::string>(argv + 2, argv + argc));
  std::fputs("usage: zz-wine-plugin-probe wrap | absent FILE...\n", stderr);
  return 2;
}
