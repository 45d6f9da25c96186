#include "importer/TableFileSearch.h"

#include "host/AsciiCase.h"
#include "host/ClientServices.h"

namespace zz {
namespace {

// The editor's file system ignores letter case, so top.Apr and top.apr are one file there.
bool IsUsableCandidate(const std::string& candidate, const std::string& gerberFileName) {
  return !candidate.empty() && !SameIgnoringAsciiCase(candidate, gerberFileName) && client::ExistSpecific(candidate);
}

}  // namespace

std::string ChangedExtensionCandidate(const std::string& gerberFileName) {
  std::string extension = client::ExtractFileExtFromPath(gerberFileName);
  if (!extension.empty()) {
    if (extension[0] != '.') extension.insert(extension.begin(), '.');
    if (extension.size() >= 2) extension[1] = 'A';
  }
  return client::ExtractFileDirFromPath(gerberFileName) + client::ExtractFileNameFromPath(gerberFileName) + extension;
}

std::optional<std::string> FindApertureTableFile(const std::string& gerberFileName) {
  const std::string first = ChangedExtensionCandidate(gerberFileName);
  if (IsUsableCandidate(first, gerberFileName)) return first;
  const std::string second = client::ForceFileNameExtension(gerberFileName, "apr");
  if (IsUsableCandidate(second, gerberFileName)) return second;
  return std::nullopt;
}

}  // namespace zz
