#pragma once

// The stand-in's PCB server: the objects, the boards and what the user is shown. The entry
// points of PcbServer.h answer from the one instance that TheServer() returns; tests and the
// tool read and prepare it through this class.

#include <cstddef>

#include "standin/BoardSet.h"
#include "standin/ObjectStore.h"
#include "standin/UserInterface.h"

namespace standin {

class Server {
 public:
  Server() = default;
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  ObjectStore& Objects() { return objects_; }
  const ObjectStore& Objects() const { return objects_; }
  BoardSet& Boards() { return boards_; }
  const BoardSet& Boards() const { return boards_; }
  UserInterface& Ui() { return ui_; }
  const UserInterface& Ui() const { return ui_; }

  // A fresh board set: no objects, one empty board that is current, no messages.
  void Reset();

  // Adds the object to the board once: 0 on success, 1 for an unknown board or object or an
  // object already on a board.
  zz::TStatus AddObject(THandle board, THandle object);
  // The board the object was added to, or 0.
  THandle OwnerBoard(THandle handle) const;

  // Bytes held for objects, side tables and boards (capacities, not sizes).
  std::size_t MemoryUsage() const;

 private:
  ObjectStore objects_;
  BoardSet boards_;
  UserInterface ui_;
};

namespace detail {
extern Server theServer;
}  // namespace detail

// The instance the entry points answer from.
inline Server& TheServer() { return detail::theServer; }

}  // namespace standin
