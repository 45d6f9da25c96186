#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>

#include "host/SizeText.h"

namespace zz {
namespace {

TEST(MilText, WholeAndFractionalMils) {
  EXPECT_EQ(FormatMilText(0).View(), "0mil");
  EXPECT_EQ(FormatMilText(10000).View(), "1mil");
  EXPECT_EQ(FormatMilText(15000).View(), "1.5mil");
  EXPECT_EQ(FormatMilText(12346).View(), "1.235mil");
  EXPECT_EQ(FormatMilText(12345).View(), "1.234mil");
  EXPECT_EQ(FormatMilText(100000).View(), "10mil");
  EXPECT_EQ(FormatMilText(1000000).View(), "100mil");
  EXPECT_EQ(FormatMilText(19999).View(), "2mil");  // the fraction rounds up into the next mil
}

TEST(MilText, HalvesRoundToEven) {
  EXPECT_EQ(FormatMilText(5).View(), "0mil");
  EXPECT_EQ(FormatMilText(15).View(), "0.002mil");
  EXPECT_EQ(FormatMilText(25).View(), "0.002mil");
  EXPECT_EQ(FormatMilText(35).View(), "0.004mil");
}

TEST(MilText, NegativeLengths) {
  EXPECT_EQ(FormatMilText(-15000).View(), "-1.5mil");
  EXPECT_EQ(FormatMilText(-12346).View(), "-1.235mil");
  EXPECT_EQ(FormatMilText(-25).View(), "-0.002mil");
  // Rounds to zero: no "-0".
  EXPECT_EQ(FormatMilText(-4).View(), "0mil");
  EXPECT_EQ(FormatMilText(-5).View(), "0mil");
}

TEST(MilText, Int32Limits) {
  EXPECT_EQ(FormatMilText(INT32_MAX).View(), "214748.365mil");
  EXPECT_EQ(FormatMilText(INT32_MIN).View(), "-214748.365mil");
}

TEST(MmText, FractionRoundedToFiveDecimalsWrittenWithFour) {
  EXPECT_EQ(FormatMmText(0).View(), "0mm");
  EXPECT_EQ(FormatMmText(393700).View(), "1mm");
  EXPECT_EQ(FormatMmText(10000).View(), "0.0254mm");
  EXPECT_EQ(FormatMmText(1000).View(), "0.0025mm");
  EXPECT_EQ(FormatMmText(100000).View(), "0.254mm");
  EXPECT_EQ(FormatMmText(3937008).View(), "10mm");
}

TEST(MmText, NegativeLengthsAndInt32Limits) {
  EXPECT_EQ(FormatMmText(-10000).View(), "-0.0254mm");
  EXPECT_EQ(FormatMmText(-393700).View(), "-1mm");
  EXPECT_EQ(FormatMmText(-1).View(), "0mm");
  EXPECT_EQ(FormatMmText(-2).View(), "0mm");  // -0.00001 at the fifth decimal, zero at the fourth
  EXPECT_EQ(FormatMmText(INT32_MAX).View(), "5454.6085mm");
  EXPECT_EQ(FormatMmText(INT32_MIN).View(), "-5454.6085mm");
}

TEST(SizeText, ChoosesTheUnit) {
  EXPECT_EQ(FormatSizeText(100000, true).View(), "10mil");
  EXPECT_EQ(FormatSizeText(100000, false).View(), "0.254mm");
}

TEST(SizeText, DecimalPointDoesNotFollowTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  // Any locale with a decimal comma will do; the test is only meaningful where one is installed.
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "German") == nullptr) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  const std::string mil = FormatMilText(15000).Str();
  const std::string mm = FormatMmText(10000).Str();
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(mil, "1.5mil");
  EXPECT_EQ(mm, "0.0254mm");
}

TEST(StripTrailingZeros, RemovesZerosThenThePoint) {
  EXPECT_EQ(StripTrailingZeros("100.000").View(), "100");
  EXPECT_EQ(StripTrailingZeros("0.500").View(), "0.5");
  EXPECT_EQ(StripTrailingZeros("1.25").View(), "1.25");
  EXPECT_EQ(StripTrailingZeros("").View(), "");
  EXPECT_EQ(StripTrailingZeros(".000").View(), "");
}

TEST(StripTrailingZeros, LeavesTextsWithoutDecimalPointAlone) {
  EXPECT_EQ(StripTrailingZeros("100").View(), "100");
  EXPECT_EQ(StripTrailingZeros("0").View(), "0");
}

}  // namespace
}  // namespace zz
