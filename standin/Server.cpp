#include "standin/Server.h"

#include <new>

namespace standin {

namespace detail {

// Its boards' layer names come from a table initialised as a constant, so the order in which
// the units' objects are built does not matter.
Server theServer;

}  // namespace detail

void Server::Reset() {
  objects_.Clear();
  boards_.Clear();
  ui_.Clear();
}

zz::TStatus Server::AddObject(THandle boardHandle, THandle object) {
  Board* board = boards_.FindBoard(boardHandle);
  const ObjectSlot* slot = objects_.SlotOf(object);
  if (board == nullptr || slot == nullptr || slot->Board != 0) return 1;
  try {
    board->Objects.push_back(object);
  } catch (const std::bad_alloc&) {
    return 1;
  }
  objects_.SetBoardOf(object, BoardSet::NumberOf(boardHandle));
  return 0;
}

THandle Server::OwnerBoard(THandle handle) const {
  const ObjectSlot* slot = objects_.SlotOf(handle);
  return slot == nullptr || slot->Board == 0 ? 0 : BoardSet::HandleOf(slot->Board);
}

std::size_t Server::MemoryUsage() const { return objects_.MemoryUsage() + boards_.MemoryUsage(); }

}  // namespace standin
