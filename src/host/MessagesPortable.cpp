#include <cstdio>

#include "host/Messages.h"
#include "host/MessagesNative.h"

namespace zz::platform {
namespace {

constexpr int32_t kModalResultYes = 6;

void WriteToStandardError(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); }

}  // namespace

// No dialog without Windows: one line on standard error, answered with the default button.
int32_t ShowPlatformDialog(std::string_view caption, std::string_view message, DialogType, DialogButtons buttons) {
  WriteToStandardError(caption);
  WriteToStandardError(": ");
  WriteToStandardError(message);
  WriteToStandardError("\n");
  std::fflush(stderr);
  return buttons == DialogButtons::YesNo ? kModalResultYes : kModalResultOk;
}

namespace detail {

// The test-mode switch is a Windows registry key; elsewhere only the override sets test mode.
bool TestModeKeyExists() { return false; }

}  // namespace detail
}  // namespace zz::platform
