#pragma once

// What every part of zz-wine-host shares: its exit codes, error reporting and output.

#include <string>

namespace zzhost {

constexpr int kExitImported = 0;
constexpr int kExitUsage = 2;
constexpr int kExitImportFailed = 3;
constexpr int kExitSetupFailed = 4;
constexpr int kExitStrictCheckFailed = 5;

// Writes "zz-wine-host: TEXT" to standard error and returns exitCode.
int Fail(const std::string& text, int exitCode);

// "error N" of GetLastError.
std::string LastErrorText();

// The folder of this program, with its final separator ("" when unknown).
std::string ProgramFolder();

// Writes text to path, or to standard output in binary mode when path is "-".
bool WriteText(const std::string& path, const std::string& text, std::string& error);

}  // namespace zzhost
