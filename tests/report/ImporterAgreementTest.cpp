// The reading is the importer's own: on every example file and a generated corpus, the objects
// its events say were created are the board's objects, kind by kind, and every file the importer
// reads gets a share.

#include <gtest/gtest.h>

#include <filesystem>

#include "ReportTestSupport.h"
#include "report/LeftOut.h"
#include "standin/Geometry.h"

#ifdef ZZ_HAVE_GENERATOR
#include "gen/GerberGenerator.h"
#endif

namespace zzreport {
namespace {

std::vector<std::string> ExampleFiles() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(ZZ_EXAMPLES_DIR)) {
    const std::string ext = entry.path().extension().string();
    if (ext.size() >= 2 && ext[1] == 'g') files.push_back(entry.path().string());
  }
  return files;
}

void ExpectAgreement(const std::string& file) {
  test::CountingWatch watch;
  const test::Imported imported = test::ImportWatched(file, watch);
  const standin::Server& server = standin::TheServer();
  const standin::Board& board = server.Boards().CurrentBoard();
  std::array<int64_t, 5> onBoard{};
  std::vector<zz::THandle> added;
  for (const zz::THandle h : board.Objects) {
    added.push_back(h);
    switch (server.Objects().KindOf(h)) {
      case zz::TObjectKind::Track:
        ++onBoard[static_cast<std::size_t>(zz::MadeObject::Track)];
        break;
      case zz::TObjectKind::Fill:
        ++onBoard[static_cast<std::size_t>(zz::MadeObject::Fill)];
        break;
      case zz::TObjectKind::Arc:
        ++onBoard[static_cast<std::size_t>(zz::MadeObject::Arc)];
        break;
      case zz::TObjectKind::Pad:
        ++onBoard[static_cast<std::size_t>(zz::MadeObject::Pad)];
        break;
      default:
        ++onBoard[0];
        break;
    }
  }
  EXPECT_EQ(imported.Made, onBoard) << file;
  EXPECT_EQ(imported.Reading.ObjectsCreated, static_cast<int64_t>(added.size())) << file;
  if (!imported.Recognised) return;
  const LeftOutAnalysis analysis =
      AnalyseImport(file, {}, imported.Reading, server.Objects(), std::span<const zz::THandle>(added));
  ASSERT_TRUE(analysis.Share().has_value()) << file << ": " << analysis.NotMeasured;
  // A file read as it means has nothing left out; one that is not has its area measured.
  EXPECT_EQ(analysis.Whole(), !analysis.Areas.has_value()) << file;
  EXPECT_GE(*analysis.Share(), 0.0) << file;
  EXPECT_LE(*analysis.Share(), 1.0) << file;
}

TEST(ImporterAgreement, ExampleFiles) {
  const std::vector<std::string> files = ExampleFiles();
  ASSERT_GE(files.size(), 6U);
  for (const std::string& file : files) ExpectAgreement(file);
}

#ifdef ZZ_HAVE_GENERATOR
TEST(ImporterAgreement, GeneratedCorpus) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("zz_report_corpus_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::remove_all(dir);
  for (const zzbench::CorpusFile& file : zzbench::WriteCorpus(dir, 7, 40, {.Eol = zzbench::LineEnds::Varied})) {
    ExpectAgreement(file.Gerber.string());
  }
  std::filesystem::remove_all(dir);
}
#endif

}  // namespace
}  // namespace zzreport
