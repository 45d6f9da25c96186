#include "standin/Server.h"

#include <cstdint>
#include <new>

namespace standin {

namespace detail {

Server* theServer = nullptr;
PadLayerAnswers serverLayerAnswers;
FlagByteAnswers serverFlagBytes;
uint64_t serverStepsLeft = UINT64_MAX;  // no redraw planned

// Built on first use: the board's layer names come from a table initialised in another unit.
Server& MakeServer() {
  static Server server;
  theServer = &server;
  return server;
}

}  // namespace detail

void Server::Reset() {
  ObjectStore::Clear();
  BoardSet::Clear();
  UserInterface::Clear();
}

zz::TStatus Server::AddObject(THandle boardHandle, THandle object) {
  Board* board = FindBoard(boardHandle);
  const ObjectSlot* slot = SlotOf(object);
  if (board == nullptr || slot == nullptr || slot->Board != 0) return 1;
  try {
    board->Objects.push_back(object);
  } catch (const std::bad_alloc&) {
    return 1;
  }
  SetBoardOf(object, NumberOf(boardHandle));
  return 0;
}

THandle Server::OwnerBoard(THandle handle) const {
  const ObjectSlot* slot = SlotOf(handle);
  return slot == nullptr || slot->Board == 0 ? 0 : HandleOf(slot->Board);
}

std::size_t Server::MemoryUsage() const { return ObjectStore::MemoryUsage() + BoardSet::MemoryUsage(); }

}  // namespace standin
