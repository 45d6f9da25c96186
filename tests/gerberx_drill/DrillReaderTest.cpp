// The Excellon reader on small hand-written files: where the holes, slots and routed paths land
// and how large they are, the same read back from the Gerber file the converter writes, and the
// errors on bad input.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "gerberx/Reader.h"
#include "gerberx/convert/GerberWriter.h"
#include "gerberx/drill/DrillConvert.h"
#include "gerberx/drill/DrillReader.h"

namespace gerberx::drill {
namespace {

std::string Mm(std::int64_t units) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", ToMm(static_cast<double>(units)));
  return text;
}

std::string At(IntPoint p) { return "(" + Mm(p.X) + "," + Mm(p.Y) + ")"; }

// h(x,y)d: a hole; s(..)-(..)d: a slot; r(..)-(..)d: a routed line; a(..)-(..)c(..)cw|ccw d: an arc.
std::string Describe(const DrillFile& drill) {
  std::string text;
  const auto add = [&](const std::string& item) { text += (text.empty() ? "" : " ") + item; };
  for (const Hole& h : drill.Holes) add("h" + At(h.At) + Mm(h.Diameter));
  for (const Cut& c : drill.Slots) add("s" + At(c.From) + "-" + At(c.To) + Mm(c.Diameter));
  for (const Cut& c : drill.RoutedLines) add("r" + At(c.From) + "-" + At(c.To) + Mm(c.Diameter));
  for (const RoutedArc& a : drill.RoutedArcs) {
    add("a" + At(a.From) + "-" + At(a.To) + "c" + At(a.Centre) + (a.Clockwise ? "cw" : "ccw") + Mm(a.Diameter));
  }
  return text;
}

// The objects of a converted layer and of the Gerber file written from it, in one sorted form.
std::vector<std::string> Objects(const convert::ConvertedLayer& layer) {
  std::vector<std::string> all;
  for (const convert::KeptPad& p : layer.Pads) all.push_back("pad" + At(p.At) + Mm(p.XSize));
  for (const convert::KeptTrack& t : layer.Tracks) all.push_back("track" + At(t.From) + At(t.To) + Mm(t.Width));
  for (const convert::KeptArc& a : layer.Arcs) {
    all.push_back("arc" + At(a.From) + At(a.To) + At(a.Centre) + (a.Clockwise ? "cw" : "ccw") + Mm(a.Width));
  }
  std::sort(all.begin(), all.end());
  return all;
}

std::vector<std::string> Objects(const Layer& layer) {
  std::vector<std::string> all;
  const auto at = [](Point p) { return At({p.x, p.y}); };
  for (const Object& o : layer.objects) {
    EXPECT_EQ(o.aperture.shape, ApertureShape::Circle);
    if (o.kind == ObjectKind::Flash) all.push_back("pad" + at(o.end) + Mm(o.aperture.xSize));
    if (o.kind == ObjectKind::Stroke) all.push_back("track" + at(o.start) + at(o.end) + Mm(o.aperture.xSize));
    if (o.kind == ObjectKind::Arc) {
      all.push_back("arc" + at(o.start) + at(o.end) + at(o.centre) + (o.clockwise ? "cw" : "ccw") +
                    Mm(o.aperture.xSize));
    }
  }
  std::sort(all.begin(), all.end());
  return all;
}

struct DrillCase {
  const char* Name;
  const char* Text;
  const char* Expected;  // Describe() of the file; for an error, "line N: " and part of the reason
  Plating Plated = Plating::Unknown;
};

std::ostream& operator<<(std::ostream& out, const DrillCase& c) { return out << c.Name; }

const DrillCase kCases[] = {
    // Number formats.
    {"MetricDecimalPoints", "M48\nMETRIC\nT1C0.8\n%\nT1\nX1.5Y2.\nX-3Y.25\nM30\n",
     "h(1.500,2.000)0.800 h(-0.003,0.250)0.800"},
    {"InchTrailingZerosKept", "M48\nINCH,TZ\nT13C0.028\n%\nT13\nX000665Y023500\nX10000\n",
     "h(1.689,59.690)0.711 h(25.400,59.690)0.711"},
    {"InchLeadingZerosKept", "M48\nINCH,LZ\nT1C.04\n%\nT1\nX01Y0025\nY-015\n",
     "h(25.400,6.350)1.016 h(25.400,-38.100)1.016"},
    {"MetricLeadingZerosWithDigitFormat", "M48\nMETRIC,LZ,000.000\nT1C1.0\n%\nT1\nX001Y0105\n", "h(1.000,10.500)1.000"},
    {"MetricTrailingZerosWithDigitFormat", "M48\nMETRIC,TZ,000.00\nT1C1.0\n%\nT1\nX1050Y5\n", "h(10.500,0.050)1.000"},
    {"FileFormatComment", "M48\n;FILE_FORMAT=3:5\nMETRIC,LZ\nT1C1.0\n%\nT1\nX00150000Y001\n", "h(1.500,1.000)1.000"},
    {"FormatComment",
     "M48\n; FORMAT={2:5/ absolute / inch / suppress leading zeros}\nINCH,TZ\nT1C0.04\n%\nT1\nX15000Y5\n",
     "h(3.810,0.001)1.016"},
    {"UnitsInTheBodyForAHeaderWithout",
     "M48\nT01C.864\nR,H\n/\n%\nG90\nM71\nG93X000000Y000000\nG05\nT01\nX40500Y6270\n", "h(40.500,6.270)0.864"},
    {"NoUnitsAtAllIsInch", "%\nT1C0.028F200S100\nX002250Y002300\nM30\n", "h(5.715,5.842)0.711"},
    {"HeaderEndedByM95CrLf", "M48\r\nMETRIC\r\nT2C1.2\r\nM95\r\nT2\r\nX1.0Y1.0\r\n", "h(1.000,1.000)1.200"},
    // Tools.
    {"ToolsDefinedInline", "METRIC\nT1C0.5\nX1.0Y1.0\nT2C1.2\nX2.0\nT1\nY3.0\n",
     "h(1.000,1.000)0.500 h(2.000,1.000)1.200 h(2.000,3.000)0.500"},
    {"ToolChangeWithItsFirstHole", "METRIC\nT1C0.5\nT2C1.0\nT2X1.0Y1.0\nT1C0.6X2.0\n",
     "h(1.000,1.000)1.000 h(2.000,1.000)0.600"},
    {"ToolZeroDefinedIsATool", "G90\nM72\nM48\nT0C0.006\nT1C0.012\n%\nT0\nX35790Y26070\nT1\nX1Y1\n",
     "h(90.907,66.218)0.152 h(0.003,0.003)0.305"},
    {"ModalCoordinates", "METRIC\nT1C1.0\nX1.0Y2.0\nY5.0\nX7.0\n",
     "h(1.000,2.000)1.000 h(1.000,5.000)1.000 h(7.000,5.000)1.000"},
    {"IncrementalG91AndZeroSet", "METRIC\nT1C1.0\nG93X10.0Y20.0\nX1.0Y1.0\nG91\nX1.0\nY-2.0\nICI,OFF\nX0Y0\n",
     "h(11.000,21.000)1.000 h(12.000,21.000)1.000 h(12.000,19.000)1.000 h(10.000,20.000)1.000"},
    // Slots, repeats, routing.
    {"Slots", "METRIC\nT1C1.2\nX1.0Y2.0G85X5.0Y2.0\nG85Y6.0\nX9.0Y9.0G85X9.0Y9.0\n",
     "s(1.000,2.000)-(5.000,2.000)1.200 s(5.000,2.000)-(5.000,6.000)1.200 s(9.000,9.000)-(9.000,9.000)1.200"},
    {"Repeats", "METRIC\nT1C0.8\nX1.0Y1.0\nR3X2.0\nR2Y-1.0\n",
     "h(1.000,1.000)0.800 h(3.000,1.000)0.800 h(5.000,1.000)0.800 h(7.000,1.000)0.800 "
     "h(7.000,0.000)0.800 h(7.000,-1.000)0.800"},
    {"RoutedPathThenDrilling",
     "M48\nMETRIC,TZ\nT03C0.8\n%\nT03\nG00X2550Y80000\nM15\nG01Y79500\nY80500\nM16\nG05\nX1.0Y1.0\n",
     "h(1.000,1.000)0.800 r(2.550,80.000)-(2.550,79.500)0.800 r(2.550,79.500)-(2.550,80.500)0.800"},
    {"RapidMovesCutNothing", "METRIC\nT1C1.0\nG00X1.0Y1.0\nX5.0\nM15\nG01X6.0\nM17\nG01X9.0\n",
     "r(5.000,1.000)-(6.000,1.000)1.000"},
    {"RoutedArcs", "METRIC\nT1C2.0\nG00X0Y0\nM15\nG03X10.0Y10.0A10.0\nG02X20.0Y0I0J-10.0\nG02I5.0\nM16\n",
     "a(0.000,0.000)-(10.000,10.000)c(0.000,10.000)ccw2.000 a(10.000,10.000)-(20.000,0.000)c(10.000,0.000)cw2.000 "
     "a(20.000,0.000)-(20.000,0.000)c(25.000,0.000)cw2.000"},
    {"EndOfProgramEndsReading", "METRIC\nT1C1.0\nX1.0Y1.0\nM30\nX2.0Y2.0\ngarbage\n", "h(1.000,1.000)1.000"},
    // Plating.
    {"PlatedByFileFunction", "M48\n; #@! TF.FileFunction,Plated,1,2,PTH\nMETRIC\nT1C1.0\n%\nT1\nX1.0Y1.0\n",
     "h(1.000,1.000)1.000", Plating::Plated},
    {"NonPlatedByTypeComment", "M48\n;TYPE=NON_PLATED\nMETRIC\nT1C3.0\n%\nT1\nX1.0Y1.0\n", "h(1.000,1.000)3.000",
     Plating::NonPlated},
    {"BothTypesIsMixed", "M48\n;TYPE=PLATED\nMETRIC\nT1C1.0\n;TYPE=NON_PLATED\nT2C3.0\n%\n", "", Plating::Mixed},
    // Bad input.
    {"MalformedNumber", "METRIC\nT1C0.8\nT1\nX1.2.3Y0\n", "line 4: a malformed number after X"},
    {"ToolWithoutDefinition", "M48\nMETRIC\nT1C0.8\n%\nT5\nX1.0Y1.0\n", "line 5: tool T5 is used without a diameter"},
    {"CoordinateBeforeAnyTool", "M48\nMETRIC\n%\nX1.0Y1.0\n", "line 4: a hole or cut before any tool"},
    {"UnloadedToolDrillsNothing", "METRIC\nT1C1.0\nT0\nX1.0Y1.0\n", "line 4: a hole or cut before any tool"},
    {"TextInTheBody", "METRIC\nT1C1.0\nX1.0Y1.0\nhello\n", "line 4: 'h' where a command letter belongs"},
    {"UnknownWordInTheBody", "METRIC\nT1C1.0\nX1.0Y1.0\nBOGUS\n", "line 4: an unknown command"},
    {"BinaryData", "M48\n\x01\x02\x03\n", "line 2: a control character"},
    {"Patterns", "METRIC\nT1C1.0\nM25\nX1.0Y1.0\nM01\n", "line 3: patterns and their repeats"},
    {"CutterCompensation", "METRIC\nT1C1.0\nG00X0Y0\nG41\n", "line 4: cutter compensation"},
    {"ArcRadiusTooShort", "METRIC\nT1C1.0\nG00X0Y0\nM15\nG02X10.0A1.0\n", "line 5: an arc whose radius"},
    {"CoordinateBeyondReach", "METRIC\nT1C1.0\nX99999.0Y0\n", "line 3: a length beyond the reach"},
    {"RepeatBeyondTheBudget", "METRIC\nT1C1.0\nX0Y0\nR1000000000X0.001\n", "line 4: more than 10000000 holes"},
};

class DrillTest : public ::testing::TestWithParam<DrillCase> {};

TEST_P(DrillTest, ReadsWhereAndHowLargeOrNamesTheLine) {
  const DrillCase& c = GetParam();
  const std::string expected = c.Expected;
  if (expected.starts_with("line ")) {
    try {
      ReadDrillText(c.Text, "board.drl");
      FAIL() << "no error";
    } catch (const ReadError& e) {
      const std::string line = expected.substr(5, expected.find(':') - 5);
      EXPECT_EQ(std::to_string(e.Line()), line);
      EXPECT_TRUE(std::string(e.what()).starts_with("board.drl:" + line + ": ")) << e.what();
      EXPECT_NE(e.Reason().find(expected.substr(expected.find(": ") + 2)), std::string::npos) << e.what();
    }
    return;
  }
  const DrillFile drill = ReadDrillText(c.Text, "board.drl");
  EXPECT_EQ(Describe(drill), expected);
  EXPECT_EQ(drill.Plated, c.Plated);
  // The Gerber file written from it holds the same objects.
  const convert::ConvertedLayer layer = ToConvertedLayer(drill);
  std::ostringstream gerber;
  convert::WriteGerber(gerber, layer);
  EXPECT_EQ(Objects(ReadGerberText(gerber.str(), "board.gd1")), Objects(layer));
}

INSTANTIATE_TEST_SUITE_P(Rows, DrillTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DrillCase>& row) { return std::string(row.param.Name); });

TEST(DrillSummary, HolesSlotsAndPathsByDiameter) {
  const DrillFile drill = ReadDrillText(
      "M48\nMETRIC\nT1C1.0\nT2C0.8\nT3C1.2\nT4C2.0\n%\nT1\nX1.0Y1.0\nT2\nX2.0\nX3.0\nT3\nX0Y0G85X5.0Y0\n"
      "T4\nG00X0Y0\nM15\nG01X1.0\nY1.0\nM16\n",
      "board.drl");
  EXPECT_EQ(DrillSummary(drill), "holes: 0.800 mm x 2, 1.000 mm x 1; slots: 1.200 mm x 1; routed paths: 2.000 mm x 1");
  EXPECT_EQ(DrillSummary(ReadDrillText("M48\nMETRIC\n%\nM30\n", "empty.drl")), "no holes, slots or routed paths");
}

struct HeadCase {
  const char* Head;
  bool Drill;
};

TEST(DrillDetection, TellsDrillFilesFromGerberFiles) {
  const HeadCase kHeads[] = {
      {"M48\nINCH,TZ\n", true},
      {"G90\r\nM72\r\nM48\r\nT0C0.006\r\n", true},
      {"%\nT1C0.028F200S100\nX002250Y002300\n", true},
      {";PARTNO board\n;LEADER 240 CHARACTERS\nM48\nT01C.864\n", true},
      {"; DRILL file\nMETRIC,TZ\n", true},
      {"%FSLAX24Y24*%\n%MOIN*%\n", false},
      {"G04 drill drawing*\n%FSLAX24Y24*%\nT1C0.8\n", false},
      {"*\nG04 Mass Parameters ***\n%MOIN*%\n", false},
      {"X100Y200D01*\n", false},
      {"Board files for the fab\n", false},
      {"", false},
  };
  for (const HeadCase& c : kHeads) EXPECT_EQ(LooksLikeDrillFile(c.Head), c.Drill) << c.Head;
}

}  // namespace
}  // namespace gerberx::drill
