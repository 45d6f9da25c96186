// Generated files through the plug-in's exports into the stand-in: what the benchmarks and the
// end-to-end tests rely on.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gen/GerberGenerator.h"
#include "gerber/GerberState.h"
#include "host/HostBinding.h"
#include "importer/ZizoZudu.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace zzbench {
namespace {

class GeneratedImport : public ::testing::Test {
 protected:
  void SetUp() override {
    zz::GerberState = zz::TGerberState{};
    zz::host::UnbindHostEntryPointsForTesting();
    standin::Reset();
    standin::Options options;
    options.Progress = standin::ProgressDisplay::Mode::Never;
    standin::Register(options);
    dir_ = std::filesystem::temp_directory_path() /
           ("zz-generated-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    standin::Unregister();
    zz::host::UnbindHostEntryPointsForTesting();
    std::filesystem::remove_all(dir_);
  }

  bool Import(const std::filesystem::path& path) {
    standin::Reset();
    const zz::TShortString<255> name(path.string());
    const zz::TShortString<255> reserved;
    return RecognisedPCBFile(&name) != 0 && ImportFileIntoPcb(&name, &reserved, 0) != 0;
  }
  std::size_t Count(zz::TObjectKind kind) {
    std::size_t n = 0;
    for (const zz::THandle h : standin::TheServer().Boards().CurrentBoard().Objects)
      n += standin::TheServer().Objects().KindOf(h) == kind;
    return n;
  }
  const std::vector<std::string>& Messages() { return standin::TheServer().Ui().Messages(); }

  std::filesystem::path dir_;
};

TEST_F(GeneratedImport, ALargeFileBecomesExactlyTheCountedPrimitives) {
  const std::filesystem::path path = dir_ / "large.gbr";
  std::ofstream out(path, std::ios::binary);
  const LargeFileStats stats = WriteLargeFile(out, 21, 400000);
  out.close();
  ASSERT_TRUE(Import(path));
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Count(zz::TObjectKind::Track), stats.Tracks);
  EXPECT_EQ(Count(zz::TObjectKind::Arc), stats.Arcs);
  EXPECT_EQ(Count(zz::TObjectKind::Pad), stats.Pads);
  EXPECT_EQ(Count(zz::TObjectKind::Fill), 0U);
  EXPECT_EQ(standin::TheServer().Ui().Progress().Steps(), stats.Bytes - stats.Lines);  // a CR LF is one step
}

TEST_F(GeneratedImport, EveryCorpusFileIsReadToItsEndWithoutAMessage) {
  for (const CorpusFile& file : WriteCorpus(dir_, 5, 32, {})) {
    SCOPED_TRACE(file.Gerber.string() + ": " + file.Description);
    EXPECT_TRUE(Import(file.Gerber));
    EXPECT_TRUE(Messages().empty()) << Messages().front();
    EXPECT_GE(standin::TheServer().Boards().CurrentBoard().Objects.size(), 5U);
  }
}

TEST_F(GeneratedImport, RsDFilesDrawOnlyWithTheTableBesideThem) {
  int checked = 0;
  for (const CorpusFile& file : WriteCorpus(dir_, 6, 12, {})) {
    if (file.Table.empty()) continue;
    std::filesystem::remove(file.Table);
    EXPECT_FALSE(Import(file.Gerber)) << file.Gerber;
    ASSERT_EQ(Messages().size(), 1U);
    EXPECT_EQ(Messages().front(), "Aperture Table Not Found");
    ++checked;
  }
  EXPECT_EQ(checked, 3);
}

}  // namespace
}  // namespace zzbench
