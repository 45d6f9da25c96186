#pragma once

// The file's side of the left-out measure: its dark area from the full reading, and the area of
// its objects by the cause that makes the importer drop or misplace them.

#include <optional>
#include <string>

#include "cli/LeftOut.h"

namespace zzcli {

// None when the file cannot be read fully; `why` then says so.
std::optional<FileArea> ReadFileArea(const std::string& file, const PluginReading& reading, std::string& why);

}  // namespace zzcli
