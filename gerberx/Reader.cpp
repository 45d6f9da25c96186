#include "gerberx/Reader.h"

#include <fstream>
#include <sstream>

#include "gerberx/Interpreter.h"

namespace gerberx {

Layer ReadGerberText(std::string_view text, const std::string& fileName, const Options& options) {
  Interpreter interpreter(fileName, options);
  return interpreter.Run(text);
}

Layer ReadGerberFile(const std::string& path, const Options& options) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ReadError(path, 0, "", "cannot open the file");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw ReadError(path, 0, "", "cannot read the file");
  return ReadGerberText(text.str(), path, options);
}

}  // namespace gerberx
