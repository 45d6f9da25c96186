#include "cli/FileArea.h"

namespace zzcli {

std::optional<FileArea> ReadFileArea(const std::string& /*file*/, const PluginReading& /*reading*/, std::string& why) {
  why = "this build has no full reader of the file";
  return std::nullopt;
}

}  // namespace zzcli
