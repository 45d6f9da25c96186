#pragma once

// What the tool checks itself before it hands a file to the plug-in: that the file is there to
// be read. Why the plug-in turns down a file it can read, the plug-in says (ImportWatch.h).

#include <optional>
#include <string>

namespace zzcli {

// Plain words for a file that does not exist, is not a regular file or cannot be opened for
// reading; none for a readable file.
std::optional<std::string> FileProblem(const std::string& path);

}  // namespace zzcli
