#include <gtest/gtest.h>

#include <string>

#include "apertures/ParameterString.h"

namespace zz {
namespace {

std::string Get(std::string_view line, std::string_view name) {
  TShortString<255> value("stale");
  return GetParameter(line, name, value) ? value.Str() : "<missing:" + value.Str() + ">";
}

TEST(ParameterReaderTest, FirstEqualsSignSplitsAndTheRestBelongsToTheValue) {
  EXPECT_EQ(Get("A=b=c|D=1", "A"), "b=c");
  EXPECT_EQ(Get("A=b=c|D=1", "D"), "1");
  EXPECT_EQ(Get("A=|B=2", "A"), "");
}

TEST(ParameterReaderTest, TrimsCharactersUpToCode32AroundNamesAndValues) {
  const std::string line = " \tXSize \x01= 10 mil\x1f |\x7fY=1";
  EXPECT_EQ(Get(line, "XSize"), "10 mil");
  EXPECT_EQ(Get(line, "\x7fY"), "1");  // 127 is not trimmed
}

TEST(ParameterReaderTest, NamesIgnoreLetterCaseAndTheFirstPairWins) {
  const std::string line = "DCODE=10|dcode=11|Shape=round";
  EXPECT_EQ(Get(line, "DCode"), "10");
  EXPECT_EQ(Get(line, "SHAPE"), "round");
}

TEST(ParameterReaderTest, PairsWithoutEqualsSignOrNameAreIgnored) {
  const std::string line = "Shape|=5| =6|Usage=FLASH||";
  EXPECT_EQ(Get(line, "Shape"), "<missing:>");
  EXPECT_EQ(Get(line, ""), "<missing:>");
  EXPECT_EQ(Get(line, "Usage"), "FLASH");
}

TEST(ParameterReaderTest, EveryNewLineIsParsedOnceAndNeverAnswersForAnother) {
  const std::string first = "DCode=10|Shape=Round|XSize=1mil";
  const std::string second = "DCode=11|Shape=Octagon";
  const uint32_t before = ParameterLineParseCount();
  EXPECT_EQ(Get(first, "DCode"), "10");
  EXPECT_EQ(Get(first, "Shape"), "Round");
  EXPECT_EQ(Get(first, "XSize"), "1mil");
  EXPECT_EQ(ParameterLineParseCount() - before, 1u);
  EXPECT_EQ(Get(second, "DCode"), "11");
  EXPECT_EQ(Get(second, "XSize"), "<missing:>");
  EXPECT_EQ(Get(first, "Shape"), "Round");
  EXPECT_EQ(ParameterLineParseCount() - before, 3u);
  EXPECT_EQ(Get("", "DCode"), "<missing:>");
}

TEST(ParameterReaderTest, ReadsOnlyTheFirst255Characters) {
  const std::string line = "A=1|" + std::string(251, 'x') + "|B=2";
  EXPECT_EQ(Get(line, "A"), "1");
  EXPECT_EQ(Get(line, "B"), "<missing:>");
}

TEST(ParameterWriterTest, JoinsPairsAndWritesAnEmptyValueAsOneBlank) {
  TShortString<255> text;
  SetParameter(text, "DCode", "10");
  SetParameter(text, "Usage", "");
  SetParameter(text, "XSize", " \t10mil \r\n");
  EXPECT_EQ(text.View(), "DCode=10|Usage= |XSize=10mil");
  // What is written reads back.
  EXPECT_EQ(Get(text.View(), "usage"), "");
  EXPECT_EQ(Get(text.View(), "XSIZE"), "10mil");
}

TEST(ParameterWriterTest, StopsAt255Characters) {
  TShortString<255> text;
  for (int i = 0; i < 40; ++i) SetParameter(text, "Name", "Value");
  EXPECT_EQ(text.Size(), 255u);
}

}  // namespace
}  // namespace zz
