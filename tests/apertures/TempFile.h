#pragma once

// A file with given bytes in the temporary folder, removed when the object goes.

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace zz::testing {

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

}  // namespace zz::testing
