// The stand-in built as the editor's PCB server module, ZetPcb.dll: the PcbApi_ entry points come
// from the zz_standin library (exported by the generated ZetPcb.def), the test exports are here.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "standin/Board.h"
#include "standin/BoardJson.h"
#include "standin/PcbServer.h"
#include "standin/Server.h"
#include "win32/standin/ZetPcbTestApi.h"

namespace {

standin::Server& S() { return standin::TheServer(); }

standin::Board* BoardOf(int32_t handle) {
  return handle == 0 ? &S().Boards().CurrentBoard() : S().Boards().FindBoard(handle);
}

// An entry point's result as the editor's own compiler returns it: a byte result fills only AL
// and leaves the rest of EAX as it happens to be, so the plug-in must read the byte alone.
template <typename Ret>
struct EditorResult {
  using Type = Ret;
  template <typename Call>
  static Type Of(Call call) {
    return call();
  }
};
template <>
struct EditorResult<uint8_t> {
  using Type = uint32_t;
  template <typename Call>
  static Type Of(Call call) {
    return 0xA5A5A500U | call();
  }
};

}  // namespace

extern "C" {

// ZetPcb.def exports the byte-result entry points through these (GenerateDef.cmake).
#define ZZ_DEFINE_EDITOR_RESULT(Name, Ret, Neutral, Params, Args) \
  EditorResult<Ret>::Type ZZ_WINAPI ZetPcbWide_##Name Params { return EditorResult<Ret>::Of([&] { return Name Args; }); }
ZZ_PCBAPI_ENTRIES(ZZ_DEFINE_EDITOR_RESULT)
#undef ZZ_DEFINE_EDITOR_RESULT

void ZZ_WINAPI ZetStandIn_Reset(int32_t showProgress) {
  try {
    S().Reset();
  } catch (...) {
    // Reset only releases memory; the server stays as it was if even that fails.
  }
  S().Ui().Progress().SetOutput(
      showProgress != 0 ? standin::ProgressDisplay::Mode::Auto : standin::ProgressDisplay::Mode::Never, nullptr);
}

int32_t ZZ_WINAPI ZetStandIn_CreateBoard(int32_t makeCurrent) {
  try {
    const zz::THandle handle = S().Boards().CreateBoard();
    if (handle != 0 && makeCurrent != 0) S().Boards().SetCurrentBoard(handle);
    return handle;
  } catch (...) {
    return 0;
  }
}

int32_t ZZ_WINAPI ZetStandIn_CurrentBoard() { return S().Boards().CurrentBoardHandle(); }

int32_t ZZ_WINAPI ZetStandIn_SetCurrentLayer(int32_t board, int32_t layer) {
  standin::Board* target = BoardOf(board);
  if (target == nullptr || layer < 0 || layer > zz::kMaxClassicLayer) return 0;
  try {
    standin::SetCurrentLayer(*target, static_cast<zz::TLayerNumber>(layer));
  } catch (...) {
    return 0;  // a layer the identifier conversion refuses
  }
  return 1;
}

int32_t ZZ_WINAPI ZetStandIn_ObjectCount(int32_t board) {
  const standin::Board* target = BoardOf(board);
  return target != nullptr ? static_cast<int32_t>(target->Objects.size()) : -1;
}

void ZZ_WINAPI ZetStandIn_FailEveryNthCreation(int32_t n) { S().Objects().FailEveryNthCreation(n); }

void ZZ_WINAPI ZetStandIn_AddMessage(const char* text) {
  try {
    S().Ui().Messages().emplace_back(text != nullptr ? text : "");
  } catch (...) {
    // A message lost for want of memory must not end the host.
  }
}

int32_t ZZ_WINAPI ZetStandIn_MessageCount() { return static_cast<int32_t>(S().Ui().Messages().size()); }

int32_t ZZ_WINAPI ZetStandIn_GetMessage(int32_t index, char* buffer, int32_t size) {
  const auto& messages = S().Ui().Messages();
  if (index < 0 || static_cast<std::size_t>(index) >= messages.size()) return -1;
  const std::string& text = messages[static_cast<std::size_t>(index)];
  if (buffer != nullptr && size > 0) {
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
  return static_cast<int32_t>(text.size());
}

void ZZ_WINAPI ZetStandIn_GetProgress(int32_t* initCount, int32_t* finishCount, int32_t* total, int64_t* steps) {
  const standin::ProgressDisplay& progress = S().Ui().Progress();
  if (initCount != nullptr) *initCount = progress.InitCount();
  if (finishCount != nullptr) *finishCount = progress.FinishCount();
  if (total != nullptr) *total = progress.Total();
  if (steps != nullptr) *steps = static_cast<int64_t>(progress.Steps());
}

int32_t ZZ_WINAPI ZetStandIn_WriteBoardJson(int32_t board, const char* file, int32_t recognised, int32_t result,
                                            char* buffer, int32_t size) {
  const standin::Board* target = BoardOf(board);
  if (target == nullptr) return -1;
  try {
    const standin::DumpHeader header{file != nullptr ? file : "", recognised != 0, result != 0};
    const std::string json = standin::BoardJson(S(), *target, header);
    if (json.size() > static_cast<std::size_t>(INT32_MAX - 1)) return -1;
    const int32_t length = static_cast<int32_t>(json.size());
    if (buffer != nullptr && size > length) {
      std::memcpy(buffer, json.data(), json.size());
      buffer[length] = '\0';
    }
    return length;
  } catch (...) {
    return -1;
  }
}
}
