#include <gtest/gtest.h>

#include "ToolRun.h"
#include "cli/FileChecks.h"

namespace zzcli {
namespace {

using FileChecks = test::TempFolder;

struct FirstLineCase {
  const char* Bytes;
  Unrecognised Reason;
};

TEST_F(FileChecks, FirstLineDecidesAndTheReasonIsSpelledOut) {
  const FirstLineCase cases[] = {
      {"%FSLAX24Y24*%\nX0Y0D02*\n", Unrecognised::None},
      {"%fslax24y24*%\n", Unrecognised::None},                 // tested upper-cased
      {"G04 title*%FSLAX24Y24*%\n", Unrecognised::None},       // a comment before it
      {"%FSLAX24Y24*\r%\r\n", Unrecognised::None},             // a lone carriage return is dropped
      {"%FSLAX24Y24*%", Unrecognised::None},                   // no line end at all
      {"%FSLAX24Y24*\n%\n", Unrecognised::NoFormatStatement},  // "*%" must be on the first line
      {"G04 only a comment*\n", Unrecognised::NoFormatStatement},
      {"%FSLAX24*%\n", Unrecognised::NoFormatStatement},
      {"%FSLA\x1AX24Y24*%\n", Unrecognised::NoFormatStatement},  // Ctrl-Z ends the file
      {"\n%FSLAX24Y24*%\n", Unrecognised::EmptyFirstLine},
      {"", Unrecognised::EmptyFirstLine},
  };
  for (const FirstLineCase& c : cases) {
    const Diagnosis d = DiagnoseGerberFile(Write("case.gbr", c.Bytes));
    EXPECT_EQ(d.Reason, c.Reason) << c.Bytes;
    if (c.Reason == Unrecognised::None) {
      EXPECT_TRUE(d.Text.empty());
    } else {
      EXPECT_NE(d.Text.find("%FS...X..Y..*%"), std::string::npos) << d.Text;
    }
  }
}

TEST_F(FileChecks, OnlyTheFirst255CharactersCount) {
  const std::string line = "%FSLAX24Y24" + std::string(250, ' ') + "*%\n";
  const Diagnosis d = DiagnoseGerberFile(Write("long.gbr", line));
  EXPECT_EQ(d.Reason, Unrecognised::NoFormatStatement);
  EXPECT_NE(d.Text.find("no \"*%\" found"), std::string::npos) << d.Text;
}

TEST_F(FileChecks, MissingFilesAndFoldersAreNamedAsSuch) {
  EXPECT_EQ(DiagnoseGerberFile(PathOf("missing.gtl")).Reason, Unrecognised::Missing);
  EXPECT_EQ(DiagnoseGerberFile(PathOf("missing.gtl")).Text, "the file does not exist");
  EXPECT_EQ(DiagnoseGerberFile(dir_.string()).Reason, Unrecognised::NotRegularFile);
}

TEST_F(FileChecks, TableFileWithTheChangedExtensionComesFirst) {
  const std::string gerber = Write("top.gtl", "%FSLAX24Y24*%\n");
  EXPECT_FALSE(GuessApertureTableFile(gerber));
  const std::string apr = Write("top.apr", "");
  EXPECT_EQ(GuessApertureTableFile(gerber), apr);
  const std::string changed = Write("top.Atl", "");
  EXPECT_EQ(GuessApertureTableFile(gerber), changed);
}

TEST_F(FileChecks, TableFileCandidatesFollowTheExtension) {
  EXPECT_EQ(GuessApertureTableFile(Write("layer.g1", "")), Write("layer.A1", ""));
  EXPECT_EQ(GuessApertureTableFile(Write("art.GBR", "")), Write("art.ABR", ""));
}

// Without an extension the first candidate is the Gerber file itself, which is never taken.
TEST_F(FileChecks, TheGerberFileIsNeverItsOwnTable) {
  const std::string gerber = Write("layer", "%FSLAX24Y24*%\n");
  EXPECT_FALSE(GuessApertureTableFile(gerber));
  EXPECT_EQ(GuessApertureTableFile(gerber), std::nullopt);
  const std::string apr = Write("layer.apr", "");
  EXPECT_EQ(GuessApertureTableFile(gerber), apr);
  EXPECT_FALSE(GuessApertureTableFile(apr));  // an ".apr" Gerber file would find itself twice
}

}  // namespace
}  // namespace zzcli
