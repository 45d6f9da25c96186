#include "host/ClientServices.h"

#include <memory>

namespace zz::client {
namespace {

ClientServiceTable g_services;

// The host writes into a buffer of ours; it starts zeroed and its last byte is forced to NUL
// afterwards, so a host that writes no terminator cannot make us read past the end.
class ResultBuffer {
 public:
  ResultBuffer() : chars_(new char[kResultBufferSize]()) {}
  char* Data() { return chars_.get(); }
  std::string Text() {
    chars_[kResultBufferSize - 1] = '\0';
    return std::string(chars_.get());
  }

 private:
  std::unique_ptr<char[]> chars_;
};

std::string Extract(ExtractFn service, const std::string& path) {
  if (service == nullptr) return {};
  ResultBuffer result;
  service(path.c_str(), result.Data());
  return result.Text();
}

}  // namespace

void RegisterClientServices(const ClientServiceTable& table) { g_services = table; }

bool ExistSpecific(const std::string& path) {
  return g_services.ExistSpecific != nullptr && g_services.ExistSpecific(path.c_str()) != 0;
}

std::string ExtractFileDirFromPath(const std::string& path) { return Extract(g_services.ExtractFileDirFromPath, path); }

std::string ExtractFileNameFromPath(const std::string& path) {
  return Extract(g_services.ExtractFileNameFromPath, path);
}

std::string ExtractFileExtFromPath(const std::string& path) { return Extract(g_services.ExtractFileExtFromPath, path); }

std::string ExtractWholeFileNameFromPath(const std::string& path) {
  return Extract(g_services.ExtractWholeFileNameFromPath, path);
}

std::string ForceFileNameExtension(const std::string& path, const std::string& extensionWithoutDot) {
  if (g_services.ForceFileNameExtension == nullptr) return {};
  ResultBuffer result;
  g_services.ForceFileNameExtension(path.c_str(), extensionWithoutDot.c_str(), result.Data());
  return result.Text();
}

int32_t GetFileSize(const std::string& path) {
  return g_services.GetFileSize != nullptr ? g_services.GetFileSize(path.c_str()) : -1;
}

}  // namespace zz::client
