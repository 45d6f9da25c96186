#pragma once

// A file's bytes, by its UTF-8 path.

#include <cstddef>
#include <optional>
#include <string>

namespace zzcli {

// The first bytes of a file (fewer when it is shorter or cannot be read).
std::string ReadHead(const std::string& path, std::size_t bytes);

// The whole file, or none when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace zzcli
