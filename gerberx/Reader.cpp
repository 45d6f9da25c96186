#include "gerberx/Reader.h"

#include <fstream>
#include <sstream>

namespace gerberx {

Layer ReadGerberText(std::string_view, const std::string& fileName, const Options&) {
  throw ReadError(fileName, 0, "", "the reader is not built yet");
}

Layer ReadGerberFile(const std::string& path, const Options& options) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ReadError(path, 0, "", "cannot open the file");
  std::ostringstream text;
  text << in.rdbuf();
  return ReadGerberText(text.str(), path, options);
}

}  // namespace gerberx
