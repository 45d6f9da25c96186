#include <tuple>

#include "ImportTestSupport.h"
#include "importer/Recognition.h"
#include "standin/Registration.h"

namespace zz::testing {
namespace {

TEST(FormatStatementLine, NeedsTheWholeStatementOnTheFirstLine) {
  EXPECT_TRUE(IsFormatStatementLine("%FSLAX24Y24*%"));
  EXPECT_TRUE(IsFormatStatementLine("%fslax24y24*%"));
  EXPECT_TRUE(IsFormatStatementLine("G04 title*%FSLAX24Y24*%"));
  EXPECT_TRUE(IsFormatStatementLine("%*FSX2Y2*%"));
  EXPECT_FALSE(IsFormatStatementLine("%FSLAX24Y24*"));
  EXPECT_FALSE(IsFormatStatementLine("%FSLAX24*%"));
  EXPECT_FALSE(IsFormatStatementLine("FSLAX24Y24*%"));
  EXPECT_FALSE(IsFormatStatementLine(""));
}

using Recognition = ImportTest;

TEST_F(Recognition, ReadsOnlyTheFirstLine) {
  EXPECT_TRUE(Recognised(Write("a.gtl", "%FSLAX24Y24*%\r\nanything")));
  EXPECT_TRUE(Recognised(Write("lf.gtl", "%fslax24y24*%\nX0Y0D02*")));
  EXPECT_FALSE(Recognised(Write("split.gtl", "%FSLAX24Y24*\r\n%\r\n")));
  EXPECT_FALSE(Recognised(Write("empty.gtl", "")));
  EXPECT_FALSE(Recognised(dir_.string()));
  EXPECT_FALSE(Recognised(dir_.string() + "/missing.gtl"));
}

TEST_F(Recognition, TurnedDownFilesTellTheObserverWhy) {
  using enum RecognitionFailure::Reason;
  const struct {
    std::string Bytes;
    RecognitionFailure Expected;
  } cases[] = {
      {"%FSLAX24*%\n", {NoFormatStatement, false, false, true, false}},
      {"%FSLAX24Y24*\n%\n", {NoFormatStatement, false, false, false, true}},  // "*%" must be on the first line
      {"X1Y1*%\r\n", {NoFormatStatement, true, false, false, false}},
      {"%FSLA\x1AX24Y24*%\n", {NoFormatStatement, false, true, true, true}},  // Ctrl-Z ends the file
      {"%FSLAX24Y24" + std::string(250, ' ') + "*%\n", {NoFormatStatement, false, false, false, true}},  // 255 count
      {"\n%FSLAX24Y24*%\n", {EmptyFirstLine, true, true, true, true}},
      {"", {EmptyFirstLine, true, true, true, true}},
  };
  RecordingObserver& observer = Watch();
  for (const auto& c : cases) {
    observer.Failures.clear();
    EXPECT_FALSE(Recognised(Write("case.gbr", c.Bytes))) << c.Bytes;
    ASSERT_EQ(observer.Failures.size(), 1U) << c.Bytes;
    const RecognitionFailure& f = observer.Failures[0];
    const RecognitionFailure& e = c.Expected;
    EXPECT_EQ(std::tie(f.Why, f.NoStart, f.NoX, f.NoY, f.NoEnd), std::tie(e.Why, e.NoStart, e.NoX, e.NoY, e.NoEnd))
        << c.Bytes;
  }
  observer.Failures.clear();
  EXPECT_TRUE(Recognised(Write("ok.gbr", "%FSLAX24Y24*\r%\r\n")));  // a lone carriage return is dropped
  EXPECT_FALSE(Recognised(dir_.string() + "/missing.gtl"));
  ASSERT_EQ(observer.Failures.size(), 1U);
  EXPECT_EQ(observer.Failures[0].Why, NoFile);
}

TEST_F(Recognition, WithoutTheExistenceServiceNothingIsRecognised) {
  const std::string path = Write("a.gtl", "%FSLAX24Y24*%\r\n");
  standin::Options options;
  options.AbsentClientServices = {"ClientAPI_ExistSpecific"};
  standin::Register(options);
  EXPECT_FALSE(Recognised(path));
  EXPECT_FALSE(Import(path));
}

}  // namespace
}  // namespace zz::testing
