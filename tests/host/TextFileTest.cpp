#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/TextFile.h"

namespace zz {
namespace {

class TextFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = ::testing::TempDir() + "zz_textfile_" + info->name() + ".txt";
  }
  void TearDown() override {
    file_.Close();
    std::remove(path_.c_str());
  }

  void Open(const std::string& bytes) {
    std::ofstream(path_, std::ios::binary) << bytes;
    ASSERT_TRUE(file_.Open(path_.c_str()));
  }

  // The statement reader's view: every line end shows as "|".
  std::string ReadCharacters() {
    std::string seen;
    while (!file_.AtEnd()) {
      if (file_.AtLineEnd()) {
        file_.SkipLineEnd();
        seen.push_back('|');
      } else {
        seen.push_back(file_.ReadChar());
      }
    }
    return seen;
  }

  std::vector<std::string> ReadLines() {
    std::vector<std::string> lines;
    TShortString<255> line;
    while (file_.ReadLine(line)) lines.push_back(line.Str());
    return lines;
  }

  std::string path_;
  TextFile file_;
};

using Lines = std::vector<std::string>;

TEST_F(TextFileTest, CharactersCrLf) {
  Open("G01*\r\nX1Y2D01*\r\n");
  EXPECT_EQ(ReadCharacters(), "G01*|X1Y2D01*|");
}

TEST_F(TextFileTest, CharactersLineFeedAloneIsAnOrdinaryCharacter) {
  Open("G01*\nD02*\n");
  EXPECT_EQ(ReadCharacters(), "G01*\nD02*\n");
}

TEST_F(TextFileTest, CharactersLoneCarriageReturnRunsThroughTheNextLineFeed) {
  Open("AB\rskipped\nCD\rtail");
  EXPECT_EQ(ReadCharacters(), "AB|CD|");
}

TEST_F(TextFileTest, CharactersStopAtCtrlZ) {
  Open(std::string("D02*\x1A") + "D01*");
  EXPECT_EQ(ReadCharacters(), "D02*");
  EXPECT_TRUE(file_.AtEnd());  // and stays there
}

TEST_F(TextFileTest, CharactersAcrossTheBufferBoundary) {
  // The line end straddles two buffer fills.
  const std::string first(TextFile::kBufferSize - 1, 'a');
  Open(first + "\r\nZ");
  EXPECT_EQ(ReadCharacters(), first + "|Z");
}

TEST_F(TextFileTest, LinesCrLfAndLfOnly) {
  Open("first\r\nsecond\nthird");
  EXPECT_EQ(ReadLines(), (Lines{"first", "second", "third"}));
}

TEST_F(TextFileTest, LinesDropALoneCarriageReturn) {
  Open("%FSLAX24Y24*\r%\r\nnext\r");
  EXPECT_EQ(ReadLines(), (Lines{"%FSLAX24Y24*%", "next"}));
}

TEST_F(TextFileTest, LinesStopAtCtrlZ) {
  Open(std::string("one\r\ntw\x1A") + "o\r\nthree\r\n");
  EXPECT_EQ(ReadLines(), (Lines{"one", "tw"}));
}

TEST_F(TextFileTest, LinesKeepEmptyLines) {
  Open("\r\n\nlast\n");
  EXPECT_EQ(ReadLines(), (Lines{"", "", "last"}));
}

TEST_F(TextFileTest, LongLineIsCutTo255AndTheRestSkipped) {
  Open(std::string(300, 'x') + "\r\nnext\r\n");
  EXPECT_EQ(ReadLines(), (Lines{std::string(255, 'x'), "next"}));
}

TEST_F(TextFileTest, LineAcrossTheBufferBoundary) {
  const std::string filler(TextFile::kBufferSize - 3, 'f');
  Open(filler + "\nabcdef\n");
  TShortString<255> line;
  ASSERT_TRUE(file_.ReadLine(line));
  ASSERT_TRUE(file_.ReadLine(line));
  EXPECT_EQ(line.View(), "abcdef");
  EXPECT_FALSE(file_.ReadLine(line));
}

TEST_F(TextFileTest, EmptyFileIsAtItsEnd) {
  Open("");
  EXPECT_TRUE(file_.AtEnd());
  TShortString<255> line("stale");
  EXPECT_FALSE(file_.ReadLine(line));
  EXPECT_TRUE(line.Empty());
}

TEST_F(TextFileTest, ReopeningStartsAtTheBeginning) {
  Open("abc\ndef\n");
  TShortString<255> line;
  ASSERT_TRUE(file_.ReadLine(line));
  ASSERT_TRUE(file_.Open(path_.c_str()));
  ASSERT_TRUE(file_.ReadLine(line));
  EXPECT_EQ(line.View(), "abc");
}

TEST_F(TextFileTest, MissingFileDoesNotOpen) {
  EXPECT_FALSE(file_.Open((path_ + ".missing").c_str()));
  EXPECT_FALSE(file_.IsOpen());
  EXPECT_TRUE(file_.AtEnd());
}

TEST_F(TextFileTest, FolderFailsToOpenOrReadsAsEmpty) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "zz_textfile_folder";
  std::filesystem::create_directories(folder);
  if (file_.Open(folder.string().c_str())) {
    EXPECT_TRUE(file_.AtEnd());
    TShortString<255> line;
    EXPECT_FALSE(file_.ReadLine(line));
  }
  file_.Close();
  std::filesystem::remove(folder);
}

}  // namespace
}  // namespace zz
