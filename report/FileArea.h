#pragma once

// The file's side of the left-out measure: its objects as the full reader gives them, each with
// the cause that makes the importer drop or misplace it.

#include <optional>
#include <string>
#include <vector>

#include "gerberx/Layer.h"
#include "report/Misreadings.h"

namespace zzreport {

struct FileArea {
  gerberx::Layer Layer;       // objects without the areas of plain ones, no dark area
  std::vector<Cause> Causes;  // by object; None for what the importer reads right
};

// None when the file cannot be read fully; `why` then says so.
std::optional<FileArea> ReadFileArea(const std::string& file, const PluginReading& reading, std::string& why);

}  // namespace zzreport
