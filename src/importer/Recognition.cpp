#include "importer/Recognition.h"

#include "host/ClientServices.h"
#include "host/TextFile.h"
#include "importer/ImportObserver.h"

namespace zz {
namespace {

RecognitionFailure CheckFirstLine(std::string_view firstLine) {
  std::string upper(firstLine);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  const auto lacks = [&upper](std::string_view part) { return upper.find(part) == std::string::npos; };
  RecognitionFailure check;
  check.Why =
      firstLine.empty() ? RecognitionFailure::Reason::EmptyFirstLine : RecognitionFailure::Reason::NoFormatStatement;
  check.NoStart = lacks("%FS") && lacks("%*FS");
  check.NoX = lacks("X");
  check.NoY = lacks("Y");
  check.NoEnd = lacks("*%");
  return check;
}

bool IsWhole(const RecognitionFailure& check) { return !check.NoStart && !check.NoX && !check.NoY && !check.NoEnd; }

bool TurnedDown(RecognitionFailure failure) {
  if (ImportObserver* observer = CurrentImportObserver()) observer->OnNotRecognised(failure);
  return false;
}

}  // namespace

bool IsFormatStatementLine(std::string_view firstLine) { return IsWhole(CheckFirstLine(firstLine)); }

bool IsRecognisedGerberFile(const std::string& fileName) {
  if (!client::ExistSpecific(fileName)) return TurnedDown({RecognitionFailure::Reason::NoFile});
  TextFile file;
  if (!file.Open(fileName.c_str())) return TurnedDown({RecognitionFailure::Reason::CannotOpen});
  TShortString<255> firstLine;
  file.ReadLine(firstLine);
  file.Close();
  const RecognitionFailure check = CheckFirstLine(firstLine.View());
  return IsWhole(check) || TurnedDown(check);
}

}  // namespace zz
