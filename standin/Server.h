#pragma once

// The stand-in's PCB server: the objects, the boards and what the user is shown, together. The
// entry points of PcbServer.h answer from the one instance that TheServer() returns; tests and
// the tool read and prepare it through this class.

#include <cstddef>
#include <cstdint>

#include "standin/BoardSet.h"
#include "standin/ObjectStore.h"
#include "standin/UserInterface.h"

namespace standin {

namespace detail {
// What the entry points called for every pad layer, object and character read directly, at
// fixed addresses: the per-layer answers, the flag bytes, the progress steps left.
extern PadLayerAnswers serverLayerAnswers;
extern FlagByteAnswers serverFlagBytes;
extern uint64_t serverStepsLeft;
}  // namespace detail

class Server : public ObjectStore, public BoardSet, public UserInterface {
 public:
  Server() {
    KeepLayerAnswersIn(detail::serverLayerAnswers);
    KeepFlagBytesIn(detail::serverFlagBytes);
    Progress().CountStepsIn(detail::serverStepsLeft);
  }
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // A fresh board set: no objects, one empty board that is current, no messages.
  void Reset();

  // Adds the object to the board once: 0 on success, 1 for an unknown board or object or an
  // object already on a board.
  zz::TStatus AddObject(THandle board, THandle object);
  // The board the object was added to, or 0.
  THandle OwnerBoard(THandle handle) const;

  // Bytes held for objects, side tables and boards (capacities, not sizes).
  std::size_t MemoryUsage() const;
};

namespace detail {
extern Server* theServer;
Server& MakeServer();
}  // namespace detail

// The instance the entry points answer from, built on first use. Inline: the entry points ask
// for it on every call, a pad's fetch alone making 336 of them.
inline Server& TheServer() {
  Server* server = detail::theServer;
  if (server == nullptr) [[unlikely]]
    return detail::MakeServer();
  return *server;
}

}  // namespace standin
