#pragma once

// Helpers of the aperture and Gerber tests: a temporary file with given bytes, and the five
// fields the aperture table answers for a D-code.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>
#include <string_view>

#include "apertures/ApertureFile.h"

namespace zz::testing {

// Removed when the object goes.
class TempFile {
 public:
  explicit TempFile(std::string_view bytes, std::string_view extension = ".tmp") {
    // CTest runs every test in a process of its own: the counter alone is not unique.
    static const unsigned processTag = std::random_device{}();
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("zz_test_" + std::to_string(processTag) + "_" + std::to_string(counter++) + std::string(extension));
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }

  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

struct Fields {
  int32_t XSize, YSize, HoleSize;
  uint8_t Shape, Usage;
  bool operator==(const Fields&) const = default;
};

inline void PrintTo(const Fields& a, std::ostream* os) {
  *os << "{" << a.XSize << ", " << a.YSize << ", " << a.HoleSize << ", shape " << int(a.Shape) << ", usage "
      << int(a.Usage) << "}";
}

inline Fields Get(const TApertureFile& table, int32_t dcode) {
  Fields f{1, 1, 1, 9, 9};
  table.GetAperture(dcode, f.XSize, f.YSize, f.HoleSize, f.Shape, f.Usage);
  return f;
}

}  // namespace zz::testing
