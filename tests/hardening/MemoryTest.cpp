// What an import holds: at most one statement of 255 characters however long the file's
// statements are, and nothing at all once it has returned, on the success and the failure path.

#include <filesystem>
#include <fstream>
#include <string>

#include "AllocationCounter.h"
#include "ImportFixture.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zz::hardening {
namespace {

constexpr std::size_t kFiftyMegabytes = 50u << 20;
// The import's own working set: the file buffer, the board wrapper, the aperture table and a
// few texts. A kept statement of 50 MB could not hide under it.
constexpr int64_t kImportMemoryBound = 1 << 20;

using MemoryCases = ImportFixture;

std::size_t OpenFileDescriptors() {
#if defined(__linux__)
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
#else
  return 0;
#endif
}

std::size_t MallocInUse() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 33)
  return mallinfo2().uordblks;
#else
  return 0;
#endif
}

TEST_F(MemoryCases, FiftyMegabyteStatementsWithoutTerminatorKeepTheImportSmall) {
  struct Case {
    const char* Name;
    std::string Start;
    char Filler;
    bool Completes;
  };
  const Case cases[] = {
      // A data statement that never meets its "*": its first 255 characters are one comment.
      {"data statement", std::string(kInchHeader) + "G04 ", 'A', true},
      // A definition that never meets its "%": the size is cut at 255 characters, still far too big.
      {"parameter statement", std::string(kInchHeader) + "%ADD10C,", '1', false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    standin::Reset();
    const std::string path = PathOf("long.gtl");
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out << c.Start;
      const std::string block(1 << 20, c.Filler);
      for (std::size_t written = 0; written < kFiftyMegabytes; written += block.size()) out << block;
      ASSERT_TRUE(out);
    }

    const int64_t before = LiveAllocatedBytes();
    ResetPeakAllocatedBytes();
    const ImportOutcome outcome = Import(path);
    const int64_t held = PeakAllocatedBytes() - before;

    EXPECT_LT(held, kImportMemoryBound);
    if (c.Completes) {
      ExpectSuccess(outcome);
    } else {
      ExpectFailure(outcome, path, {"line 3:", "%ADD10C,111"});
      EXPECT_LT(Messages().front().size(), 1000U);
    }
    EXPECT_TRUE(BoardObjects().empty());
    EXPECT_EQ(Server().Ui().Progress().Steps(), c.Start.size() - 2 + kFiftyMegabytes);
  }
}

TEST_F(MemoryCases, AThousandImportsHoldNoMoreThanTheFirst) {
  // Every kind of object, apertures from a keyed table file; and a file that stops with an error
  // after it has created objects, so that the failure path is counted as well.
  Write("board.apr",
        "Kolvex Aperture File\r\n"
        "DCode=10|Shape=Round|XSize=8mil|YSize=8mil|HoleSize=0mil|Usage=STROKEONLY\r\n"
        "DCode=11|Shape=Rectangle|XSize=50mil|YSize=30mil|HoleSize=0mil|Usage=FLASHONLY\r\n"
        "DCode=12|Shape=Octagon|XSize=1.5mm|YSize=1.5mm|HoleSize=0mm|Usage=MULTIPLE\r\n");
  const std::string good = Write("board.gtl",
                                 "%FSLAX24Y24*%\r\n%MOIN*%\r\nG75*\r\nD10*\r\nX0Y0D02*\r\nX10000Y0D01*\r\n"
                                 "G03X0Y0I-5000J0D01*\r\nG01*\r\nD11*\r\nX2000Y2000D03*\r\nX5000Y2000D01*\r\n"
                                 "D12*\r\nX8000Y2000D03*\r\nM02*\r\n");
  const std::string bad = Write("bad.gtl", "%FSLAX24Y24*%\r\n%ADD10C,0.01*%\r\nD10*\r\nX0Y0D03*\r\nD1.5*\r\n");

  const auto importBoth = [&] {
    standin::Reset();
    ASSERT_TRUE(Import(good).Result);
    ASSERT_EQ(BoardObjects().size(), 5U);  // track, arc, pad, fill, pad
    standin::Reset();
    ASSERT_FALSE(Import(bad).Result);
    ASSERT_EQ(Messages().size(), 1U);
  };
  for (int i = 0; i < 5; ++i) importBoth();
  standin::Reset();
  const int64_t liveBefore = LiveAllocatedBytes();
  const std::size_t mallocBefore = MallocInUse();
  const std::size_t filesBefore = OpenFileDescriptors();

  for (int i = 0; i < 500; ++i) importBoth();
  standin::Reset();

  // One byte lost per import would show as a thousand.
  EXPECT_LT(LiveAllocatedBytes() - liveBefore, 1000);
  EXPECT_LT(static_cast<int64_t>(MallocInUse()) - static_cast<int64_t>(mallocBefore), 64 * 1024);
  EXPECT_EQ(OpenFileDescriptors(), filesBefore);
}

// Out of memory at any point of an import, the plug-in's or the host's, binding included: no
// exception leaves the exports and the progress display is closed. (What the host does with an
// object whose store it could not finish is the host's affair.)
TEST_F(MemoryCases, AFailedAllocationAnywhereLeavesTheRunClean) {
  const std::string path = Write("board.gtl", "%FSLAX24Y24*%\r\n%MOIN*%\r\n%ADD10C,0.010*%\r\nD10*\r\nX0Y0D03*\r\n"
                                              "X10000Y0D01*\r\nM02*\r\n");
  const TShortString<255> fileName(path);
  int64_t failing = 1;
  for (;; ++failing) {
    standin::Reset();
    host::UnbindHostEntryPointsForTesting();
    FailAllocationNumber(failing);
    const bool recognised = RecognisedPCBFile(&fileName) != 0;
    const bool imported = ImportFileIntoPcb(&fileName, nullptr, 0) != 0;
    const bool failed = !AllocationFailurePending();
    FailAllocationNumber(0);
    EXPECT_FALSE(Server().Ui().Progress().IsOpen());
    EXPECT_EQ(Server().Ui().Progress().InitCount(), Server().Ui().Progress().FinishCount());
    if (!failed) {
      EXPECT_TRUE(recognised && imported);
      break;
    }
    if (HasFailure()) {
      ADD_FAILURE() << "allocation " << failing;
      break;
    }
  }
  EXPECT_GT(failing, 10);  // the loop got through the whole import
}

}  // namespace
}  // namespace zz::hardening
