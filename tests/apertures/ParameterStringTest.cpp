#include <gtest/gtest.h>

#include <string>

#include "apertures/ParameterString.h"

namespace zz {
namespace {

std::string Get(std::string_view line, std::string_view name) {
  TShortString<255> value("stale");
  return GetParameter(line, name, value) ? value.Str() : "<missing:" + value.Str() + ">";
}

TEST(ParameterReaderTest, PairRules) {
  EXPECT_EQ(Get("A=b=c|D=1", "A"), "b=c");  // the first "=" splits
  EXPECT_EQ(Get(" \tXSize \x01= 10 mil\x1f |\x7fY=1", "XSize"), "10 mil");
  EXPECT_EQ(Get(" \tXSize \x01= 10 mil\x1f |\x7fY=1", "\x7fY"), "1");  // 127 is not trimmed
  EXPECT_EQ(Get("DCODE=10|dcode=11", "DCode"), "10");                  // any case; the first pair wins
  EXPECT_EQ(Get("Shape|=5| =6|Usage=|", "Shape"), "<missing:>");       // no "=": ignored
  EXPECT_EQ(Get("Shape|=5| =6|Usage=|", ""), "<missing:>");            // no name: ignored
  EXPECT_EQ(Get("Shape|=5| =6|Usage=|", "Usage"), "");
  EXPECT_EQ(Get("A=1|" + std::string(251, 'x') + "|B=2", "B"), "<missing:>");  // 255 characters are read
}

TEST(ParameterReaderTest, ParsesEachNewLineOnceAndNeverAnswersForAnother) {
  const std::string first = "DCode=10|Shape=Round|XSize=1mil";
  const std::string second = "DCode=11|Shape=Octagon";
  const uint32_t before = ParameterLineParseCount();
  EXPECT_EQ(Get(first, "DCode"), "10");
  EXPECT_EQ(Get(first, "XSize"), "1mil");
  EXPECT_EQ(ParameterLineParseCount() - before, 1u);
  EXPECT_EQ(Get(second, "XSize"), "<missing:>");
  EXPECT_EQ(Get(first, "Shape"), "Round");
  EXPECT_EQ(ParameterLineParseCount() - before, 3u);
}

TEST(ParameterWriterTest, WritesPairsThatReadBack) {
  TShortString<255> text;
  SetParameter(text, "DCode", "10");
  SetParameter(text, "Usage", "");
  SetParameter(text, "XSize", " \t10mil \r\n");
  EXPECT_EQ(text.View(), "DCode=10|Usage= |XSize=10mil");
  EXPECT_EQ(Get(text.View(), "usage"), "");
  for (int i = 0; i < 40; ++i) SetParameter(text, "Name", "Value");
  EXPECT_EQ(text.Size(), 255u);
}

}  // namespace
}  // namespace zz
