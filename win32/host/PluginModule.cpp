#include "win32/host/PluginModule.h"

#include <initializer_list>
#include <iostream>

#include "win32/host/DialogInterception.h"
#include "win32/host/HostProgram.h"
#include "win32/host/StandInModule.h"
#include "win32/host/StrictCall.h"

namespace zzhost {
namespace {

// Messages the plug-in showed go where the editor's test harness would see them: the stand-in.
void RecordDialog(const InterceptedDialog& dialog) {
  if (TheStandIn().Loaded()) TheStandIn().AddMessage(dialog.Text.c_str());
}

class DirectExportCaller final : public ExportCaller {
 public:
  const char* Description(DescriptionFn fn) const override { return fn(); }
  uint8_t Recognised(RecognisedFn fn, const TFileName* fileName) const override { return fn(fileName); }
  uint8_t Import(ImportFn fn, const TFileName* fileName, const TFileName* reserved,
                 int32_t boardHandle) const override {
    return fn(fileName, reserved, boardHandle);
  }
};

// Every call under the strict modes, checked for what it leaves behind. The figures add up over
// the process; a break is told as it happens, with the export's name.
class StrictExportCaller final : public ExportCaller {
 public:
  const char* Description(DescriptionFn fn) const override {
    return reinterpret_cast<const char*>(
        static_cast<uintptr_t>(Call("GetPcbImporterDescription", reinterpret_cast<const void*>(fn), {})));
  }
  uint8_t Recognised(RecognisedFn fn, const TFileName* fileName) const override {
    return static_cast<uint8_t>(Call("RecognisedPCBFile", reinterpret_cast<const void*>(fn), {Word(fileName)}));
  }
  uint8_t Import(ImportFn fn, const TFileName* fileName, const TFileName* reserved,
                 int32_t boardHandle) const override {
    return static_cast<uint8_t>(Call("ImportFileIntoPcb", reinterpret_cast<const void*>(fn),
                                     {Word(fileName), Word(reserved), static_cast<uint32_t>(boardHandle)}));
  }
  bool Report(std::ostream& out) const override {
    out << "zz-wine-host: strict calls=" << calls_ << " control_word_changes=" << controlWordChanges_
        << " register_changes=" << registerChanges_ << '\n';
    return controlWordChanges_ == 0 && registerChanges_ == 0;
  }

 private:
  static uint32_t Word(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

  uint32_t Call(const char* name, const void* fn, std::initializer_list<uint32_t> args) const {
    StrictCallRecord record;
    StrictCall(fn, args.begin(), static_cast<uint32_t>(args.size()), record);
    ++calls_;
    if (ControlWordChanged(record)) {
      ++controlWordChanges_;
      std::cerr << "zz-wine-host: strict: " << name << " left the control word " << std::hex << record.ControlOut
                << " (was " << record.ControlIn << ")" << std::dec << '\n';
    }
    if (RegistersChanged(record)) {
      ++registerChanges_;
      std::cerr << "zz-wine-host: strict: " << name << " broke the stack pointer (" << record.EspDelta
                << ") or a callee-saved register\n";
    }
    return record.Result;
  }

  mutable long calls_ = 0;
  mutable long controlWordChanges_ = 0;
  mutable long registerChanges_ = 0;
};

}  // namespace

bool Plugin::Load(const std::string& path, std::string& error) {
  module_ = LoadLibraryA(path.c_str());
  if (module_ == nullptr) {
    error = "cannot load " + path + " (" + LastErrorText() + ")";
    return false;
  }
  if (!InterceptDialogs(module_, &RecordDialog, error)) {
    error = path + ": " + error;
    return false;
  }
  Description = reinterpret_cast<DescriptionFn>(Entry("GetPcbImporterDescription"));
  Recognised = reinterpret_cast<RecognisedFn>(Entry("RecognisedPCBFile"));
  Import = reinterpret_cast<ImportFn>(Entry("ImportFileIntoPcb"));
  if (Description == nullptr || Recognised == nullptr || Import == nullptr) {
    error = path + " lacks one of GetPcbImporterDescription, RecognisedPCBFile, ImportFileIntoPcb";
    return false;
  }
  return true;
}

bool Plugin::Unload(std::string& error) {
  char name[MAX_PATH] = {};
  GetModuleFileNameA(module_, name, MAX_PATH);
  if (FreeLibrary(module_) == 0) {
    error = "FreeLibrary failed (" + LastErrorText() + ")";
    return false;
  }
  module_ = nullptr;
  if (GetModuleHandleA(name) != nullptr) {
    error = std::string(name) + " is still loaded after FreeLibrary";
    return false;
  }
  return true;
}

void* Plugin::Entry(const char* name) const { return reinterpret_cast<void*>(GetProcAddress(module_, name)); }

const ExportCaller& ExportCallerFor(const Options& options) {
  static const DirectExportCaller direct;
  static const StrictExportCaller strict;
  if (options.Strict) return strict;
  return direct;
}

Outcome RunImport(const Plugin& plugin, const ExportCaller& caller, const std::string& file, int32_t boardHandle) {
  const TFileName fileName(file);
  const TFileName reserved;
  Outcome outcome;
  outcome.Recognised = caller.Recognised(plugin.Recognised, &fileName) != 0;
  outcome.Result = caller.Import(plugin.Import, &fileName, &reserved, boardHandle) != 0;
  return outcome;
}

}  // namespace zzhost
