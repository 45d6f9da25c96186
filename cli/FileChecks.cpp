#include "cli/FileChecks.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace zzcli {

std::optional<std::string> FileProblem(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(std::filesystem::path(path), error);
  if (!std::filesystem::exists(status)) return "the file does not exist";
  if (!std::filesystem::is_regular_file(status)) return "it is not a regular file (a folder or a device)";
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return "it cannot be opened for reading";
  std::fclose(file);
  return std::nullopt;
}

}  // namespace zzcli
