#pragma once

// The tool keeps every path as UTF-8 text; the file system gets it as a path of its own kind
// (wide characters on Windows, where a narrow path would go through the code page).

#include <filesystem>
#include <string>

namespace zzcli {

std::filesystem::path PathFromUtf8(const std::string& text);
std::string Utf8FromPath(const std::filesystem::path& path);

// The last part of a path (UTF-8 in, UTF-8 out).
std::string FileNameOf(const std::string& path);

}  // namespace zzcli
