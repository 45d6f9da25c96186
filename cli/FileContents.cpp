#include "cli/FileContents.h"

#include <fstream>
#include <sstream>

#include "cli/Utf8Path.h"

namespace zzcli {

std::string ReadHead(const std::string& path, std::size_t bytes) {
  std::string head(bytes, '\0');
  std::ifstream file(PathFromUtf8(path), std::ios::binary);
  file.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(file.gcount()));
  return head;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return std::move(text).str();
}

}  // namespace zzcli
