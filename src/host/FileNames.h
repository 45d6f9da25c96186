#pragma once

// Platform seam: file names looked up as the editor's file system looks them up. Windows does
// it itself; elsewhere the plug-in and the stand-in ask here, so that a file the editor would
// find is found on Linux too (a table file "board.Apr" beside "BOARD.GBR").

#include <string>

namespace zz::platform {

// The name under which the file system holds what Windows opens for `path`. On Windows, the path
// as it is. Elsewhere the last part of the path loses its trailing dots and blanks, and each part
// not found as written is matched against its folder's entries without regard to ASCII letter
// case (the first match in byte order); the path as it stands when a part matches nothing.
std::string WindowsFileName(const char* path);

}  // namespace zz::platform
