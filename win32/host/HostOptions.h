#pragma once

// zz-wine-host's command line.

#include <cstdint>
#include <optional>
#include <string>

namespace zzhost {

extern const char* const kUsage;

// How the stand-in editor is set up before each import.
struct StandInSetup {
  std::string Board = "0";  // 0, second, second-current or a handle
  std::optional<int32_t> Layer;
  bool Progress = false;
  int32_t FailEveryNthCreation = 0;  // 0: every creation succeeds
};

struct Options {
  std::string File;
  std::optional<std::string> JsonOut;
  StandInSetup StandIn;
  bool NoServer = false;
  bool LateServer = false;
  std::string PluginPath;
  std::string ServerPath;
  std::optional<std::string> BatchList;
  bool Describe = false;
  bool Strict = false;          // call the exports as a strict native editor does, and check them
  bool StrictSelfTest = false;  // show that those checks see what they are for
};

// A whole decimal number in int32_t's range.
std::optional<int32_t> ParseInt(const std::string& text);

// False with an empty error for --help, with the reason otherwise.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error);

}  // namespace zzhost
