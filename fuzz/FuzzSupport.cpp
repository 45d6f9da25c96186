#include "fuzz/FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <typeinfo>

#include "host/Messages.h"
#include "standin/Registration.h"

#if defined(__linux__)
#include <dlfcn.h>
#endif

namespace zzfuzz {
namespace {

bool g_checkThrows = false;

}  // namespace

const std::string& WorkDir() {
  static const std::string dir = [] {
    // Every input is written to a file, so a folder in memory makes the runs several times faster.
    std::error_code error;
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0
            ? std::filesystem::path("/dev/shm")
            : std::filesystem::temp_directory_path();
    std::string pattern = (base / "zz-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) Fail("cannot make a scratch folder", pattern);
    // Exit handlers run after the destructors of statics made before them: keep a plain copy.
    static char removeAtExit[4096];
    std::snprintf(removeAtExit, sizeof removeAtExit, "%s", pattern.c_str());
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(removeAtExit, ignored);
    });
    return pattern;
  }();
  return dir;
}

std::string WriteWorkFile(std::string_view name, std::string_view bytes) {
  std::string path = WorkDir() + "/" + std::string(name);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) Fail("cannot create", path);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) Fail("cannot write", path);
  return path;
}

void RemoveWorkFile(std::string_view name) { std::remove((WorkDir() + "/" + std::string(name)).c_str()); }

void PrepareStandin() {
  static const bool prepared = [] {
    standin::Options options;
    options.CollectMessages = true;
    options.Progress = standin::ProgressDisplay::Mode::Never;
    standin::Register(options);
    zz::platform::SetTestModeOverride(false);
    return true;
  }();
  (void)prepared;
}

void Fail(std::string_view what, std::string_view detail) {
  g_checkThrows = false;
  std::fprintf(stderr, "\n==zz-fuzz== FINDING: %.*s", static_cast<int>(what.size()), what.data());
  if (!detail.empty()) std::fprintf(stderr, ": %.*s", static_cast<int>(detail.size()), detail.data());
  std::fprintf(stderr, "\n");
  std::abort();
}

void CheckEveryThrow() { g_checkThrows = true; }

bool IsOwnExceptionType(const std::type_info& type) {
  // Mangled names of types in namespace zz start with "N2zz"; the run's own failure type lives
  // in an unnamed namespace inside it.
  const char* name = type.name();
  return name != nullptr && std::strncmp(name, "N2zz", 4) == 0;
}

bool IsCheckingThrows() { return g_checkThrows; }

}  // namespace zzfuzz

#if defined(__linux__)
// Every throw goes through here before the C++ runtime's own __cxa_throw.
extern "C" void __asan_handle_no_return() __attribute__((weak));

// The type travels as void*, as the compilers declare the function themselves.
extern "C" [[noreturn]] void __cxa_throw(void* object, void* type, void (*destructor)(void*)) {
  const auto& thrown = *static_cast<const std::type_info*>(type);
  if (zzfuzz::IsCheckingThrows() && !zzfuzz::IsOwnExceptionType(thrown)) {
    zzfuzz::Fail("foreign exception thrown", thrown.name());
  }
  using Throw = void (*)(void*, void*, void (*)(void*));
  static const Throw next = reinterpret_cast<Throw>(::dlsym(RTLD_NEXT, "__cxa_throw"));
  if (next == nullptr) zzfuzz::Fail("the C++ runtime's __cxa_throw is not found");
  // AddressSanitizer's own hook on throws is the one this definition replaces.
  if (&__asan_handle_no_return != nullptr) __asan_handle_no_return();
  next(object, type, destructor);
  __builtin_unreachable();
}
#endif
