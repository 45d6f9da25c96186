// zz-import-memory FILE: how much memory an import of FILE takes, and whose it is.
//
// The program imports FILE through the plug-in's exports into the stand-in, with every entry
// point of the stand-in wrapped so that the heap memory allocated inside a host call counts as
// the host's and everything else as the plug-in's (its run, its file buffer, its tables, the
// client file services). The plug-in's peak must not depend on the size of the file; the host's
// grows with the objects its board holds.
//
// Prints key=value lines: peak_rss_kb (the whole process), plugin_heap_peak_kb,
// host_heap_peak_kb, objects, result.

#include <sys/resource.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <string_view>

#include "host/ModuleLookup.h"
#include "importer/ZizoZudu.h"
#include "standin/PcbServer.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace {

// ---- Heap accounting ----

bool g_inHost = false;
struct Account {
  int64_t Live = 0;
  int64_t Peak = 0;
};
Account g_plugin;
Account g_host;

// Each block carries its size and owner in front of it.
constexpr std::size_t kHeader = 16;

void* Allocate(std::size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (block == nullptr) return nullptr;
  const int64_t bytes = static_cast<int64_t>(size);
  Account& account = g_inHost ? g_host : g_plugin;
  std::memcpy(block, &bytes, sizeof bytes);
  block[8] = g_inHost ? 1 : 0;
  account.Live += bytes;
  if (account.Live > account.Peak) account.Peak = account.Live;
  return block + kHeader;
}

void Release(void* p) {
  if (p == nullptr) return;
  unsigned char* block = static_cast<unsigned char*>(p) - kHeader;
  int64_t bytes = 0;
  std::memcpy(&bytes, block, sizeof bytes);
  (block[8] != 0 ? g_host : g_plugin).Live -= bytes;
  std::free(block);
}

// ---- The stand-in's entry points, each call marked as the host's ----

class HostCall {
 public:
  HostCall() : outer_(g_inHost) { g_inHost = true; }
  ~HostCall() { g_inHost = outer_; }
  HostCall(const HostCall&) = delete;
  HostCall& operator=(const HostCall&) = delete;

 private:
  bool outer_;
};

#define ZZ_BENCH_WRAP_ENTRY(Name, Ret, Neutral, Params, Args) \
  Ret ZZ_WINAPI Wrapped_##Name Params {                       \
    HostCall call;                                            \
    return ::Name Args;                                       \
  }
ZZ_PCBAPI_ENTRIES(ZZ_BENCH_WRAP_ENTRY)
#undef ZZ_BENCH_WRAP_ENTRY

void* ResolveWrapped(const char* name) {
  const std::string_view wanted(name);
#define ZZ_BENCH_RESOLVE_ENTRY(Name, Ret, Neutral, Params, Args) \
  if (wanted == #Name) return reinterpret_cast<void*>(&Wrapped_##Name);
  ZZ_PCBAPI_ENTRIES(ZZ_BENCH_RESOLVE_ENTRY)
#undef ZZ_BENCH_RESOLVE_ENTRY
  return nullptr;
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: zz-import-memory FILE\n";
    return 2;
  }
  standin::Options options;
  options.Progress = standin::ProgressDisplay::Mode::Never;
  {
    HostCall setup;  // the stand-in's own start, not the plug-in's
    standin::Register(options);
    standin::Reset();
  }
  zz::platform::RegisterSubstituteModule("ZetPcb.dll", &ResolveWrapped);
  const Account before = g_plugin;

  const zz::TShortString<255> name(std::string_view{argv[1]});
  const zz::TShortString<255> reserved;
  const bool result = ImportFileIntoPcb(&name, &reserved, 0) != 0;

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::cout << "peak_rss_kb=" << usage.ru_maxrss << '\n'
            << "plugin_heap_peak_kb=" << (g_plugin.Peak - before.Live) / 1024 << '\n'
            << "host_heap_peak_kb=" << g_host.Peak / 1024 << '\n'
            << "objects=" << standin::TheServer().Boards().CurrentBoard().Objects.size() << '\n'
            << "result=" << (result ? "true" : "false") << '\n';
  return result ? 0 : 1;
}
