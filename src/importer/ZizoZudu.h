#pragma once

// The plug-in's three exports, as the editor calls them: the Windows API convention, texts as
// the address of a length-prefixed text, a one-byte boolean result (0 = false).

#include <cstdint>

#include "host/CallConv.h"
#include "host/ShortString.h"

extern "C" {

// The file-filter text of the editor's import dialog; valid while the library is loaded.
const char* ZZ_WINAPI GetPcbImporterDescription();

// Whether FileName is a Gerber file this importer reads: its first line holds a whole format statement.
uint8_t ZZ_WINAPI RecognisedPCBFile(const zz::TShortString<255>* FileName);

// Reads one Gerber file into the board BoardHandle (0 = the current board). True when the whole
// file was read. Reserved is never looked at.
uint8_t ZZ_WINAPI ImportFileIntoPcb(const zz::TShortString<255>* FileName, const zz::TShortString<255>* Reserved,
                                    int32_t BoardHandle);
}
