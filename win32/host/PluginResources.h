#pragma once

// The resources the editor reads of a plug-in file before it loads it: the DESCRIPTION resource
// and the version information.

#include <windows.h>

#include <iosfwd>
#include <string>

namespace zzhost {

// "resource DESCRIPTION: ..." lines: its bytes in hexadecimal and as UTF-16 text.
void PrintDescriptionResource(HMODULE module, std::ostream& out);

// "version: ..." lines: the file version, ProductName and FileVersion.
void PrintVersionInfo(const std::string& path, std::ostream& out);

}  // namespace zzhost
