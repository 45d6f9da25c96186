// The whole import run through the plug-in's exports, on the stand-in.
//
// Input: one mode byte, then the Gerber file; in modes with a table file, the part after the
// first "@TABLE@" line is the table file beside it.
//   mode & 3: 0 no table file, 1 as "in.Atl" (the changed extension), 2 as "in.apr", 3 both
//   mode & 4: import twice in a row; the second run inherits the units and format of the first
//
// Besides crashes, hangs and sanitizer findings, a finding is: an exception of a type not the
// plug-in's own, the progress display left open, an object missing from the board or on it
// twice, a failed import without a message (or with more than one), a message that names
// neither the file nor the missing aperture table, or a result of true for a file that is not
// recognised.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "gerber/GerberState.h"
#include "importer/ZizoZudu.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace {

using zzfuzz::Fail;

constexpr std::string_view kTableMarker = "@TABLE@\n";
constexpr std::string_view kGerberName = "in.gtl";
constexpr std::string_view kChangedExtensionName = "in.Atl";
constexpr std::string_view kAprName = "in.apr";
constexpr std::string_view kTableNotFound = "Aperture Table Not Found";

void CheckBoard(const standin::Server& server) {
  const standin::Board& board = server.Boards().CurrentBoard();
  if (board.Objects.size() != server.Objects().ObjectCount()) Fail("an object created but not added to the board");
  std::set<zz::THandle> seen;
  for (const zz::THandle handle : board.Objects) {
    if (!seen.insert(handle).second) Fail("an object on the board twice");
    if (server.OwnerBoard(handle) != board.Handle) Fail("an object owned by another board");
    const standin::CommonFields* common = server.Objects().FindCommon(handle);
    if (common == nullptr) Fail("a board object the server does not know");
    if (common->LayerId != board.CurrentLayerId) Fail("an object off the current layer");
  }
}

void ImportOnce(const std::string& path) {
  standin::Reset();
  standin::Server& server = standin::TheServer();
  const zz::TShortString<255> fileName(path);
  const zz::TShortString<255> reserved;
  const bool recognised = RecognisedPCBFile(&fileName) != 0;
  const bool result = ImportFileIntoPcb(&fileName, &reserved, 0) != 0;

  const standin::ProgressDisplay& progress = server.Ui().Progress();
  if (progress.IsOpen() || progress.InitCount() != progress.FinishCount()) Fail("progress display left open");
  if (progress.InitCount() > 1) Fail("progress display opened twice");
  if (result && !recognised) Fail("an unrecognised file imported");
  CheckBoard(server);

  const auto& messages = server.Ui().Messages();
  if (progress.InitCount() == 0) {
    // Not recognised: nothing may have happened.
    if (result || server.Objects().ObjectCount() != 0 || !messages.empty()) Fail("an unrecognised file had effects");
    return;
  }
  if (result && !messages.empty()) Fail("a successful import showed a message", messages.front());
  if (!result && messages.size() != 1) Fail("a failed import showed no message, or more than one");
  for (const std::string& message : messages) {
    if (message != kTableNotFound && message.find(path) == std::string::npos) {
      Fail("a message that does not name the file", message);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  zzfuzz::PrepareStandin();
  zzfuzz::CheckEveryThrow();

  zzfuzz::ByteReader reader(data, size);
  const uint8_t mode = reader.Byte();
  std::string_view gerber = reader.Rest();
  std::string_view table;
  if (const std::size_t marker = gerber.find(kTableMarker); marker != std::string_view::npos) {
    table = gerber.substr(marker + kTableMarker.size());
    gerber = gerber.substr(0, marker);
  }

  zzfuzz::RemoveWorkFile(kChangedExtensionName);
  zzfuzz::RemoveWorkFile(kAprName);
  if ((mode & 1) != 0) zzfuzz::WriteWorkFile(kChangedExtensionName, table);
  if ((mode & 2) != 0) zzfuzz::WriteWorkFile(kAprName, table);
  const std::string path = zzfuzz::WriteWorkFile(kGerberName, gerber);

  // Each input starts from the state of a freshly loaded library, so that a finding replays.
  zz::GerberState = zz::TGerberState{};
  ImportOnce(path);
  if ((mode & 4) != 0) ImportOnce(path);
  return 0;
}
