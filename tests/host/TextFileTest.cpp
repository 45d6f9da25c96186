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
    file_.Close();
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

TEST_F(TextFileTest, CharactersAndLineEnds) {
  const struct {
    std::string Bytes, Seen;
  } cases[] = {
      {"G01*\r\nX1Y2D01*\r\n", "G01*|X1Y2D01*|"},
      {"G01*\nD02*\n", "G01*\nD02*\n"},        // a line feed alone is an ordinary character
      {"AB\rskipped\nCD\rtail", "AB|CD|"},      // a line end runs through the next line feed
      {std::string("D02*\x1A") + "D01*", "D02*"},  // Ctrl-Z ends the file
  };
  for (const auto& c : cases) {
    Open(c.Bytes);
    EXPECT_EQ(ReadCharacters(), c.Seen) << c.Bytes;
    EXPECT_TRUE(file_.AtEnd());
  }
}

TEST_F(TextFileTest, CharactersAcrossTheBufferBoundary) {
  // The line end straddles two buffer fills.
  const std::string first(TextFile::kBufferSize - 1, 'a');
  Open(first + "\r\nZ");
  EXPECT_EQ(ReadCharacters(), first + "|Z");
}

TEST_F(TextFileTest, Lines) {
  const struct {
    std::string Bytes;
    Lines Expected;
  } cases[] = {
      {"first\r\nsecond\nthird", {"first", "second", "third"}},
      {"%FSLAX24Y24*\r%\r\nnext\r", {"%FSLAX24Y24*%", "next"}},  // a lone carriage return is dropped
      {std::string("one\r\ntw\x1A") + "o\r\nthree\r\n", {"one", "tw"}},
      {"\r\n\nlast\n", {"", "", "last"}},
      {std::string(300, 'x') + "\r\nnext\r\n", {std::string(255, 'x'), "next"}},  // the rest is skipped
  };
  for (const auto& c : cases) {
    Open(c.Bytes);
    EXPECT_EQ(ReadLines(), c.Expected) << c.Bytes;
  }
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
