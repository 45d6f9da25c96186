#include "cli/ImportDump.h"

#include "standin/BoardJson.h"

namespace zzcli {
namespace {

const char* Bool(bool value) { return value ? "true" : "false"; }

std::string Ignored(const IgnoredCounts& ignored) {
  std::string out = ",\"ignored\":{";
  bool first = true;
  for (const auto& [kind, count] : ignored) {
    out += (first ? "" : ",") + standin::JsonString(kind) + ':' + std::to_string(count);
    first = false;
  }
  return out + '}';
}

}  // namespace

std::string DumpMembers(const std::optional<IgnoredCounts>& ignored, const std::optional<std::string>& leftOut,
                        const std::vector<ImportedFile>& files) {
  std::string out = ignored ? Ignored(*ignored) : "";
  if (leftOut) out += ",\"left_out\":" + *leftOut;
  if (files.empty()) return out;
  out += ",\"files\":[";
  bool first = true;
  for (const ImportedFile& file : files) {
    out += std::string(first ? "\n" : ",\n") + "{\"file\":" + standin::JsonString(file.File) +
           ",\"layer\":" + std::to_string(file.Layer) + ",\"recognised\":" + Bool(file.Recognised) +
           ",\"result\":" + Bool(file.Result) + ",\"messages\":" + standin::JsonStrings(file.Messages) +
           ",\"objects\":" + std::to_string(file.Objects);
    if (file.Ignored) out += Ignored(*file.Ignored);
    if (file.LeftOut) out += ",\"left_out\":" + *file.LeftOut;
    out += '}';
    first = false;
  }
  return out + (first ? "]" : "\n]");
}

}  // namespace zzcli
