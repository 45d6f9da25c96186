#pragma once

// The seven client file services the way the editor's main executable provides them, on the
// Windows file API. The host program exports them under these names (ClientServices.def), so the
// plug-in finds them with GetProcAddress in the main module, as it does in the editor.
//
// Paths are NUL-terminated single-byte texts. A text result goes into the caller's buffer of
// 4096 characters: at most 4095 characters and a NUL. The folder part runs through the last "\",
// "/" or ":"; the extension is the part of the whole file name from its last "." on.

#include <cstdint>

#include "host/CallConv.h"

extern "C" {

// 1 for an existing file; 0 for a folder, a missing path or an empty text.
uint8_t ZZ_WINAPI ClientAPI_ExistSpecific(const char* path);
// Folder part, ending with its separator; empty when the path has none.
void ZZ_WINAPI ClientAPI_ExtractFileDirFromPath(const char* path, char* result);
// File name without folder and extension.
void ZZ_WINAPI ClientAPI_ExtractFileNameFromPath(const char* path, char* result);
// Extension with its dot; empty when the name has none.
void ZZ_WINAPI ClientAPI_ExtractFileExtFromPath(const char* path, char* result);
// File name with extension, without folder.
void ZZ_WINAPI ClientAPI_ExtractWholeFileNameFromPath(const char* path, char* result);
// The path with its extension replaced by "." + extension (a leading dot is not doubled); an empty
// extension removes it.
void ZZ_WINAPI ClientAPI_ForceFileNameExtension(const char* path, const char* extension, char* result);
// Size in bytes; -1 for a missing path, a folder or a file of 2 GB and more.
int32_t ZZ_WINAPI ClientAPI_GetFileSize(const char* path);
}
