#pragma once

// The stand-in's own exports in ZetPcb.dll, beside the PcbApi_ entry points: what a test host
// needs to prepare the editor's side and read it back. The Windows API convention, plain names.
// None of them throws; a failure is a result.

#include <cstdint>

#include "host/CallConv.h"

extern "C" {

// A fresh board set: no objects, one empty current board, no messages. The progress bar is drawn
// on standard error only when showProgress is nonzero and standard error is a console.
void ZZ_WINAPI ZetStandIn_Reset(int32_t showProgress);

// A new board, made current when makeCurrent is nonzero. Its handle, or 0 when none can be made.
int32_t ZZ_WINAPI ZetStandIn_CreateBoard(int32_t makeCurrent);

// The handle of the current board.
int32_t ZZ_WINAPI ZetStandIn_CurrentBoard();

// Sets a board's current layer (board 0: the current board). 1 on success, 0 for an unknown board
// or a layer outside 0..82.
int32_t ZZ_WINAPI ZetStandIn_SetCurrentLayer(int32_t board, int32_t layer);

// The number of objects on a board (board 0: the current board), or -1 for an unknown board.
int32_t ZZ_WINAPI ZetStandIn_ObjectCount(int32_t board);

// From now on every n-th PcbApi_CreateObject call fails (returns 0), as an editor short of memory
// would; 0 lets every creation succeed. Reset clears it.
void ZZ_WINAPI ZetStandIn_FailEveryNthCreation(int32_t n);

// Keeps a message the plug-in showed; the dump lists them in order.
void ZZ_WINAPI ZetStandIn_AddMessage(const char* text);
int32_t ZZ_WINAPI ZetStandIn_MessageCount();
// Copies message `index` into buffer (NUL-terminated, cut to size - 1); returns its full length, or
// -1 for an index out of range.
int32_t ZZ_WINAPI ZetStandIn_GetMessage(int32_t index, char* buffer, int32_t size);

// The progress display's counters: Init calls, Finish calls, the last total and the steps done.
void ZZ_WINAPI ZetStandIn_GetProgress(int32_t* initCount, int32_t* finishCount, int32_t* total, int64_t* steps);

// The board dump "zizozudu-board/1" of a board (board 0: the current board) with the given header
// values. Writes it NUL-terminated into buffer when it fits in size bytes; returns its length
// without the terminator, or -1 for an unknown board or when it could not be made.
int32_t ZZ_WINAPI ZetStandIn_WriteBoardJson(int32_t board, const char* file, int32_t recognised, int32_t result,
                                            char* buffer, int32_t size);
}
