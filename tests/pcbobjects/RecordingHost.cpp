#include "RecordingHost.h"

#include <cstring>
#include <stdexcept>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "host/CallConv.h"
#include "host/HostBinding.h"
#include "host/ModuleLookup.h"
#include "host/PcbApiEntries.h"

namespace zz::test {
namespace {

RecordingHost* g_current = nullptr;

template <typename T>
struct IsShortString : std::false_type {};
template <std::size_t N>
struct IsShortString<TShortString<N>> : std::true_type {};

template <typename T>
HostArg::Type TypeOf() {
  if constexpr (std::is_same_v<T, uint8_t>) return HostArg::Type::U8;
  if constexpr (std::is_same_v<T, uint16_t>) return HostArg::Type::U16;
  if constexpr (std::is_same_v<T, uint32_t>) return HostArg::Type::U32;
  if constexpr (std::is_same_v<T, int32_t>) return HostArg::Type::I32;
  if constexpr (std::is_same_v<T, int64_t>) return HostArg::Type::I64;
  if constexpr (std::is_same_v<T, double>) return HostArg::Type::F64;
  return HostArg::Type::I32;
}

int64_t ReadInt(const HostArg& arg) {
  switch (arg.ArgType) {
    case HostArg::Type::U8: return *static_cast<const uint8_t*>(arg.Ptr);
    case HostArg::Type::U16: return *static_cast<const uint16_t*>(arg.Ptr);
    case HostArg::Type::U32: return *static_cast<const uint32_t*>(arg.Ptr);
    case HostArg::Type::I32: return *static_cast<const int32_t*>(arg.Ptr);
    case HostArg::Type::I64: return *static_cast<const int64_t*>(arg.Ptr);
    default: return 0;
  }
}

// The host layout of a length-prefixed text: length byte, then the characters.
std::string ReadText(const HostArg& arg) {
  const auto* bytes = static_cast<const uint8_t*>(arg.Ptr);
  const std::size_t length = std::min<std::size_t>(bytes[0], arg.Capacity);
  return std::string(reinterpret_cast<const char*>(bytes + 1), length);
}

void Snapshot(HostArg& arg, bool after) {
  if (!arg.ByRef) return;
  if (arg.ArgType == HostArg::Type::Text) {
    (after ? arg.OutText : arg.Text) = ReadText(arg);
  } else if (arg.ArgType == HostArg::Type::F64) {
    (after ? arg.OutFloat : arg.Float) = *static_cast<const double*>(arg.Ptr);
  } else {
    (after ? arg.OutInt : arg.Int) = ReadInt(arg);
  }
}

template <typename T>
HostArg Capture(T value) {
  HostArg arg;
  using Pointee = std::remove_cv_t<std::remove_pointer_t<T>>;
  if constexpr (std::is_pointer_v<T>) {
    arg.ByRef = true;
    arg.Writable = !std::is_const_v<std::remove_pointer_t<T>>;
    arg.Ptr = const_cast<Pointee*>(value);
    if constexpr (IsShortString<Pointee>::value) {
      arg.ArgType = HostArg::Type::Text;
      arg.Capacity = Pointee::Capacity;
    } else {
      arg.ArgType = TypeOf<Pointee>();
    }
    Snapshot(arg, false);
  } else {
    arg.ArgType = TypeOf<T>();
    arg.Int = static_cast<int64_t>(value);
  }
  return arg;
}

// The host's results travel in the 32-bit result register. A host built by another compiler
// defines only the low byte of it for a byte result, so the recording host leaves noise above
// that byte, whatever width the plug-in declares: a caller reading more than the byte is caught.
constexpr std::string_view kHostByteResults[] = {"PcbApi_GetObjectIdFromObjectHandle"};
constexpr uint32_t kByteResultNoise = 0xA5A5A500;

bool IsHostByteResult(std::string_view name) {
  for (const std::string_view byteResult : kHostByteResults) {
    if (byteResult == name) return true;
  }
  return false;
}

template <typename Ret>
using WireResult = std::conditional_t<std::is_void_v<Ret>, void, uint32_t>;

template <typename Ret, typename... A>
WireResult<Ret> Dispatch(const char* name, bool hasDirection, std::tuple<A...> args) {
  HostCall call;
  call.Name = name;
  std::apply([&call](auto... a) { (call.Args.push_back(Capture(a)), ...); }, args);
  if (g_current != nullptr) g_current->Answer(call, hasDirection);
  if constexpr (!std::is_void_v<Ret>) {
    if (IsHostByteResult(name)) return kByteResultNoise | static_cast<uint8_t>(call.Result);
    return static_cast<uint32_t>(static_cast<Ret>(call.Result));
  }
}

constexpr bool HasDirection(std::string_view params) {
  return params.find("TSyncDirection Direction") != std::string_view::npos;
}

#define ZZ_RECORDING_ENTRY(Name, Ret, Neutral, Params, Args) \
  WireResult<Ret> ZZ_WINAPI Name##_Recorded Params {         \
    return Dispatch<Ret>(#Name, HasDirection(#Params), std::forward_as_tuple Args); \
  }
ZZ_PCBAPI_ENTRIES(ZZ_RECORDING_ENTRY)
#undef ZZ_RECORDING_ENTRY

void* Resolve(const char* symbolName) {
  struct Export {
    const char* Name;
    void* Address;
  };
  static const Export exports[] = {
#define ZZ_RECORDING_EXPORT(Name, Ret, Neutral, Params, Args) {#Name, reinterpret_cast<void*>(&Name##_Recorded)},
      ZZ_PCBAPI_ENTRIES(ZZ_RECORDING_EXPORT)
#undef ZZ_RECORDING_EXPORT
  };
  if (g_current == nullptr || !g_current->Exports(symbolName)) return nullptr;
  for (const Export& entry : exports) {
    if (std::strcmp(entry.Name, symbolName) == 0) return entry.Address;
  }
  return nullptr;
}

void WriteInt(HostArg& arg, int64_t value) {
  switch (arg.ArgType) {
    case HostArg::Type::U8: *static_cast<uint8_t*>(arg.Ptr) = static_cast<uint8_t>(value); break;
    case HostArg::Type::U16: *static_cast<uint16_t*>(arg.Ptr) = static_cast<uint16_t>(value); break;
    case HostArg::Type::U32: *static_cast<uint32_t*>(arg.Ptr) = static_cast<uint32_t>(value); break;
    case HostArg::Type::I32: *static_cast<int32_t*>(arg.Ptr) = static_cast<int32_t>(value); break;
    case HostArg::Type::I64: *static_cast<int64_t*>(arg.Ptr) = value; break;
    default: break;
  }
}

HostArg& Writable(HostCall& call, std::size_t index) {
  HostArg& arg = call.Args.at(index);
  if (!arg.ByRef || !arg.Writable || arg.Ptr == nullptr) {
    throw std::logic_error(call.Name + ": argument " + std::to_string(index) + " is not an out argument");
  }
  return arg;
}

}  // namespace

void HostCall::SetInt(std::size_t index, int64_t value) { WriteInt(Writable(*this, index), value); }

void HostCall::SetFloat(std::size_t index, double value) {
  HostArg& arg = Writable(*this, index);
  if (arg.ArgType == HostArg::Type::F64) *static_cast<double*>(arg.Ptr) = value;
}

void HostCall::SetText(std::size_t index, std::string_view value) {
  HostArg& arg = Writable(*this, index);
  if (arg.ArgType != HostArg::Type::Text) return;
  auto* bytes = static_cast<uint8_t*>(arg.Ptr);
  const std::size_t length = std::min(value.size(), arg.Capacity);
  bytes[0] = static_cast<uint8_t>(length);
  std::memcpy(bytes + 1, value.data(), length);
}

RecordingHost::RecordingHost() {
  g_current = this;
  host::UnbindHostEntryPointsForTesting();
  platform::RegisterSubstituteModule(host::kHostModuleName, &Resolve);
  // Lists end and counts are empty unless a test says otherwise.
  SetFill("PcbApi_QueryBoardLayerPairsCount", 1, 0);
  SetFill("PcbApi_References_Count", 2, 0);
  SetResult("PcbApi_GetMemberFromClassAt", 1);
}

RecordingHost::~RecordingHost() {
  platform::RegisterSubstituteModule(host::kHostModuleName, nullptr);
  host::UnbindHostEntryPointsForTesting();
  g_current = nullptr;
}

RecordingHost* RecordingHost::Current() { return g_current; }

void RecordingHost::Answer(HostCall& call, bool hasDirection) {
  call.Directional = hasDirection;
  if (hasDirection) {
    call.Fetch = call.Args.at(0).Int == 1;
  } else if (call.Name == "PcbApi_QueryBoardLayerPairsCount") {
    call.Fetch = call.Args.at(2).Int == 1;  // the byte 1 asks for the count
  } else {
    call.Fetch = true;  // entries without a direction hand their by-reference values out
  }

  if (call.Fetch) {
    for (std::size_t i = 0; i < call.Args.size(); ++i) {
      HostArg& arg = call.Args[i];
      if (!arg.ByRef || !arg.Writable) continue;
      const Key key{call.Name, i};
      if (arg.ArgType == HostArg::Type::Text) {
        const auto text = TextFills.find(key);
        call.SetText(i, text != TextFills.end() ? text->second : DefaultText(i));
      } else if (arg.ArgType == HostArg::Type::F64) {
        const auto value = FloatFills.find(key);
        call.SetFloat(i, value != FloatFills.end() ? value->second : DefaultFloat(i));
      } else {
        const auto value = IntFills.find(key);
        call.SetInt(i, value != IntFills.end() ? value->second : DefaultInt(i));
      }
    }
  }

  const auto result = Results.find(call.Name);
  call.Result = result != Results.end() ? result->second : 0;
  const auto hook = Hooks.find(call.Name);
  if (hook != Hooks.end()) hook->second(call);

  for (HostArg& arg : call.Args) {
    Snapshot(arg, true);
    arg.Ptr = nullptr;
  }
  Calls.push_back(std::move(call));
}

std::vector<std::string> RecordingHost::Names() const {
  std::vector<std::string> names;
  names.reserve(Calls.size());
  for (const HostCall& call : Calls) names.push_back(call.Name);
  return names;
}

std::vector<HostCall> RecordingHost::CallsTo(std::string_view name) const {
  std::vector<HostCall> calls;
  for (const HostCall& call : Calls) {
    if (call.Name == name) calls.push_back(call);
  }
  return calls;
}

std::size_t RecordingHost::CountOf(std::string_view name) const {
  std::size_t count = 0;
  for (const HostCall& call : Calls) count += call.Name == name ? 1 : 0;
  return count;
}

}  // namespace zz::test
