#include "standin/BoardSet.h"

#include <new>

namespace standin {

void BoardSet::Clear() {
  boards_.clear();
  boards_.push_back(std::make_unique<Board>(HandleOf(1)));
  current_ = 0;
}

THandle BoardSet::CreateBoard() {
  if (boards_.size() >= kMaxBoards) return 0;
  const THandle handle = HandleOf(static_cast<uint16_t>(boards_.size() + 1));
  try {
    boards_.push_back(std::make_unique<Board>(handle));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return handle;
}

bool BoardSet::SetCurrentBoard(THandle handle) {
  if (FindBoard(handle) == nullptr) return false;
  current_ = NumberOf(handle) - 1U;
  return true;
}

std::size_t BoardSet::MemoryUsage() const {
  std::size_t bytes = 0;
  for (const auto& board : boards_) {
    bytes += sizeof(Board) + board->Objects.MemoryUsage() + board->LayerPairs.capacity() * sizeof(LayerPair);
  }
  return bytes;
}

}  // namespace standin
