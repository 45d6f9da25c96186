#pragma once

// What the tool does differently on Windows: the wide command line, the console, and file names
// handed to the importer in the system code page, as the editor hands them.

#include <cstddef>
#include <ostream>
#include <string>

namespace zzcli::platform {

// Console output of UTF-8 text (Windows: the console's code page while the tool runs).
void PrepareConsole();

// Whether the progress display may draw: on Windows only on a console (not a pipe, a file or
// NUL); elsewhere the display asks for a terminal itself.
bool ProgressWanted();

// Whether the tool runs in a console window of its own (started by a double-click or by files
// dropped on it), which closes the moment the tool ends; never without a console for input.
bool OwnsConsole();

// Asks for a key on `out` and waits for it.
void WaitForKey(std::ostream& out);

// A UTF-8 path as the importer gets it: the system code page's bytes on Windows, the UTF-8 bytes
// elsewhere. Empty Problem: Bytes is the name; else it says why the editor could not pass it.
struct PluginFileName {
  std::string Bytes;
  std::string Problem;
  std::size_t Length = 0;  // of the path in the importer's bytes, where it could be converted
};
PluginFileName ToPluginFileName(const std::string& path);

// A text from the importer (a message naming the file, say) as UTF-8.
std::string FromPluginText(const std::string& text);

}  // namespace zzcli::platform
