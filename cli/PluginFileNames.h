#pragma once

#include <string>

#include "cli/Platform.h"

namespace zzcli::platform {

// `bytes`, the path as the importer would get it, checked against the importer's length limit;
// `problem`, what the conversion to those bytes found wrong, if anything.
PluginFileName CheckedPluginFileName(std::string bytes, std::string problem);

}  // namespace zzcli::platform
