#pragma once

// The files of a .zip archive, as CAD programs and board houses hand out a fabrication package:
// the central directory read here, each entry stored or deflated (zlib inflates it). Every
// limit is checked before a byte is written: entry count, total size, compression ratio, and
// names that would leave the folder they are extracted into.

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zzcli {

struct ZipLimits {
  std::size_t MaxEntries = 10000;
  uint64_t MaxTotalBytes = uint64_t{2} << 30;  // all entries, uncompressed
  // Uncompressed bytes per compressed byte, per entry: Gerber and drill text packs 5 to 30 times;
  // deflate reaches 1032 only on bombs.
  uint64_t MaxRatio = 200;
};

// A fault of the archive or a limit it breaks, in plain words naming the archive (and the entry).
class ZipError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Whether a file is a zip archive: its extension, or the signature its first bytes carry.
bool LooksLikeZip(std::string_view fileName, std::string_view head);

// Writes every file of the archive under `folder` (which exists), keeping the archive's
// folders, and returns their paths relative to `folder` (UTF-8, "/" between parts) in the
// archive's order. Throws ZipError; what was written before stays, for the caller to remove.
std::vector<std::string> ExtractZip(const std::filesystem::path& archive, const std::filesystem::path& folder,
                                    const ZipLimits& limits = {});

// A fresh folder under the system's temporary folder, removed with all it holds at the end of
// its scope.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace zzcli
