#include "ImportTestSupport.h"
#include "importer/TableFileSearch.h"
#include "standin/Registration.h"

namespace zz::testing {
namespace {

using TableFileSearch = ImportTest;

TEST_F(TableFileSearch, ChangedExtensionWinsOverApr) {
  const std::string gerber = Write("top.gtl", "");
  const std::string changed = Write("top.Atl", "");
  Write("top.apr", "");
  EXPECT_EQ(FindApertureTableFile(gerber), changed);
}

TEST_F(TableFileSearch, AprIsTheSecondCandidate) {
  const std::string gerber = Write("top.gtl", "");
  const std::string apr = Write("top.apr", "");
  EXPECT_EQ(FindApertureTableFile(gerber), apr);
  EXPECT_EQ(FindApertureTableFile(Write("alone.gtl", "")), std::nullopt);
}

TEST_F(TableFileSearch, CandidateNamesFollowTheExtension) {
  EXPECT_EQ(ChangedExtensionCandidate(dir_.string() + "/layer.g1"), dir_.string() + "/layer.A1");
  EXPECT_EQ(ChangedExtensionCandidate(dir_.string() + "/art.GBR"), dir_.string() + "/art.ABR");
  EXPECT_EQ(ChangedExtensionCandidate(dir_.string() + "/plain"), dir_.string() + "/plain");
}

// A candidate that is the Gerber file itself, whatever its extension and letter case, must never
// be read as its table.
TEST_F(TableFileSearch, TheGerberFileItselfIsNeverItsTable) {
  const std::string gerber = Write("plain", "%FSLAX24Y24*%\r\n");
  EXPECT_EQ(FindApertureTableFile(gerber), std::nullopt);
  const std::string apr = Write("plain.apr", "");
  EXPECT_EQ(FindApertureTableFile(gerber), apr);

  const std::string lower = Write("x.asb", "%FSLAX24Y24*%\r\n");
  Write("x.Asb", "%FSLAX24Y24*%\r\n");  // on Windows the same file
  EXPECT_EQ(FindApertureTableFile(lower), std::nullopt);
  EXPECT_EQ(FindApertureTableFile(Write("t.apr", "%FSLAX24Y24*%\r\n")), std::nullopt);  // both candidates
}

TEST_F(TableFileSearch, NoClientServicesMeansNoTable) {
  const std::string gerber = Write("top.gtl", "");
  Write("top.Atl", "");
  standin::Options options;
  options.AbsentClientServices = {"ClientAPI_ExistSpecific"};
  standin::Register(options);
  EXPECT_EQ(FindApertureTableFile(gerber), std::nullopt);
}

}  // namespace
}  // namespace zz::testing
