#pragma once

// The stand-in PCB server, ZetPcb.dll, loaded by name as the editor loads its own, and reached
// through its test exports.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "win32/host/HostOptions.h"
#include "win32/standin/ZetPcbTestApi.h"

namespace zzhost {

class StandIn {
 public:
  bool Load(const std::string& path, std::string& error);
  bool Loaded() const { return module_ != nullptr; }

  // The board's dump (zizozudu-board/1), or nothing when there is no such board.
  std::optional<std::string> BoardJson(int32_t board, const std::string& file, bool recognised, bool result) const;

  decltype(&ZetStandIn_Reset) Reset = nullptr;
  decltype(&ZetStandIn_CreateBoard) CreateBoard = nullptr;
  decltype(&ZetStandIn_SetCurrentLayer) SetCurrentLayer = nullptr;
  decltype(&ZetStandIn_ObjectCount) ObjectCount = nullptr;
  decltype(&ZetStandIn_AddMessage) AddMessage = nullptr;
  decltype(&ZetStandIn_MessageCount) MessageCount = nullptr;
  decltype(&ZetStandIn_GetProgress) GetProgress = nullptr;
  decltype(&ZetStandIn_WriteBoardJson) WriteBoardJson = nullptr;
  decltype(&ZetStandIn_FailEveryNthCreation) FailEveryNthCreation = nullptr;

 private:
  HMODULE module_ = nullptr;
};

// The one stand-in of the process: the plug-in binds the PCB server once per process, by name.
StandIn& TheStandIn();

// Where an import goes: the handle passed to the import, and the board whose dump shows it.
struct ImportTarget {
  int32_t ImportHandle = 0;
  int32_t DumpBoard = 0;
};

// Empties the stand-in and sets it up for the next import. Every setting of the stand-in is
// applied here, from StandInSetup.
bool PrepareStandIn(const StandInSetup& setup, ImportTarget& target, std::string& error);

}  // namespace zzhost
