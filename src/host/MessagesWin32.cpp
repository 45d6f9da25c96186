#include <windows.h>

#include <string>

#include "host/Messages.h"
#include "host/MessagesNative.h"

namespace zz::platform {
namespace {

UINT IconStyle(DialogType type) {
  switch (type) {
    case DialogType::Warning:
      return MB_ICONWARNING;
    case DialogType::Information:
      return MB_ICONINFORMATION;
    case DialogType::Confirmation:
      return MB_ICONQUESTION;
    case DialogType::Error:
      break;
  }
  return MB_ICONERROR;
}

UINT ButtonStyle(DialogButtons buttons) {
  switch (buttons) {
    case DialogButtons::OkCancel:
      return MB_OKCANCEL;
    case DialogButtons::YesNo:
      return MB_YESNO;
    case DialogButtons::Ok:
      break;
  }
  return MB_OK;
}

}  // namespace

// A message box without an owner window is centred on the screen by the system. Its result
// (IDOK, IDCANCEL, IDYES, IDNO) has the values of the host's modal results.
int32_t ShowPlatformDialog(std::string_view caption, std::string_view message, DialogType type, DialogButtons buttons) {
  const std::string text(message);
  const std::string title(caption);
  const UINT style = IconStyle(type) | ButtonStyle(buttons) | MB_TASKMODAL | MB_SETFOREGROUND;
  return MessageBoxA(nullptr, text.c_str(), title.c_str(), style);
}

namespace detail {

bool TestModeKeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Ferlux\\TestMode", 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

}  // namespace detail
}  // namespace zz::platform
