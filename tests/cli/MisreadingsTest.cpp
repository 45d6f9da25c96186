// Small files, each with one statement the importer reads differently from what the file means:
// the scan must name the cause and the line.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/Misreadings.h"

namespace zzcli {
namespace {

constexpr const char* kHead = "%FSLAX24Y24*%\r\n%MOIN*%\r\n%ADD10C,0.0100*%\r\n";  // lines 1 to 3

struct Row {
  const char* Name;
  std::string Body;  // from line 4; CR LF line ends
  Cause Expected;
  int32_t Line;
  Cause Global = Cause::None;
};

PluginReading Scan(const std::string& text, ScanOptions options = {}) {
  std::istringstream in(text);
  return ScanPluginReading(in, options);
}

std::string Dos(const std::string& lines) {
  std::string out;
  for (const char c : lines) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

class Misreading : public ::testing::TestWithParam<Row> {};

TEST_P(Misreading, NamesCauseAndLine) {
  const Row& row = GetParam();
  const PluginReading reading = Scan(kHead + Dos(row.Body));
  const CauseStatements& found = reading.Statements[static_cast<std::size_t>(row.Expected)];
  ASSERT_EQ(found.Count, 1) << CauseKey(row.Expected);
  EXPECT_EQ(found.First.front().first, row.Line);
  EXPECT_EQ(reading.Global, row.Global);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Misreading,
    ::testing::Values(
        Row{"CommentField", "D10*\nX0Y0D02*\nG04 Layer: VIA KEEPOUT/GND2*\nX100Y0D01*\n", Cause::CommentFields, 6},
        Row{"CoordinatesWithoutOperation", "D10*\nX0Y0D02*\nX100Y0D01*\nX200Y0*\n", Cause::CoordinatesWithoutOperation,
            7},
        Row{"BlankAfterComma", "%ADD11C, 0.2540*%\nD11*\nX0Y0D03*\n", Cause::ApertureSizeUnread, 4},
        Row{"UnsignedArcOffsets", "D10*\nG74*\nX10000Y0D02*\nG03X0Y10000I10000J0D01*\n", Cause::UnsignedArcOffsets, 7},
        Row{"RegionContour", "D10*\nX0Y0D02*\nG36*\nX0Y0D02*\nX100Y0D01*\nG37*\n", Cause::RegionContours, 8},
        Row{"SlantedRectangle", "%ADD11R,0.1X0.05*%\nD11*\nX0Y0D02*\nX0Y100D01*\nX100Y200D01*\n",
            Cause::SlantedRectangleStrokes, 8},
        Row{"ClearPolarity", "%LPD*%\n%LPC*%\nX0Y0D03*\n", Cause::ClearPolarity, 5},
        Row{"StepAndRepeat", "%SRX1Y1I0J0*%\n%SRX2Y1I1.0J0*%\nX0Y0D03*\n%SR*%\n", Cause::StepAndRepeat, 5},
        Row{"MacroAperture", "%ADD12BOX,0.1*%\nD12*\nX0Y0D03*\n", Cause::MacroPads, 4},
        Row{"BlockAperture", "%ABD20*%\nX0Y0D03*\n%AB*%\n", Cause::BlockApertures, 4},
        Row{"ImageOffset", "%OFA0B0*%\n%OFA0.1B0*%\nX0Y0D03*\n", Cause::ImageParameters, 5, Cause::ImageParameters},
        Row{"IncrementalCoordinates", "G91*\nX0Y0D03*\n", Cause::IncrementalCoordinates, 4,
            Cause::IncrementalCoordinates}),
    [](const ::testing::TestParamInfo<Row>& row) { return std::string(row.param.Name); });

TEST(MisreadingScan, UnitsInsideTheFormatStatementAreNotAppliedToAnything) {
  const PluginReading reading = Scan(Dos("%FSLAX25Y25*MOIN*%\n%ADD10C,0.01*%\nD10*\nX0Y0D03*\n"));
  EXPECT_EQ(reading.Statements[static_cast<std::size_t>(Cause::UnitsInFormat)].First.at(0).first, 1);
  EXPECT_EQ(reading.Global, Cause::UnitsInFormat);
}

TEST(MisreadingScan, AMoveBeforeAnyDefinitionEndsTheRunUnlessATableFileWasLoaded) {
  const std::string text = Dos("%FSLAX24Y24*%\nG04 Layer: GND2*\n%ADD10C,0.01*%\nX0Y0D03*\n");
  const PluginReading alone = Scan(text);
  EXPECT_EQ(alone.FirstOperationWithoutApertures, 2);
  EXPECT_EQ(alone.FirstOperationCause, Cause::CommentFields);
  EXPECT_TRUE(alone.ObjectCauses.empty());
  const PluginReading withTable = Scan(text, {.TableFile = true});
  EXPECT_EQ(withTable.FirstOperationWithoutApertures, 0);
  EXPECT_EQ(withTable.ObjectCauses.size(), 1U);
}

// What the importer creates is matched to the board's objects one by one.
TEST(MisreadingScan, OneCausePerObjectTheImporterCreates) {
  const PluginReading reading = Scan(kHead + Dos("%ADD11R,0.1X0.05*%\nD10*\nX0Y0D02*\nX100Y0D01*\nG36*\n"
                                                 "X100Y100D01*\nG37*\n%LPC*%\nX0Y0D03*\n%LPD*%\nD11*\nX200Y200D01*\n"
                                                 "X200Y200*\nG04 D03 here*\n"));
  const std::vector<Cause> expected = {Cause::None, Cause::RegionContours, Cause::ClearPolarity,
                                       Cause::SlantedRectangleStrokes, Cause::CommentFields};
  EXPECT_EQ(reading.ObjectCauses, expected);
}

TEST(MisreadingScan, StatementsAreSplitAndCountedAsTheImporterDoes) {
  // A lone line feed starts a line; a carriage return skips to the next line feed.
  const PluginReading reading = Scan("%FSLAX24Y24*%\n%ADD10C,0.01*%\r junk\nD10*\nX0Y0D02*X5Y5*\n");
  const CauseStatements& found = reading.Statements[static_cast<std::size_t>(Cause::CoordinatesWithoutOperation)];
  ASSERT_EQ(found.Count, 1);
  EXPECT_EQ(found.First.front().first, 4);
  EXPECT_EQ(found.First.front().second, "X5Y5*");
}

}  // namespace
}  // namespace zzcli
