#include <dirent.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>

#include "host/AsciiCase.h"
#include "host/FileNames.h"

namespace zz::platform {
namespace {

namespace fs = std::filesystem;

// The entry of `folder` named `name` without regard to letter case; the first in byte order
// when several are, so the answer does not depend on the order the folder lists them in.
// The folder is listed with POSIX calls (this side never builds for Windows): the library's
// directory iterator ends the process when an allocation inside it fails.
std::optional<std::string> MatchInFolder(const fs::path& folder, const std::string& name) {
  const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.empty() ? "." : folder.c_str()), &::closedir);
  if (!listing) return std::nullopt;
  std::optional<std::string> match;
  while (const dirent* entry = ::readdir(listing.get())) {
    const std::string_view entryName(entry->d_name);
    if (SameIgnoringAsciiCase(entryName, name) && (!match || entryName < *match)) match = std::string(entryName);
  }
  return match;
}

}  // namespace

std::string WindowsFileName(const char* path) {
  std::string text = path != nullptr ? std::string(path) : std::string();
  // Windows drops the trailing dots and blanks of the last part: "top.gtl." and "top.gtl " are
  // "top.gtl". A last part of only dots ("." or "..") stays what it is.
  const std::size_t lastPart = text.rfind('/') == std::string::npos ? 0 : text.rfind('/') + 1;
  if (text.find_first_not_of('.', lastPart) != std::string::npos) {
    while (text.size() > lastPart && (text.back() == '.' || text.back() == ' ')) text.pop_back();
  }
  try {
    std::error_code error;
    if (text.empty() || fs::exists(fs::path(text), error)) return text;
    fs::path found;
    for (const fs::path& part : fs::path(text)) {
      const fs::path next = found / part;
      if (part.has_root_directory() || part == "." || part == ".." || fs::exists(next, error)) {
        found = next;
        continue;
      }
      const std::optional<std::string> match = MatchInFolder(found, part.string());
      if (!match) return text;
      found /= *match;
    }
    return found.string();
  } catch (...) {
    return text;  // a name the library cannot hold as a path is looked up as it is
  }
}

}  // namespace zz::platform
