#pragma once

// The one way a new primitive enters the host board. The drawing code calls it once per track,
// fill, arc or pad, so it allocates nothing: the wrapper lives on the stack for the duration of
// the call, and as the wrapper classes are final every call on it is bound statically.
//
//   CreateBoardObject<TPcbTrack>(board, [&](TPcbTrack& track) {
//     track.SetX(x1); track.SetY(y1); track.SetX2(x2); track.SetY2(y2); track.SetWidth(width);
//   });
//
// The sequence, always in this order:
//   1. PcbApi_CreateObject(kind of TWrapper): the new host handle; 0 when the host failed, and
//      the sequence stops there: there is no object to fetch, store or add;
//   2. a wrapper for that handle;
//   3. Sync(Fetch): the copy takes the host's defaults for a new object;
//   4. setFields(wrapper): the caller sets what it cares about on the copy;
//   5. SetLayer(board.CurrentLayer);
//   6. Sync(Store): the host object takes the copy;
//   7. board.AddObject(handle): the object joins the board;
//   8. the wrapper goes; the host object stays in the board.
// Returns whether the host created the object; what the host answers to the add is not looked at.

#include <utility>

#include "host/HostRoutines.h"
#include "pcbobjects/PcbBoard.h"

namespace zz {

template <typename TWrapper, typename SetFields>
bool CreateBoardObject(TPcbBoard& board, SetFields&& setFields) {
  const THandle handle = host::PcbApi_CreateObject(static_cast<uint8_t>(TWrapper::Kind));
  if (handle == 0) return false;
  TWrapper wrapper(handle);
  wrapper.Sync(kFetch);
  std::forward<SetFields>(setFields)(wrapper);
  wrapper.SetLayer(board.CurrentLayer);
  wrapper.Sync(kStore);
  board.AddObject(handle);
  return true;
}

}  // namespace zz
