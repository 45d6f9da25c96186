// Small files, each with one statement the importer reads differently from what the file means:
// the reading built from the importer's events must name the cause and the line.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ReportTestSupport.h"

namespace zzreport {
namespace {

constexpr const char* kHead = "%FSLAX24Y24*%\r\n%MOIN*%\r\n%ADD10C,0.0100*%\r\n";  // lines 1 to 3

std::string Dos(const std::string& lines) {
  std::string out;
  for (const char c : lines) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

class Reading : public ::testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove(path_); }
  PluginReading Read(const std::string& text) {
    std::ofstream(path_, std::ios::binary) << text;
    return test::ImportWatched(path_.string()).Reading;
  }
  std::filesystem::path path_ =
      std::filesystem::temp_directory_path() /
      ("zz_report_misreading_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
       std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".gtl");
};

struct Row {
  const char* Name;
  std::string Body;  // from line 4; CR LF line ends
  Cause Expected;
  int32_t Line;
  Cause Global = Cause::None;
};

class Misreading : public Reading, public ::testing::WithParamInterface<Row> {};

TEST_P(Misreading, NamesCauseAndLine) {
  const Row& row = GetParam();
  const PluginReading reading = Read(kHead + Dos(row.Body));
  const CauseStatements& found = reading.Statements[static_cast<std::size_t>(row.Expected)];
  ASSERT_EQ(found.Count, 1) << CauseKey(row.Expected);
  EXPECT_EQ(found.First.front().first, row.Line);
  EXPECT_EQ(reading.Global, row.Global);
  EXPECT_TRUE(reading.FoundAny());
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

TEST_F(Reading, UnitsInsideTheFormatStatementAreNotAppliedToAnything) {
  const PluginReading reading = Read(Dos("%FSLAX25Y25*MOIN*%\n%MOMM*%\n%ADD10C,0.01*%\nD10*\nX0Y0D03*\n"));
  // The importer keeps the millimetres of the run before; the file means inches until line 2.
  EXPECT_EQ(reading.Statements[static_cast<std::size_t>(Cause::UnitsInFormat)].First.at(0).first, 1);
}

TEST_F(Reading, AMoveBeforeAnyDefinitionEndsTheRunAtItsLine) {
  const PluginReading reading = Read(Dos("%FSLAX24Y24*%\nG04 Layer: GND2*\n%ADD10C,0.01*%\nX0Y0D03*\n"));
  EXPECT_EQ(reading.FirstOperationWithoutApertures, 2);
  EXPECT_EQ(reading.FirstOperationCause, Cause::CommentFields);
  EXPECT_EQ(reading.ObjectsCreated, 0);
}

// What the importer creates is matched to the board's objects one by one.
TEST_F(Reading, OneCausePerObjectTheImporterCreates) {
  const PluginReading reading = Read(kHead + Dos("%ADD11R,0.1X0.05*%\nD10*\nX0Y0D02*\nX100Y0D01*\nG36*\n"
                                                 "X100Y100D01*\nG37*\n%LPC*%\nX0Y0D03*\n%LPD*%\nD11*\nX200Y200D01*\n"
                                                 "X200Y200*\nG04 D03 here*\n"));
  std::vector<Cause> causes;
  for (int64_t i = 0; i < reading.ObjectsCreated; ++i) causes.push_back(reading.CauseOfObject(i));
  const std::vector<Cause> expected = {Cause::None, Cause::RegionContours, Cause::ClearPolarity,
                                       Cause::SlantedRectangleStrokes, Cause::CommentFields};
  EXPECT_EQ(causes, expected);
}

TEST_F(Reading, AFileReadAsItMeansFindsNothing) {
  const PluginReading reading =
      Read(kHead + Dos("D10*\nX0Y0D02*\nX100Y0D01*\nG75*\nG03X0Y100I-100J0D01*\nX500Y500D03*\nM02*\n"));
  EXPECT_FALSE(reading.FoundAny());
  EXPECT_EQ(reading.ObjectsCreated, 3);
}

}  // namespace
}  // namespace zzreport
