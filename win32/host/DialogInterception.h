#pragma once

// Keeps the plug-in's message dialogs off the screen: the host program has no display, and a
// modal dialog there would hang the test. The plug-in's import of USER32!MessageBoxA is pointed at
// a function of ours that records the message and answers OK, as a user would.

#include <windows.h>

#include <string>
#include <vector>

namespace zzhost {

struct InterceptedDialog {
  std::string Caption;
  std::string Text;
  unsigned Style = 0;
};

using DialogRecorder = void (*)(const InterceptedDialog& dialog);

// Points every MessageBoxA import of the module at the recorder. False when the module shows
// dialogs some other way that is not intercepted (another MessageBox* import), or its import table
// cannot be read: the caller must not run it then.
bool InterceptDialogs(HMODULE module, DialogRecorder recorder, std::string& error);

// Every dialog intercepted so far, in order.
const std::vector<InterceptedDialog>& InterceptedDialogs();

}  // namespace zzhost
