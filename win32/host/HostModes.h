#pragma once

// What zz-wine-host does, one mode per file. A new mode is a Run function in a file of its own
// and a row of HostModes() that says which options select it.

#include <span>

#include "win32/host/HostOptions.h"

namespace zzhost {

struct HostMode {
  const char* Name;
  bool (*Selected)(const Options& options);
  int (*Run)(const Options& options);  // returns the exit code
};

// In order of precedence: the first mode whose Selected is true runs.
std::span<const HostMode> HostModes();

// One file: import it, report the dialogs and a summary, write the dump when asked.
int RunSingle(const Options& options);
// A list of files, each with the plug-in loaded afresh, each dump to its own file.
int RunBatch(const Options& options);
// What the editor reads of the plug-in before it imports anything.
int RunDescribe(const Options& options);
// Calls small functions that break the strict host's rules through its checks.
int RunStrictSelfTest(const Options& options);

}  // namespace zzhost
