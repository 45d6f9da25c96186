#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "cli/Platform.h"
#include "cli/PluginFileNames.h"

namespace zzcli::platform {
namespace {

std::wstring Wide(const std::string& utf8, UINT codePage) {
  if (utf8.empty()) return {};
  const int size = MultiByteToWideChar(codePage, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(codePage, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage, bool* lost) {
  if (wide.empty()) return {};
  BOOL usedDefault = FALSE;
  // Best-fit mapping would hand the importer the name of another file ("ä" as "a").
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL* used = codePage == CP_UTF8 ? nullptr : &usedDefault;
  const int size =
      WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, used);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, used);
  }
  if (lost != nullptr) *lost = usedDefault != FALSE;
  return text;
}

bool IsConsole(DWORD handleId) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(handleId), &mode) != FALSE;
}

UINT g_savedOutputCodePage = 0;

void RestoreConsole() {
  if (g_savedOutputCodePage != 0) SetConsoleOutputCP(g_savedOutputCodePage);
}

}  // namespace

void PrepareConsole() {
  // Into a file or a pipe the same bytes as on Linux: a JSON dump on standard output stays the dump.
  if (!IsConsole(STD_OUTPUT_HANDLE)) _setmode(_fileno(stdout), _O_BINARY);
  if (!IsConsole(STD_ERROR_HANDLE)) _setmode(_fileno(stderr), _O_BINARY);
  if (!IsConsole(STD_OUTPUT_HANDLE) && !IsConsole(STD_ERROR_HANDLE)) return;
  g_savedOutputCodePage = GetConsoleOutputCP();
  if (SetConsoleOutputCP(CP_UTF8) != FALSE) std::atexit(RestoreConsole);
}

bool ProgressWanted() { return IsConsole(STD_ERROR_HANDLE); }

bool OwnsConsole() {
  if (!IsConsole(STD_INPUT_HANDLE)) return false;
  // Started from a command prompt, the prompt shares the console; alone, the tool is its only process.
  DWORD processes[2];
  return GetConsoleProcessList(processes, 2) == 1;
}

void WaitForKey(std::ostream& out) {
  out << "\nPress any key to close this window\n";
  out.flush();
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  FlushConsoleInputBuffer(input);
  INPUT_RECORD record;
  DWORD read = 0;
  while (ReadConsoleInputW(input, &record, 1, &read) != FALSE && read == 1) {
    if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown != FALSE) return;
  }
}

PluginFileName ToPluginFileName(const std::string& path) {
  bool lost = false;
  std::string bytes = Narrow(Wide(path, CP_UTF8), CP_ACP, &lost);
  if (lost) {
    return CheckedPluginFileName(
        "", "the editor cannot hand this path to the importer: it holds characters outside the system code page (" +
                std::to_string(GetACP()) + "); rename the file or its folder");
  }
  return CheckedPluginFileName(std::move(bytes), "");
}

std::string FromPluginText(const std::string& text) { return Narrow(Wide(text, CP_ACP), CP_UTF8, nullptr); }

}  // namespace zzcli::platform
