#include "cli/PluginFileNames.h"

#include "cli/CommandLine.h"

namespace zzcli::platform {

PluginFileName CheckedPluginFileName(std::string bytes, std::string problem) {
  if (problem.empty() && bytes.size() > kMaxPathLength) {
    problem = "the editor cannot hand this path to the importer: it is " + std::to_string(bytes.size()) +
              " characters long, and the importer takes at most " + std::to_string(kMaxPathLength) +
              " (use a shorter or relative path)";
  }
  const std::size_t length = bytes.size();
  return PluginFileName{problem.empty() ? std::move(bytes) : std::string(), std::move(problem), length};
}

}  // namespace zzcli::platform
