#pragma once

// Zizozudu.dll, loaded and unloaded as the editor does, and the calls of its three exports.

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "host/CallConv.h"
#include "host/ShortString.h"
#include "win32/host/HostOptions.h"

namespace zzhost {

using TFileName = zz::TShortString<255>;
using DescriptionFn = const char*(ZZ_WINAPI*)();
using RecognisedFn = uint8_t(ZZ_WINAPI*)(const TFileName* fileName);
using ImportFn = uint8_t(ZZ_WINAPI*)(const TFileName* fileName, const TFileName* reserved, int32_t boardHandle);

class Plugin {
 public:
  // Loads the plug-in and has the dialogs it shows recorded as stand-in messages.
  bool Load(const std::string& path, std::string& error);
  // Unloads the plug-in completely, so that the next Load starts from a fresh image.
  bool Unload(std::string& error);

  HMODULE Module() const { return module_; }
  DescriptionFn Description = nullptr;
  RecognisedFn Recognised = nullptr;
  ImportFn Import = nullptr;

 private:
  void* Entry(const char* name) const;
  HMODULE module_ = nullptr;
};

// How the host calls an export. Every call of the plug-in goes through one of these, so a host that
// checks what a call leaves behind (the FPU control word, the stack, the callee-saved registers)
// is another implementation chosen in ExportCallerFor.
class ExportCaller {
 public:
  virtual ~ExportCaller() = default;
  virtual const char* Description(DescriptionFn fn) const = 0;
  virtual uint8_t Recognised(RecognisedFn fn, const TFileName* fileName) const = 0;
  virtual uint8_t Import(ImportFn fn, const TFileName* fileName, const TFileName* reserved,
                         int32_t boardHandle) const = 0;
  // Writes what the caller checked, if anything; false when a call broke a rule.
  virtual bool Report(std::ostream& /*out*/) const { return true; }
};

// The caller the options ask for: plain calls, or with --strict the checked calls of a strict
// native editor (StrictCall.h).
const ExportCaller& ExportCallerFor(const Options& options);

struct Outcome {
  bool Recognised = false;
  bool Result = false;
};

// The editor's sequence: ask whether the file is ours, then import it.
Outcome RunImport(const Plugin& plugin, const ExportCaller& caller, const std::string& file, int32_t boardHandle);

}  // namespace zzhost
