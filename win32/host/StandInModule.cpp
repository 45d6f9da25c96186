#include "win32/host/StandInModule.h"

#include <type_traits>

#include "win32/host/HostProgram.h"

namespace zzhost {

bool StandIn::Load(const std::string& path, std::string& error) {
  module_ = LoadLibraryA(path.c_str());
  if (module_ == nullptr) {
    error = "cannot load " + path + " (" + LastErrorText() + ")";
    return false;
  }
  bool all = true;
  auto bind = [&](auto& fn, const char* name) {
    fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(
        reinterpret_cast<void*>(GetProcAddress(module_, name)));
    if (fn == nullptr) {
      error = path + " does not export " + name;
      all = false;
    }
  };
  bind(Reset, "ZetStandIn_Reset");
  bind(CreateBoard, "ZetStandIn_CreateBoard");
  bind(SetCurrentLayer, "ZetStandIn_SetCurrentLayer");
  bind(ObjectCount, "ZetStandIn_ObjectCount");
  bind(AddMessage, "ZetStandIn_AddMessage");
  bind(MessageCount, "ZetStandIn_MessageCount");
  bind(GetProgress, "ZetStandIn_GetProgress");
  bind(WriteBoardJson, "ZetStandIn_WriteBoardJson");
  bind(FailEveryNthCreation, "ZetStandIn_FailEveryNthCreation");
  return all;
}

std::optional<std::string> StandIn::BoardJson(int32_t board, const std::string& file, bool recognised,
                                              bool result) const {
  const int32_t length = WriteBoardJson(board, file.c_str(), recognised, result, nullptr, 0);
  if (length < 0) return std::nullopt;
  std::string json(static_cast<std::size_t>(length) + 1, '\0');
  if (WriteBoardJson(board, file.c_str(), recognised, result, json.data(), length + 1) != length) return std::nullopt;
  json.resize(static_cast<std::size_t>(length));
  return json;
}

StandIn& TheStandIn() {
  static StandIn standIn;
  return standIn;
}

namespace {

bool ChooseBoard(const std::string& board, ImportTarget& target, std::string& error) {
  if (board == "second" || board == "second-current") {
    const bool makeCurrent = board == "second-current";
    const int32_t second = TheStandIn().CreateBoard(makeCurrent ? 1 : 0);
    if (second == 0) {
      error = "the stand-in made no second board";
      return false;
    }
    target.ImportHandle = makeCurrent ? 0 : second;
    target.DumpBoard = second;
  } else {
    target.ImportHandle = *ParseInt(board);
    target.DumpBoard = target.ImportHandle;
  }
  return true;
}

}  // namespace

bool PrepareStandIn(const StandInSetup& setup, ImportTarget& target, std::string& error) {
  StandIn& standIn = TheStandIn();
  standIn.Reset(setup.Progress ? 1 : 0);
  if (!ChooseBoard(setup.Board, target, error)) return false;
  standIn.FailEveryNthCreation(setup.FailEveryNthCreation);
  if (setup.Layer && standIn.SetCurrentLayer(target.DumpBoard, *setup.Layer) == 0) {
    error = "the stand-in has no board " + std::to_string(target.DumpBoard) + " to set the layer of";
    return false;
  }
  return true;
}

}  // namespace zzhost
