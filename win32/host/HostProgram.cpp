#include "win32/host/HostProgram.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iostream>

namespace zzhost {

int Fail(const std::string& text, int exitCode) {
  std::cerr << "zz-wine-host: " << text << '\n';
  return exitCode;
}

std::string LastErrorText() { return "error " + std::to_string(GetLastError()); }

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  const std::size_t cut = folder.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
}

bool WriteText(const std::string& path, const std::string& text, std::string& error) {
  if (path == "-") {
    // The dump's bytes exactly, without line-end translation. Only now: until the import is over,
    // standard output stays in text mode, as the editor's is.
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return true;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (out.fail()) error = "cannot write " + path;
  return !out.fail();
}

}  // namespace zzhost
