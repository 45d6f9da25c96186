#pragma once

// A recording stand-in for the host PCB server, registered as the substitute "ZetPcb.dll".
// Every entry point of the contract list is exported with its exact signature; each call is
// recorded with its arguments (by-reference arguments with the value the plug-in passed in and
// the value the host left), and answered:
//  - on a fetch (direction 1, or an entry without a direction that hands values out), every
//    by-reference argument is filled with a value that tells its position in the argument list
//    (DefaultInt, DefaultFloat, DefaultText), unless told otherwise with SetFill...;
//  - a hook given with OnCall runs next and may change the call's result and out values;
//  - the result is the one set with SetResult, 0 by default; a byte result comes back with noise
//    in the upper bits of the result register, as a host built by another compiler may leave it.
// Only one RecordingHost may exist at a time; it binds on the plug-in's first host call and
// unbinds and unregisters itself when destroyed.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zz::test {

struct HostArg {
  enum class Type { U8, U16, U32, I32, I64, F64, Text };

  Type ArgType = Type::I32;
  bool ByRef = false;
  bool Writable = false;
  // Value passed in (by value, or the pointee before the call).
  int64_t Int = 0;
  double Float = 0.0;
  std::string Text;
  // Value the host left in a by-reference argument.
  int64_t OutInt = 0;
  double OutFloat = 0.0;
  std::string OutText;

  // Only while the call runs.
  void* Ptr = nullptr;
  std::size_t Capacity = 0;
};

struct HostCall {
  std::string Name;
  std::vector<HostArg> Args;
  int32_t Result = 0;
  bool Directional = false;  // the first argument is a direction byte
  bool Fetch = false;

  // For hooks: write a by-reference argument of the running call.
  void SetInt(std::size_t arg, int64_t value);
  void SetFloat(std::size_t arg, double value);
  void SetText(std::size_t arg, std::string_view value);
  int64_t Int(std::size_t arg) const { return Args.at(arg).Int; }
};

class RecordingHost {
 public:
  RecordingHost();
  ~RecordingHost();
  RecordingHost(const RecordingHost&) = delete;
  RecordingHost& operator=(const RecordingHost&) = delete;

  static int64_t DefaultInt(std::size_t arg) { return 100 + static_cast<int64_t>(arg); }
  static double DefaultFloat(std::size_t arg) { return static_cast<double>(arg) + 0.25; }
  // GCC 12 at -O3 sees an overlapping copy inside libstdc++'s "text" + std::string (-Wrestrict), a
  // known false positive of that compiler.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
  static std::string DefaultText(std::size_t arg) { return "t" + std::to_string(arg); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

  void SetResult(const std::string& name, int32_t result) { Results[name] = result; }
  void SetFill(const std::string& name, std::size_t arg, int64_t value) { IntFills[{name, arg}] = value; }
  void SetFillFloat(const std::string& name, std::size_t arg, double value) { FloatFills[{name, arg}] = value; }
  void SetFillText(const std::string& name, std::size_t arg, std::string value) { TextFills[{name, arg}] = value; }
  void OnCall(const std::string& name, std::function<void(HostCall&)> hook) { Hooks[name] = std::move(hook); }
  // The host module does not export this name (call before the plug-in's first host call).
  void Remove(const std::string& name) { Removed.insert(name); }

  std::vector<std::string> Names() const;
  std::vector<HostCall> CallsTo(std::string_view name) const;
  std::size_t CountOf(std::string_view name) const;
  void Clear() { Calls.clear(); }

  std::vector<HostCall> Calls;

  // Internal: used by the exported entry points.
  static RecordingHost* Current();
  void Answer(HostCall& call, bool hasDirection);
  bool Exports(const char* name) const { return Removed.count(name) == 0; }

 private:
  using Key = std::pair<std::string, std::size_t>;
  std::map<std::string, int32_t> Results;
  std::map<Key, int64_t> IntFills;
  std::map<Key, double> FloatFills;
  std::map<Key, std::string> TextFills;
  std::map<std::string, std::function<void(HostCall&)>> Hooks;
  std::set<std::string> Removed;
};

}  // namespace zz::test
