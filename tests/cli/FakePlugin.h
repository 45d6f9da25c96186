#pragma once

// An importer stand-in for the tool's tests: it talks to the stand-in through the same entry
// points as the real importer, but its behaviour is set by each test.

#include <optional>
#include <string>
#include <vector>

#include "cli/Tool.h"

namespace zzcli::test {

struct FakeBehaviour {
  bool Recognise = true;
  bool Result = true;
  int Tracks = 1;       // tracks from (0,0) to (1 in, 0), 10 mil wide, on the current layer
  std::string Message;  // shown through the error message routine when not empty
  bool Throw = false;   // the import ends with an exception
  int ImportCalls = 0;  // how often the import ran
  std::string LastFileName;
  // Told to the observer, when one is set: why the file is turned down, the table file found,
  // what the import ignored.
  zz::RecognitionFailure Failure{zz::RecognitionFailure::Reason::NoFormatStatement, true, true, true, true};
  std::optional<std::string> TableFile;
  std::vector<zz::IgnoredKind> Ignored;
  int32_t ObjectsNotCreated = 0;  // told at the run's end
  bool ImportObserved = false;  // an observer was set while the import ran
};

// The behaviour the fake exports follow; reset by each test.
FakeBehaviour& Fake();

Plugin FakePlugin();

}  // namespace zzcli::test
