#include "host/FileNames.h"

namespace zz::platform {

// The Windows file API matches letter case and drops trailing dots and blanks itself.
std::string WindowsFileName(const char* path) { return path != nullptr ? std::string(path) : std::string(); }

}  // namespace zz::platform
