#include "cli/Platform.h"
#include "cli/PluginFileNames.h"

namespace zzcli::platform {

void PrepareConsole() {}

bool ProgressWanted() { return true; }

// A terminal outlives the programs it runs.
bool OwnsConsole() { return false; }

void WaitForKey(std::ostream& /*out*/) {}

PluginFileName ToPluginFileName(const std::string& path) { return CheckedPluginFileName(path, ""); }

std::string FromPluginText(const std::string& text) { return text; }

}  // namespace zzcli::platform
