#include "standin/Registration.h"

#include "host/ClientServices.h"
#include "host/Messages.h"
#include "host/ModuleLookup.h"
#include "standin/ClientFiles.h"
#include "standin/PcbServer.h"
#include "standin/Server.h"

namespace standin {
namespace {

constexpr const char* kModuleName = "ZetPcb.dll";

// The resolver has no context of its own, so the options it honours live here.
std::set<std::string>& AbsentEntries() {
  static std::set<std::string> names;
  return names;
}

int32_t CollectMessage(void* context, std::string_view /*caption*/, std::string_view message) {
  try {
    static_cast<Server*>(context)->Ui().Messages().emplace_back(message);
  } catch (...) {
    // A message lost for want of memory must not take the import down with it.
  }
  return zz::kModalResultOk;
}

}  // namespace

void* ResolveEntry(const char* name) {
  if (name == nullptr || AbsentEntries().count(name) != 0) return nullptr;
  return PcbServerEntry(name);
}

void Register(const Options& options) {
  AbsentEntries() = options.AbsentEntries;
  zz::platform::RegisterSubstituteModule(kModuleName, options.ModuleAbsent ? nullptr : &ResolveEntry);

  zz::client::ClientServiceTable table = ClientFileServices();
  const auto& absent = options.AbsentClientServices;
  if (absent.count("ClientAPI_ExistSpecific") != 0) table.ExistSpecific = nullptr;
  if (absent.count("ClientAPI_ExtractFileDirFromPath") != 0) table.ExtractFileDirFromPath = nullptr;
  if (absent.count("ClientAPI_ExtractFileNameFromPath") != 0) table.ExtractFileNameFromPath = nullptr;
  if (absent.count("ClientAPI_ExtractFileExtFromPath") != 0) table.ExtractFileExtFromPath = nullptr;
  if (absent.count("ClientAPI_ExtractWholeFileNameFromPath") != 0) table.ExtractWholeFileNameFromPath = nullptr;
  if (absent.count("ClientAPI_ForceFileNameExtension") != 0) table.ForceFileNameExtension = nullptr;
  if (absent.count("ClientAPI_GetFileSize") != 0) table.GetFileSize = nullptr;
  zz::client::RegisterClientServices(table);

  if (options.CollectMessages) {
    zz::platform::SetMessageSink(&CollectMessage, &TheServer());
  } else {
    zz::platform::SetMessageSink(nullptr, nullptr);
  }
  TheServer().Ui().Progress().SetOutput(options.Progress, nullptr);
}

void Unregister() {
  zz::platform::RegisterSubstituteModule(kModuleName, nullptr);
  zz::client::RegisterClientServices(zz::client::ClientServiceTable{});
  zz::platform::SetMessageSink(nullptr, nullptr);
  AbsentEntries().clear();
}

void Reset() { TheServer().Reset(); }

}  // namespace standin
