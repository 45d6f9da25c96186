#include "host/Messages.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/MessagesNative.h"

namespace zz::platform {
namespace {

enum class TestModeSwitch : uint8_t { FromPlatform, On, Off };

MessageSink g_sink = nullptr;
void* g_sinkContext = nullptr;
TestModeSwitch g_testMode = TestModeSwitch::FromPlatform;

}  // namespace

void SetMessageSink(MessageSink sink, void* context) {
  g_sink = sink;
  g_sinkContext = context;
}

bool IsTestMode() {
  switch (g_testMode) {
    case TestModeSwitch::On:
      return true;
    case TestModeSwitch::Off:
      return false;
    case TestModeSwitch::FromPlatform:
      break;
  }
  return detail::TestModeKeyExists();
}

void SetTestModeOverride(bool enabled) { g_testMode = enabled ? TestModeSwitch::On : TestModeSwitch::Off; }

void ClearTestModeOverride() { g_testMode = TestModeSwitch::FromPlatform; }

}  // namespace zz::platform

namespace zz {
namespace {

// The host's test harness reads this line and the exit code. _Exit ends the process at once:
// no destructor or exit handler of the host gets to run after the message.
[[noreturn]] void ReportTestModeDialogAndExit(std::string_view caption, std::string_view message) {
  std::string line = "ShowDialogWithCaption with";
  line.append(caption);
  line.push_back(' ');
  line.append(message);
  line.push_back('\n');
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
  std::_Exit(1);
}

}  // namespace

int32_t ShowDialogWithCaption(std::string_view caption, std::string_view message, DialogType type,
                              DialogButtons buttons) {
  if (platform::IsTestMode()) ReportTestModeDialogAndExit(caption, message);
  if (platform::g_sink != nullptr) return platform::g_sink(platform::g_sinkContext, caption, message);
  return platform::ShowPlatformDialog(caption, message, type, buttons);
}

int32_t ShowErrorMessage(std::string_view message, const char* caption) {
  return ShowDialogWithCaption(caption != nullptr ? caption : "Error", message, DialogType::Error, DialogButtons::Ok);
}

}  // namespace zz
