#include "importer/Recognition.h"

#include "host/ClientServices.h"
#include "host/TextFile.h"

namespace zz {

bool IsFormatStatementLine(std::string_view firstLine) {
  std::string upper(firstLine);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  const auto has = [&upper](std::string_view part) { return upper.find(part) != std::string::npos; };
  return (has("%FS") || has("%*FS")) && has("X") && has("Y") && has("*%");
}

bool IsRecognisedGerberFile(const std::string& fileName) {
  if (!client::ExistSpecific(fileName)) return false;
  TextFile file;
  if (!file.Open(fileName.c_str())) return false;
  TShortString<255> firstLine;
  file.ReadLine(firstLine);
  file.Close();
  return IsFormatStatementLine(firstLine.View());
}

}  // namespace zz
