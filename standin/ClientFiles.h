#pragma once

// The seven client file services on the real file system, with the raw signatures of the
// client services table: the stand-in's, and the Wine host program's, which exports them under
// these C names as the editor's main executable does (win32/host/ClientServices.def). Every text
// result is written into the caller's buffer of zz::client::kResultBufferSize characters: at most
// 4095 characters and a NUL.
//
// Path texts: the folder part runs through the last separator ("/", and on Windows also "\"
// and a drive's ":"); the extension is the part of the whole file name from its last "." on,
// so name + extension is always the whole file name. Files are found as the editor finds them:
// on Windows by the Windows file API, elsewhere by zz::platform::WindowsFileName (letter case
// ignored, trailing dots and blanks of the name dropped).

#include <cstdint>
#include <string>

#include "host/CallConv.h"
#include "host/ClientServices.h"

namespace standin {

extern "C" {

// True only for an existing regular file (a folder is not one).
uint8_t ZZ_WINAPI ClientAPI_ExistSpecific(const char* path);
// Folder part, ending with the separator; empty when the path has no folder part.
void ZZ_WINAPI ClientAPI_ExtractFileDirFromPath(const char* path, char* result);
// File name without folder and extension.
void ZZ_WINAPI ClientAPI_ExtractFileNameFromPath(const char* path, char* result);
// Extension with its dot; empty when the name has none.
void ZZ_WINAPI ClientAPI_ExtractFileExtFromPath(const char* path, char* result);
// File name with extension, without folder.
void ZZ_WINAPI ClientAPI_ExtractWholeFileNameFromPath(const char* path, char* result);
// The path with its extension replaced by (or, without one, given) "." + extension; an empty
// extension removes it. A leading dot of the given extension is not doubled.
void ZZ_WINAPI ClientAPI_ForceFileNameExtension(const char* path, const char* extension, char* result);
// Size in bytes of a regular file; -1 when it is missing, not a regular file, or too large for
// 32 bits.
int32_t ZZ_WINAPI ClientAPI_GetFileSize(const char* path);

}  // extern "C"

// The path of the file the editor would find under `path`, its name as the file system spells
// it ("board.abr" for "BOARD.ABR"); the path as given when there is none. In the importer's
// bytes, as the services take them.
std::string SpelledOnDisk(const std::string& path);

// All seven, as the plug-in's client services table takes them.
zz::client::ClientServiceTable ClientFileServices();

}  // namespace standin
