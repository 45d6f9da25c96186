#include "cli/WriteReplacing.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "cli/ErrorPrefix.h"
#include "cli/Utf8Path.h"

namespace zzcli {

bool WriteReplacing(const std::string& target, const std::function<void(std::ostream&)>& write, std::ostream& err) {
  namespace fs = std::filesystem;
  const fs::path partial = PathFromUtf8(target + ".partial");
  std::vector<char> buffer(1 << 20);
  std::ofstream output(partial, std::ios::binary | std::ios::trunc);
  if (!output) {
    err << kTool << target << ": cannot be written\n";
    return false;
  }
  output.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  std::error_code ignored;
  try {
    write(output);
    output.close();
    if (output.fail()) {
      fs::remove(partial, ignored);
      err << kTool << target << ": cannot be written\n";
      return false;
    }
    fs::rename(partial, PathFromUtf8(target));
  } catch (...) {
    output.close();
    fs::remove(partial, ignored);
    throw;
  }
  return true;
}

}  // namespace zzcli
