#pragma once

// The open board documents and which one is current. Board handles count up from
// kBoardHandleBase + 1 in the order the boards were made.

#include <cstddef>
#include <memory>
#include <vector>

#include "standin/Board.h"
#include "standin/Records.h"

namespace standin {

class BoardSet {
 public:
  BoardSet() { Clear(); }

  // One empty board, current.
  void Clear();

  THandle CreateBoard();  // 0 when no more boards can be held
  Board* FindBoard(THandle handle) {
    const uint32_t index = static_cast<uint32_t>(handle) - static_cast<uint32_t>(kBoardHandleBase) - 1U;
    return index < boards_.size() ? boards_[index].get() : nullptr;
  }
  const Board* FindBoard(THandle handle) const { return const_cast<BoardSet*>(this)->FindBoard(handle); }
  // 1 for the first board made, 2 for the second, ...; the handle must be a board's.
  static uint16_t NumberOf(THandle board) {
    return static_cast<uint16_t>(static_cast<uint32_t>(board - kBoardHandleBase));
  }
  static THandle HandleOf(uint16_t number) { return kBoardHandleBase + number; }

  THandle CurrentBoardHandle() const { return boards_[current_]->Handle; }
  Board& CurrentBoard() { return *boards_[current_]; }
  const Board& CurrentBoard() const { return *boards_[current_]; }
  bool SetCurrentBoard(THandle handle);
  std::size_t BoardCount() const { return boards_.size(); }

  // Bytes held for the boards and their lists (capacities, not sizes).
  std::size_t MemoryUsage() const;

 private:
  std::vector<std::unique_ptr<Board>> boards_;
  std::size_t current_ = 0;
};

}  // namespace standin
