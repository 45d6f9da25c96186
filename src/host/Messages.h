#pragma once

// The error message routine. In the host's test mode the dialog is replaced by one line on
// standard output and the process ends with exit code 1.

#include <cstdint>
#include <string_view>

namespace zz {

enum class DialogType : uint8_t { Warning, Error, Information, Confirmation };
enum class DialogButtons : uint8_t { Ok, OkCancel, YesNo };

constexpr int32_t kModalResultOk = 1;

int32_t ShowDialogWithCaption(std::string_view caption, std::string_view message, DialogType type,
                              DialogButtons buttons);
// Caption "Error" when none is given; error type, one OK button.
int32_t ShowErrorMessage(std::string_view message, const char* caption = nullptr);

}  // namespace zz

namespace zz::platform {

// Where a dialog goes instead of the platform's message box: the Linux tool, tests.
using MessageSink = int32_t (*)(void* context, std::string_view caption, std::string_view message);
void SetMessageSink(MessageSink sink, void* context);

// The platform's modal message box (Windows), or one line on standard error (elsewhere).
int32_t ShowPlatformDialog(std::string_view caption, std::string_view message, DialogType type, DialogButtons buttons);

// Whether the host runs in test mode: the registry key HKLM "\Software\Ferlux\TestMode" can be
// opened (Windows; never created), or the switch below was set (any platform).
bool IsTestMode();
void SetTestModeOverride(bool enabled);
void ClearTestModeOverride();

}  // namespace zz::platform
