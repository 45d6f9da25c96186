#include "ImportTestSupport.h"
#include "importer/TableFileSearch.h"
#include "standin/Registration.h"

namespace zz::testing {
namespace {

using TableFileSearch = ImportTest;

// The first candidate that exists, looked up as the editor's file system looks names up: without
// regard to letter case, a name's trailing blanks dropped. The candidate is named as it was formed.
TEST_F(TableFileSearch, FirstCandidateThatExistsIsTheTable) {
  const struct {
    const char* Gerber;
    std::vector<const char*> Beside;
    const char* Found;  // null: none
  } cases[] = {
      {"top.gtl", {"top.Atl", "top.apr"}, "top.Atl"},  // the changed extension first
      {"mid.gtl", {"mid.apr"}, "mid.apr"},
      {"alone.gtl", {}, nullptr},
      {"BOARD.GBR", {"board.Apr"}, "BOARD.apr"},
      {"art.GBR", {"art.abr", "art.apr"}, "art.ABR"},
      {"Bot.gbl", {"BOT.ABL"}, "Bot.Abl"},
      {"inner.g1 ", {"inner.A1"}, "inner.A1 "},
  };
  for (const auto& c : cases) {
    const std::string gerber = Write(c.Gerber, "");
    for (const char* name : c.Beside) Write(name, "");
    const std::optional<std::string> expected =
        c.Found != nullptr ? std::optional<std::string>((dir_ / c.Found).string()) : std::nullopt;
    EXPECT_EQ(FindApertureTableFile(gerber), expected) << c.Gerber;
  }
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
