#pragma once

// Platform seam: the seven file-name services of the host application's client services.
// On Windows they are looked up by name in the host's main executable once, at load; a caller
// may register a substitute table instead (tests, the Linux tool). An absent service gives
// the "absent" value: false, an empty text or -1.

#include <cstdint>
#include <string>

#include "host/CallConv.h"

namespace zz::client {

// Raw entry points, as the host exports them. Paths are NUL-terminated single-byte texts; a
// text result is written into a 4096-character buffer that the caller provides.
constexpr std::size_t kResultBufferSize = 4096;
using ExistSpecificFn = uint8_t(ZZ_WINAPI*)(const char* path);
using ExtractFn = void(ZZ_WINAPI*)(const char* path, char* result);
using ForceExtensionFn = void(ZZ_WINAPI*)(const char* path, const char* extension, char* result);
using GetFileSizeFn = int32_t(ZZ_WINAPI*)(const char* path);

struct ClientServiceTable {
  ExistSpecificFn ExistSpecific = nullptr;
  ExtractFn ExtractFileDirFromPath = nullptr;
  ExtractFn ExtractFileNameFromPath = nullptr;
  ExtractFn ExtractFileExtFromPath = nullptr;
  ExtractFn ExtractWholeFileNameFromPath = nullptr;
  ForceExtensionFn ForceFileNameExtension = nullptr;
  GetFileSizeFn GetFileSize = nullptr;
};

// Looks the services up in the host's main executable (Windows) or finds none (elsewhere).
void BindClientServices();
// Replaces the bound table; a null entry makes that service absent.
void RegisterClientServices(const ClientServiceTable& table);

bool ExistSpecific(const std::string& path);
std::string ExtractFileDirFromPath(const std::string& path);        // ends with the separator
std::string ExtractFileNameFromPath(const std::string& path);       // no folder, no extension
std::string ExtractFileExtFromPath(const std::string& path);        // with or without the dot
std::string ExtractWholeFileNameFromPath(const std::string& path);  // no folder
std::string ForceFileNameExtension(const std::string& path, const std::string& extensionWithoutDot);
int32_t GetFileSize(const std::string& path);  // -1 on failure or when absent

}  // namespace zz::client
