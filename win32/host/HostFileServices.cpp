#include "win32/host/HostFileServices.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t kResultBufferSize = 4096;
constexpr std::string_view kSeparators = "\\/:";

std::string_view PathOf(const char* path) { return path != nullptr ? std::string_view(path) : std::string_view(); }

// Index just past the folder part.
std::size_t NameStart(std::string_view path) {
  const std::size_t separator = path.find_last_of(kSeparators);
  return separator == std::string_view::npos ? 0 : separator + 1;
}

// Index of the extension's dot, or the path's size when the name has none.
std::size_t ExtensionStart(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  return (dot == std::string_view::npos || dot < NameStart(path)) ? path.size() : dot;
}

// Appends pieces into the caller's buffer, never past its last byte, and keeps it terminated.
class Result {
 public:
  explicit Result(char* buffer) : buffer_(buffer) {
    if (buffer_ != nullptr) buffer_[0] = '\0';
  }
  Result& operator<<(std::string_view piece) {
    if (buffer_ == nullptr) return *this;
    const std::size_t n = std::min(piece.size(), kResultBufferSize - 1 - used_);
    if (n != 0) std::memcpy(buffer_ + used_, piece.data(), n);
    used_ += n;
    buffer_[used_] = '\0';
    return *this;
  }

 private:
  char* buffer_;
  std::size_t used_ = 0;
};

bool FileAttributes(const char* path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  return path != nullptr && path[0] != '\0' && GetFileAttributesExA(path, GetFileExInfoStandard, &data) != 0 &&
         (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

extern "C" {

uint8_t ZZ_WINAPI ClientAPI_ExistSpecific(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return FileAttributes(path, data) ? 1 : 0;
}

void ZZ_WINAPI ClientAPI_ExtractFileDirFromPath(const char* path, char* result) {
  const std::string_view text = PathOf(path);
  Result(result) << text.substr(0, NameStart(text));
}

void ZZ_WINAPI ClientAPI_ExtractFileNameFromPath(const char* path, char* result) {
  const std::string_view text = PathOf(path);
  const std::size_t start = NameStart(text);
  Result(result) << text.substr(start, ExtensionStart(text) - start);
}

void ZZ_WINAPI ClientAPI_ExtractFileExtFromPath(const char* path, char* result) {
  const std::string_view text = PathOf(path);
  Result(result) << text.substr(ExtensionStart(text));
}

void ZZ_WINAPI ClientAPI_ExtractWholeFileNameFromPath(const char* path, char* result) {
  const std::string_view text = PathOf(path);
  Result(result) << text.substr(NameStart(text));
}

void ZZ_WINAPI ClientAPI_ForceFileNameExtension(const char* path, const char* extension, char* result) {
  const std::string_view text = PathOf(path);
  std::string_view ext = PathOf(extension);
  if (!ext.empty() && ext.front() == '.') ext.remove_prefix(1);
  Result out(result);
  out << text.substr(0, ExtensionStart(text));
  if (!ext.empty()) out << "." << ext;
}

int32_t ZZ_WINAPI ClientAPI_GetFileSize(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!FileAttributes(path, data) || data.nFileSizeHigh != 0 || data.nFileSizeLow > 0x7FFFFFFFu) return -1;
  return static_cast<int32_t>(data.nFileSizeLow);
}
}
