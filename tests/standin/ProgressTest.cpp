#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "standin/PcbServer.h"
#include "standin/Progress.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace standin {
namespace {

std::string ReadAll(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text.push_back(static_cast<char>(c));
  return text;
}

TEST(ProgressDisplay, CountsEveryStepAgainstTheTotal) {
  Reset();
  const zz::TText255 text("Loading top.gtl (Gerber)");
  PcbApi_Percent_Init(&text, 5000);
  for (int i = 0; i < 4999; ++i) PcbApi_Percent_Update();
  const ProgressDisplay& progress = TheServer().Ui().Progress();
  EXPECT_TRUE(progress.IsOpen());
  EXPECT_EQ(progress.Text(), "Loading top.gtl (Gerber)");
  EXPECT_EQ(progress.Total(), 5000);
  EXPECT_EQ(progress.Steps(), 4999U);
  PcbApi_Percent_Finish();
  EXPECT_FALSE(progress.IsOpen());
  EXPECT_EQ(progress.InitCount(), 1);
  EXPECT_EQ(progress.FinishCount(), 1);
}

TEST(ProgressDisplay, RedrawsOnlyWhenTheShownPercentageChanges) {
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  ProgressDisplay progress;
  progress.SetOutput(ProgressDisplay::Mode::Always, out);
  progress.Init("Loading big.gbr (Gerber)", 100000);
  for (int i = 0; i < 100000; ++i) progress.Update();
  EXPECT_EQ(progress.RedrawCount(), 101);  // 0 % to 100 %
  EXPECT_EQ(progress.ShownPercent(), 100);
  for (int i = 0; i < 50; ++i) progress.Update();  // past the total: still 100 %
  EXPECT_EQ(progress.RedrawCount(), 101);
  progress.Finish();
  const std::string drawn = ReadAll(out);
  std::fclose(out);
  EXPECT_NE(drawn.find("100%"), std::string::npos);
  EXPECT_EQ(drawn.back(), '\n');
}

TEST(ProgressDisplay, DrawsNothingOffATerminalAndCopesWithAnUnknownTotal) {
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  ProgressDisplay progress;
  progress.SetOutput(ProgressDisplay::Mode::Auto, out);  // a file is no terminal
  progress.Init("x", 10);
  for (int i = 0; i < 10; ++i) progress.Update();
  progress.Finish();
  EXPECT_EQ(progress.RedrawCount(), 0);
  EXPECT_EQ(ReadAll(out), "");

  progress.SetOutput(ProgressDisplay::Mode::Always, out);
  progress.Init("x", -1);  // the file size could not be read
  for (int i = 0; i < 1000; ++i) progress.Update();
  EXPECT_EQ(progress.Steps(), 1000U);
  EXPECT_EQ(progress.RedrawCount(), 1);
  std::fclose(out);
}

}  // namespace
}  // namespace standin
