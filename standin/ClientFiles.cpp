#include "standin/ClientFiles.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "host/FileNames.h"

namespace standin {
namespace {

#if defined(_WIN32)
constexpr std::string_view kSeparators = "\\/:";
#else
constexpr std::string_view kSeparators = "/";
#endif

std::string_view PathOf(const char* path) { return path != nullptr ? std::string_view(path) : std::string_view(); }

// Copies at most the buffer's capacity less one and terminates.
void WriteResult(char* result, std::string_view text) {
  if (result == nullptr) return;
  const std::size_t n = std::min(text.size(), zz::client::kResultBufferSize - 1);
  if (n != 0) std::memcpy(result, text.data(), n);
  result[n] = '\0';
}

// Index just past the folder part.
std::size_t NameStart(std::string_view path) {
  const std::size_t separator = path.find_last_of(kSeparators);
  return separator == std::string_view::npos ? 0 : separator + 1;
}

// Index of the extension's dot within the path, or the path's size when there is none.
std::size_t ExtensionStart(std::string_view path) {
  const std::size_t nameStart = NameStart(path);
  const std::size_t dot = path.rfind('.');
  return (dot == std::string_view::npos || dot < nameStart) ? path.size() : dot;
}

// The size of the regular file the editor would find under the path; none for anything else.
std::optional<uint64_t> RegularFileSize(const char* path) {
  if (path == nullptr || *path == '\0') return std::nullopt;
#if defined(_WIN32)
  // The single-byte "A" API reads the path in the code page the editor's plug-ins pass.
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (GetFileAttributesExA(path, GetFileExInfoStandard, &data) == 0 ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
#else
  try {
    std::error_code error;
    const std::filesystem::path file(zz::platform::WindowsFileName(path));
    if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) return std::nullopt;
    return size;
  } catch (...) {
    return std::nullopt;
  }
#endif
}

}  // namespace

std::string SpelledOnDisk(const std::string& path) {
  if (!RegularFileSize(path.c_str())) return path;
#if defined(_WIN32)
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return path;
  FindClose(search);
  return path.substr(0, NameStart(path)) + found.cFileName;
#else
  return zz::platform::WindowsFileName(path.c_str());
#endif
}

uint8_t ZZ_WINAPI ClientAPI_ExistSpecific(const char* path) { return RegularFileSize(path) ? 1 : 0; }

void ZZ_WINAPI ClientAPI_ExtractFileDirFromPath(const char* path, char* result) {
  const std::string_view text = PathOf(path);
  WriteResult(result, text.substr(0, NameStart(text)));
}

void ZZ_WINAPI ClientAPI_ExtractFileNameFromPath(const char* path, char* result) {
  const std::string_view text = PathOf(path);
  const std::size_t start = NameStart(text);
  WriteResult(result, text.substr(start, ExtensionStart(text) - start));
}

void ZZ_WINAPI ClientAPI_ExtractFileExtFromPath(const char* path, char* result) {
  const std::string_view text = PathOf(path);
  WriteResult(result, text.substr(ExtensionStart(text)));
}

void ZZ_WINAPI ClientAPI_ExtractWholeFileNameFromPath(const char* path, char* result) {
  const std::string_view text = PathOf(path);
  WriteResult(result, text.substr(NameStart(text)));
}

void ZZ_WINAPI ClientAPI_ForceFileNameExtension(const char* path, const char* extension, char* result) {
  if (result == nullptr) return;
  const std::string_view text = PathOf(path);
  std::string_view ext = PathOf(extension);
  if (!ext.empty() && ext.front() == '.') ext.remove_prefix(1);
  const std::string_view stem = text.substr(0, ExtensionStart(text));
  // Built piece by piece into the buffer, so no text longer than the buffer is ever formed.
  std::size_t used = 0;
  auto append = [&](std::string_view piece) {
    const std::size_t n = std::min(piece.size(), zz::client::kResultBufferSize - 1 - used);
    if (n != 0) std::memcpy(result + used, piece.data(), n);
    used += n;
  };
  append(stem);
  if (!ext.empty()) {
    append(".");
    append(ext);
  }
  result[used] = '\0';
}

int32_t ZZ_WINAPI ClientAPI_GetFileSize(const char* path) {
  const std::optional<uint64_t> size = RegularFileSize(path);
  if (!size || *size > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return -1;
  return static_cast<int32_t>(*size);
}

zz::client::ClientServiceTable ClientFileServices() {
  zz::client::ClientServiceTable table;
  table.ExistSpecific = &ClientAPI_ExistSpecific;
  table.ExtractFileDirFromPath = &ClientAPI_ExtractFileDirFromPath;
  table.ExtractFileNameFromPath = &ClientAPI_ExtractFileNameFromPath;
  table.ExtractFileExtFromPath = &ClientAPI_ExtractFileExtFromPath;
  table.ExtractWholeFileNameFromPath = &ClientAPI_ExtractWholeFileNameFromPath;
  table.ForceFileNameExtension = &ClientAPI_ForceFileNameExtension;
  table.GetFileSize = &ClientAPI_GetFileSize;
  return table;
}

}  // namespace standin
