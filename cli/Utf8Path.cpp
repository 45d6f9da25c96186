#include "cli/Utf8Path.h"

#include <system_error>

namespace zzcli {

std::filesystem::path PathFromUtf8(const std::string& text) {
  std::filesystem::path path(std::u8string(text.begin(), text.end()));
#if defined(_WIN32)
  // Beyond MAX_PATH the wide file functions want the absolute path with the long-path prefix.
  constexpr std::size_t kMaxPath = 260;
  if (path.native().size() >= kMaxPath - 12 && !path.native().starts_with(L"\\\\?\\")) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (!error) {
      absolute.make_preferred();
      const std::wstring& native = absolute.native();
      if (native.starts_with(L"\\\\")) return std::filesystem::path(L"\\\\?\\UNC\\" + native.substr(2));
      return std::filesystem::path(L"\\\\?\\" + native);
    }
  }
#endif
  return path;
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string FileNameOf(const std::string& path) {
  return Utf8FromPath(std::filesystem::path(std::u8string(path.begin(), path.end())).filename());
}

}  // namespace zzcli
