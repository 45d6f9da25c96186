// `zizozudu convert` on drill files: where the converted file goes, what the summary says, and
// that a bad file leaves nothing behind but its error.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "ToolRun.h"
#include "cli/ConvertCommand.h"
#include "gerberx/Reader.h"

namespace zzcli {
namespace {

namespace fs = std::filesystem;

class DrillConversion : public test::TempFolder {
 protected:
  int Run(const ConvertCommand& command) {
    out_.str("");
    err_.str("");
    return RunConvert(command, {}, out_, err_);
  }

  std::ostringstream out_, err_;
};

constexpr const char* kDrill =
    "M48\n; #@! TF.FileFunction,Plated,1,2,PTH\nMETRIC,TZ\nT1C0.8\nT2C1.2\n%\nT1\nX1.0Y1.0\nR1X2.0\n"
    "T2\nX0Y5.0G85X4.0Y5.0\nM30\n";

TEST_F(DrillConversion, ConvertsHolesToPadsUnderAGd1Name) {
  const std::string drill = Write("board.drl", kDrill);
  struct Row {
    const char* Output;  // -o
    bool OutDir;
    std::string Expected;
  };
  const Row rows[] = {
      {nullptr, false, (dir_ / "board.converted.gd1").string()},
      {nullptr, true, (dir_ / "out" / "board.gd1").string()},
      {"given.gbr", false, (dir_ / "given.gbr").string()},
  };
  for (const Row& row : rows) {
    ConvertCommand command;
    command.Files = {drill};
    if (row.Output) command.Output = (dir_ / row.Output).string();
    if (row.OutDir) command.OutputDir = (dir_ / "out").string();
    SCOPED_TRACE(row.Expected);
    EXPECT_EQ(TargetOfFile(command, OutputPlaceOf(command, drill, false), drill, kDrillLayer).Path, row.Expected);
    ASSERT_EQ(Run(command), 0) << err_.str();
    EXPECT_NE(out_.str().find(drill + " -> " + row.Expected), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("drill:       holes: 0.800 mm x 2; slots: 1.200 mm x 1"), std::string::npos)
        << out_.str();
    EXPECT_NE(out_.str().find("plating:     plated"), std::string::npos) << out_.str();
    // What the importer gets: the holes as flashes of their diameter where they are, the slot a stroke.
    const gerberx::Layer layer = gerberx::ReadGerberFile(row.Expected);
    EXPECT_EQ(layer.counts.flashes, 2);
    EXPECT_EQ(layer.counts.strokes, 1);
    ASSERT_FALSE(layer.objects.empty());
    EXPECT_EQ(layer.objects[0].end.x, 393701);  // 1 mm
    EXPECT_EQ(layer.objects[1].end.x, 3 * 393701);
    EXPECT_EQ(layer.objects[0].aperture.xSize, 314961);  // 0.8 mm
  }
}

TEST_F(DrillConversion, ABadFileFailsWithItsLineAndLeavesNoFile) {
  const std::string drill = Write("bad.drl", "M48\nMETRIC\nT1C0.8\n%\nT1\nX1.0Y1.0\nX1.2.3\n");
  ConvertCommand command;
  command.Files = {drill};
  command.OutputDir = (dir_ / "out").string();
  EXPECT_EQ(Run(command), 1);
  EXPECT_NE(err_.str().find(drill + ":7: a malformed number after X in 'X1.2.3'"), std::string::npos) << err_.str();
  EXPECT_TRUE(fs::is_empty(dir_ / "out"));
}

TEST_F(DrillConversion, TheFileItselfIsNeverOverwritten) {
  const std::string drill = Write("board.gd1", kDrill);
  ConvertCommand command;
  command.Files = {drill};
  command.OutputDir = dir_.string();
  EXPECT_EQ(Run(command), 1);
  EXPECT_NE(err_.str().find("would overwrite the input"), std::string::npos) << err_.str();
  EXPECT_EQ(Read(drill), kDrill);
}

}  // namespace
}  // namespace zzcli
