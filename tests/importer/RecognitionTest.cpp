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
