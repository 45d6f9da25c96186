#include "win32/host/PluginResources.h"

#include <cstdio>
#include <ostream>
#include <vector>

namespace zzhost {
namespace {

std::string Utf8(const wchar_t* text, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  return out;
}

std::string VersionValue(const std::vector<char>& info, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
  if (VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) == 0 || value == nullptr) {
    return "(none)";
  }
  return std::string(value);
}

}  // namespace

void PrintDescriptionResource(HMODULE module, std::ostream& out) {
  HRSRC resource = FindResourceA(module, "DESCRIPTION", MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) {
    out << "resource DESCRIPTION: not found\n";
    return;
  }
  const DWORD size = SizeofResource(module, resource);
  out << "resource DESCRIPTION: RCDATA, " << size << " bytes:";
  char hex[4];
  for (DWORD i = 0; i < size; ++i) {
    std::snprintf(hex, sizeof hex, "%02x", static_cast<const unsigned char*>(bytes)[i]);
    out << (i % 2 == 0 ? " " : "") << hex;
  }
  out << '\n';
  out << "resource DESCRIPTION as UTF-16: "
      << Utf8(static_cast<const wchar_t*>(bytes), static_cast<int>(size / sizeof(wchar_t))) << '\n';
}

void PrintVersionInfo(const std::string& path, std::ostream& out) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  std::vector<char> info(size);
  if (size == 0 || GetFileVersionInfoA(path.c_str(), 0, size, info.data()) == 0) {
    out << "version: not found\n";
    return;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) != 0 && fixed != nullptr) {
    out << "version: file " << HIWORD(fixed->dwFileVersionMS) << '.' << LOWORD(fixed->dwFileVersionMS) << '.'
        << HIWORD(fixed->dwFileVersionLS) << '.' << LOWORD(fixed->dwFileVersionLS) << '\n';
  }
  out << "version: ProductName " << VersionValue(info, "ProductName") << '\n';
  out << "version: FileVersion " << VersionValue(info, "FileVersion") << '\n';
}

}  // namespace zzhost
