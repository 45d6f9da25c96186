// What the converter keeps as it is and what it decomposes, on small hand-written files read as
// `zizozudu convert` reads them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <numbers>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "CoverageCheck.h"
#include "gerberx/convert/Convert.h"
#include "gerberx/convert/GerberWriter.h"
#include "gerberx/convert/Proof.h"

namespace gerberx::convert {
namespace {

struct KeepCase {
  std::string Name;
  std::string Body;  // after a millimetre header, 4.6 digits
  std::size_t Pads, Tracks, Arcs, Decomposed;
};

std::ostream& operator<<(std::ostream& out, const KeepCase& c) { return out << c.Name; }

class KeepTest : public ::testing::TestWithParam<KeepCase> {};

// What is kept and what is decomposed draw the file's dark area, and the written file, read back,
// passes the proof.
void ExpectDrawsTheFile(const std::string& body, const Layer& layer, const ConvertedLayer& out) {
  const Layer whole = ReadGerberText(std::string("%FSLAX46Y46*%\n%MOMM*%\n") + body, "t.gbr", {});
  std::vector<IntShape> shapes;
  for (const Polygon& polygon : whole.dark) {
    IntShape shape;
    for (const Point& p : polygon.outer) shape.Outer.push_back({p.x, p.y});
    for (const Ring& hole : polygon.holes) {
      shape.Holes.emplace_back();
      for (const Point& p : hole) shape.Holes.back().push_back({p.x, p.y});
    }
    shapes.push_back(std::move(shape));
  }
  Pieces kept = out.Decomposed;
  for (const KeptPad& pad : out.Pads) {
    if (pad.Shape == ApertureShape::Circle) {
      kept.Discs.push_back({pad.At, pad.XSize});
    } else {
      ASSERT_EQ(pad.Shape, ApertureShape::Rectangle);
      kept.Fills.push_back(
          {pad.At.X - pad.XSize / 2, pad.At.Y - pad.YSize / 2, pad.At.X + pad.XSize / 2, pad.At.Y + pad.YSize / 2});
    }
  }
  for (const KeptTrack& track : out.Tracks) kept.Tracks.push_back({track.From, track.To, track.Width});
  for (const KeptArc& arc : out.Arcs) {
    ASSERT_FALSE(arc.Clockwise);
    const auto degrees = [&](IntPoint p) {
      return std::atan2(double(p.Y - arc.Centre.Y), double(p.X - arc.Centre.X)) * 180 / std::numbers::pi;
    };
    double start = degrees(arc.From), end = degrees(arc.To);
    if (arc.From == arc.To) {
      start = 0;
      end = 360;
    } else if (end < start) {
      end += 360;
    }
    const int64_t radius =
        std::llround(std::hypot(double(arc.From.X - arc.Centre.X), double(arc.From.Y - arc.Centre.Y)));
    kept.Arcs.push_back({arc.Centre, radius, start, end, arc.Width});
  }
  const testing::CoverageMiss miss =
      testing::CheckCoverage(shapes, kept, static_cast<double>(DecomposeOptions{}.Tolerance), 200);
  EXPECT_EQ(miss.Uncovered, 0u);
  EXPECT_EQ(miss.Overshoot, 0u);
  std::ostringstream written;
  WriteGerber(written, out);
  const ProofResult proof =
      Prove(layer, ReadGerberText(written.str(), "w.gbr", ReadingOptions(0.005)), DecomposeOptions{}.Tolerance);
  EXPECT_FALSE(proof.Exceeds()) << proof.UncoveredMm2 << " mm2 uncovered, " << proof.AddedMm2 << " mm2 added";
}

TEST_P(KeepTest, KeepsWhatTheImporterDrawsAlikeAndDecomposesTheRest) {
  const KeepCase& c = GetParam();
  const Layer layer = ReadGerberText(std::string("%FSLAX46Y46*%\n%MOMM*%\n") + c.Body, "t.gbr", ReadingOptions(0.005));
  const ConvertedLayer out = ConvertLayer(layer, {});
  EXPECT_EQ(out.Pads.size(), c.Pads);
  EXPECT_EQ(out.Tracks.size(), c.Tracks);
  EXPECT_EQ(out.Arcs.size(), c.Arcs);
  EXPECT_EQ(out.Decomposed.Count() > 0, c.Decomposed > 0);
  ExpectDrawsTheFile(c.Body, layer, out);
}

INSTANTIATE_TEST_SUITE_P(
    Converter, KeepTest,
    ::testing::Values(
        KeepCase{"RectangleTurnedAQuarterIsAPad", "%ADD10R,2X1*%%LR90*%D10*X0Y0D03*", 1, 0, 0, 0},
        KeepCase{"RectangleTurnedOtherwiseIsDecomposed", "%ADD10R,2X1*%%LR30*%D10*X0Y0D03*", 0, 0, 0, 1},
        KeepCase{"ObroundTurnedOtherwiseIsATrack", "%ADD10O,2X1*%%LR30*%D10*X0Y0D03*", 0, 1, 0, 0},
        // Two rectangles and four corner circles: six pads, no decomposition.
        KeepCase{"RoundedRectangleMacroIsPads",
                 "%AMRR*21,1,1.6,2,0,0,0*21,1,2,1.6,0,0,0*1,1,0.4,0.8,0.8*1,1,0.4,-0.8,0.8*"
                 "1,1,0.4,0.8,-0.8*1,1,0.4,-0.8,-0.8*%%ADD10RR*%D10*X0Y0D03*",
                 6, 0, 0, 0},
        // Turned: the inner 1.6 x 0.6 rectangle drawn round with 0.4 mm tracks, one more inside.
        KeepCase{"TurnedRoundedRectangleMacroIsTracks",
                 "%AMRR*21,1,1.6,1,0,0,0*21,1,2,0.6,0,0,0*1,1,0.4,0.8,0.3*1,1,0.4,-0.8,0.3*"
                 "1,1,0.4,0.8,-0.3*1,1,0.4,-0.8,-0.3*%%ADD10RR*%%LR30*%D10*X0Y0D03*",
                 0, 5, 0, 0},
        // Drawn as an outline with circles and lines on its edges, as well; the lines cover no more.
        KeepCase{"RoundedRectangleWithOutlineIsPads",
                 "%AMRO*4,1,4,-0.8,-0.3,0.8,-0.3,0.8,0.3,-0.8,0.3,-0.8,-0.3,0*1,1,0.4,-0.8,-0.3*"
                 "1,1,0.4,0.8,-0.3*1,1,0.4,0.8,0.3*1,1,0.4,-0.8,0.3*20,1,0.4,-0.8,-0.3,0.8,-0.3,0*"
                 "20,1,0.4,0.8,-0.3,0.8,0.3,0*20,1,0.4,0.8,0.3,-0.8,0.3,0*20,1,0.4,-0.8,0.3,-0.8,-0.3,0*%"
                 "%ADD10RO*%D10*X0Y0D03*",
                 6, 0, 0, 0},
        KeepCase{"TurnedRoundedRectangleWithOutlineIsTracks",
                 "%AMRO*4,1,4,-0.8,-0.3,0.8,-0.3,0.8,0.3,-0.8,0.3,-0.8,-0.3,0*1,1,0.4,-0.8,-0.3*"
                 "1,1,0.4,0.8,-0.3*1,1,0.4,0.8,0.3*1,1,0.4,-0.8,0.3*20,1,0.4,-0.8,-0.3,0.8,-0.3,0*"
                 "20,1,0.4,0.8,-0.3,0.8,0.3,0*20,1,0.4,0.8,0.3,-0.8,0.3,0*20,1,0.4,-0.8,0.3,-0.8,-0.3,0*%"
                 "%ADD10RO*%%LR30*%D10*X0Y0D03*",
                 0, 5, 0, 0},
        // Turned rectangles whose corners keep clear of each other: tracks for each.
        KeepCase{"TurnedCrossIsTracks", "%AMX*21,1,1.4,1,0,0,0*21,1,2,0.4,0,0,0*%%ADD10X*%%LR30*%D10*X0Y0D03*", 0, 22,
                 0, 0},
        // The same corners with a bar between them is no rounded rectangle.
        KeepCase{"TurnedCornersWithABarAreDecomposed",
                 "%AMRX*21,1,1.6,0.2,0,0,0*1,1,0.4,0.8,0.3*1,1,0.4,-0.8,0.3*"
                 "1,1,0.4,0.8,-0.3*1,1,0.4,-0.8,-0.3*%%ADD10RX*%%LR30*%D10*X0Y0D03*",
                 0, 0, 0, 1},
        // Each quarter an arc as wide as the ring, and three rings of narrower arcs and tracks.
        KeepCase{"ThermalIsArcsAndTracks", "%AMT*7,0,0,2,1.2,0.3,0*%%ADD10T*%%LR20*%D10*X0Y0D03*", 0, 24, 28, 0},
        // Hairlines drawn by a macro (an assembly drawing's symbols): one round track for each
        // slanted line, one pad for each circle and line along an axis, where fills and stairs
        // took hundreds.
        KeepCase{"HairlineMacroIsATrackForEachLine",
                 "%AMH*21,1,2,0.02,0,0,30*20,1,0.01,0,0,1,0.5,0*20,1,0.0254,0,0,0,1,0*1,1,0.01,1,1*%%ADD10H*%"
                 "D10*X0Y0D03*",
                 2, 2, 0, 0},
        // Wider than a hairline: a track's round ends would leave the square corners past the
        // tolerance, so the line gets a core and rings into its corners.
        KeepCase{"LineWiderThanAHairlineIsACoreAndRings", "%AMW*21,1,2,0.05,0,0,30*%%ADD10W*%D10*X0Y0D03*", 0, 5, 0, 0},
        // Wider lines at any angle, by centre or by ends: a core track and two rings into the corners.
        KeepCase{"CentreLineTurnedIsACoreAndRings", "%AMW*21,1,2,0.2,0,0,30*%%ADD10W*%D10*X0Y0D03*", 0, 9, 0, 0},
        KeepCase{"VectorLineIsACoreAndRings", "%AMV*20,1,0.2,0,0,1.732,1,0*%%ADD10V*%D10*X0Y0D03*", 0, 9, 0, 0},
        // A line with a dot as wide as it on each end is one round track; wider dots stay pads.
        KeepCase{"LineWithDotsOnItsEndsIsOneTrack",
                 "%AMDL*20,1,0.2,0,0,1.732,1,0*1,1,0.2,0,0*1,1,0.2,1.732,1*%%ADD10DL*%D10*X0Y0D03*", 0, 1, 0, 0},
        KeepCase{"LineAlongAnAxisWithDotsOnItsEndsIsOneTrack",
                 "%AMDL*21,1,1,0.2,0.5,0,0*1,1,0.2,0,0*1,1,0.2,1,0*%%ADD10DL*%D10*X0Y0D03*", 0, 1, 0, 0},
        KeepCase{"LineWithWiderDotsIsATrackAndPads",
                 "%AMDL*20,1,0.2,0,0,1.732,1,0*1,1,0.3,0,0*1,1,0.3,1.732,1*%%ADD10DL*%%LR15*%D10*X0Y0D03*", 2, 1, 0, 0},
        // A fiducial's corner: two lines, each with its own dots, two of them on one place.
        KeepCase{"CornerOfLinesWithADotEachIsTwoTracks",
                 "%AMFA*20,1,0.2,0,0,-1.5,0,0*1,1,0.2,0,0*1,1,0.2,-1.5,0*20,1,0.2,0,0,0,1.5,0*1,1,0.2,0,0*"
                 "1,1,0.2,0,1.5*%%ADD10FA*%%LR20*%D10*X0Y0D03*",
                 0, 2, 0, 0},
        KeepCase{"PolylineWithRoundJoinsIsATrackForEachLine",
                 "%AMPL*20,1,0.2,0,0,1,0,0*20,1,0.2,1,0,1.5,1,0*20,1,0.2,1.5,1,0,0,0*1,1,0.2,0,0*1,1,0.2,1,0*"
                 "1,1,0.2,1.5,1*%%ADD10PL*%D10*X0Y0D03*",
                 0, 3, 0, 0},
        // Circles off the flash point, turned with it: a pad each, where they overlap too.
        KeepCase{"MacroCirclesArePads",
                 "%AMCI*1,1,0.8,0.3,0.2*1,1,0.5,-0.2,0*1,1,0.3,1,1*%%ADD10CI*%%LR30*%D10*X0Y0D03*", 3, 0, 0, 0},
        KeepCase{"DonutMacroIsAFullCircleArc", "%AMD*1,1,2,0,0*1,0,1.5,0,0*%%ADD10D*%D10*X0Y0D03*", 0, 0, 1, 0},
        KeepCase{"OutlineMacroIsDecomposed", "%AMT*4,1,3,0,0,2,0,0,2,0,0,0*%%ADD10T*%D10*X0Y0D03*", 0, 0, 0, 1},
        // G74 ends that meet: a dot, which equal ends in a multi-quadrant file would make a circle.
        KeepCase{"ArcOfNoLengthIsADot", "%ADD10C,0.5*%D10*G74*X1000000Y0D02*G03X1000000Y0I1000000J0D01*", 0, 1, 0, 0},
        // The clear flash reaches the track read without its area: the track is decomposed.
        KeepCase{"TrackCutByALaterClearFlashIsDecomposed",
                 "%ADD10C,0.5*%%ADD11C,1*%D10*X0Y0D02*X5000000Y0D01*%LPC*%D11*X2500000Y0D03*", 0, 0, 0, 1},
        // 302 copies of a block with a clear flash stepped onto one place: each clear flash cuts
        // what it touches once, not every copy before it.
        KeepCase{"ClearFlashesSteppedOntoOnePlace",
                 "%FSLAX25Y25*MOIN*%%ABD10*%%ADD11C,0.01*%%ABD12*%D11*X0Y0D03*%AB*%D12*X100Y0D03*%LPC*%D11*X0Y0D03*"
                 "%AB*%%LPD*%%SRX302*X300D01*GY2I0.1J0.1*%D10*X0Y0D03*%SR*%"
                 "G36*X0Y0D02*X100D02*X300D01*G75*G03X200Y300I-100J0D01*G37*",
                 0, 0, 0, 1},
        // A region 0.02 mm wide along a diagonal, 8.6 mm long, its ends bitten round: the stairs
        // beside its edge tracks reach past the far edge, and the ring's stairs cross each other.
        KeepCase{"ThinDiagonalRegionIsDecomposed",
                 "G75*G36*X8597900Y8613140D02*G03X8613140Y8597900I7620J-7620D01*G01X7620Y-7620D01*"
                 "G03X-7620Y7620I-7620J7620D01*G01X8597900Y8613140D01*G37*",
                 0, 0, 0, 1},
        KeepCase{"TrackBesideAClearFlashIsKept",
                 "%ADD10C,0.5*%%ADD11C,1*%D10*X0Y0D02*X5000000Y0D01*%LPC*%D11*X2500000Y3000000D03*", 0, 1, 0, 0},
        // A circle cut by one as large beside it: a crescent whose tips are thinner than any
        // track. At a tip the outline turns back onto the other circle, and an arc track fitted
        // round that turn lay inside the clear circle.
        KeepCase{"CrescentBetweenTwoCircles", "%ADD10C,25.654*%D10*X25400Y0D03*%LPC*%X0Y0D03*", 0, 0, 0, 1},
        // An image scaled unevenly makes a circle an ellipse, which no pad draws.
        KeepCase{"CircleInAnImageScaledUnevenlyIsDecomposed", "%SFA3B1*%%ADD10C,1*%D10*X0Y0D03*", 0, 0, 0, 1},
        // A circle inside a thermal of its radius: where their chords fail to meet, hairline holes
        // the pieces around stopped short of. A hole a few tolerances wide stays open, a square
        // one too (no pad of the importer has a hole).
        KeepCase{"CircleInsideAThermalOfItsRadius", "%AMT*1,1,3,0,0*7,0,0,4,3,0.5,45*%%ADD10T*%D10*X0Y0D03*", 0, 0, 0,
                 1},
        KeepCase{"SmallSquareHoleStaysOpen", "%ADD10R,1X1X0.015X0.015*%D10*X0Y0D03*", 0, 0, 0, 1},
        // A slit a hairline wide with a dot at its end: thin for its edge, but the dot is no hairline.
        KeepCase{"HairlineSlitWithADotStaysOpen",
                 "%ADD10R,1X1*%%ADD11C,0.002*%%ADD12C,0.02*%D10*X0Y0D03*%LPC*%D11*X-400000Y0D02*X400000Y0D01*"
                 "D12*X400000Y0D03*",
                 0, 0, 0, 1},
        // A hole wider than its pad clears all of it: nothing to write, nothing to prove.
        KeepCase{"HoleWiderThanItsPadDrawsNothing", "%ADD10R,2X1X5*%D10*X0Y0D03*", 0, 0, 0, 0},
        // Arcs whose ends lie at radii far apart, cut: the path spirals, and a circle moved along
        // it reaches farther than the band beside its radii.
        KeepCase{"SpiralArcFromTheCentreCut",
                 "%ADD10C,0.5*%%ADD11C,0.4*%G75*D10*X0Y0D02*G03X-3000000Y0I-20J0D01*%LPC*%D11*X0Y1500000D03*", 0, 0, 0,
                 1},
        KeepCase{"SpiralArcAwayFromTheCentreCut",
                 "%ADD10C,0.5*%%ADD11C,0.4*%G75*D10*X1000000Y0D02*G03X-3000000Y0I-1000000J0D01*%LPC*%D11*"
                 "X0Y2000000D03*",
                 0, 0, 0, 1}),
    [](const ::testing::TestParamInfo<KeepCase>& row) { return row.param.Name; });

// Each copy of a block that draws a circle dark and then clear cuts all the copies before it: the
// work grows with the square of the copies, so it is bounded, and the bound is said before the
// cut that would pass it.
TEST(ConverterBounds, ClearCutsOverOnePlaceEndAtTheBoundOnWork) {
  const std::string text =
      "%FSLAX25Y25*MOIN*%\n%ABD10*%\n%ADD11C,1.01*%\n%ABD12*%D11*X0Y0D03*%AB*%\n"
      "D12*X100Y0D03*%LPC*%D11*X0Y0D03*\n%AB*%\n%LPD*%%SRX5Y5I0.1J0.1*%D10*X0Y0D03*%SR*%\nM02*\n";
  const Layer layer = ReadGerberText(text, "c.gbr", ReadingOptions(0.005));
  DecomposeOptions options;
  EXPECT_NO_THROW(ConvertLayer(layer, options));
  options.MaxCutEdges = 20'000;
  try {
    ConvertLayer(layer, options);
    ADD_FAILURE() << "no error";
  } catch (const WorkBoundError& e) {
    EXPECT_NE(std::string(e.what()).find("c.gbr:"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("of the file's 20000 are left (the bound on work"), std::string::npos)
        << e.what();
  }
}

// A square turned by any angle is a disc and rings of tracks along its edges; the disc's size and
// the rings' widths come from the ladder, so squares of several sizes meet its steps differently.
// Regular polygons turned by any angle are decomposed as one disc and rings, too.
std::vector<KeepCase> TurnedCases() {
  struct Size {
    const char* Mm;
    std::size_t Tracks;
  };
  std::vector<KeepCase> cases;
  for (const Size& size : {Size{"0.1", 4}, Size{"0.25", 8}, Size{"0.6", 8}, Size{"1.8", 12}, Size{"5", 16}}) {
    for (const char* angle : {"7.5", "30", "45", "71"}) {
      std::string name = std::string("Square") + size.Mm + "Turned" + angle;
      std::replace(name.begin(), name.end(), '.', '_');
      cases.push_back({name,
                       std::string("%AMRotRect*21,1,$1,$2,0,0,$3*%%ADD47RotRect,") + size.Mm + "X" + size.Mm + "X" +
                           angle + "*%D47*X0Y0D03*",
                       1, size.Tracks, 0, 0});
    }
  }
  for (const char* vertices : {"3", "5", "6", "8"}) {
    for (const char* angle : {"0", "13", "45"}) {
      cases.push_back({std::string("Polygon") + vertices + "Turned" + angle,
                       std::string("%ADD10P,1.5X") + vertices + "X" + angle + "*%D10*X0Y0D03*", 0, 0, 0, 1});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Turned, KeepTest, ::testing::ValuesIn(TurnedCases()),
                         [](const ::testing::TestParamInfo<KeepCase>& row) { return row.param.Name; });

// Closed lines drawn as areas, by regions and by outline primitives: a ring made of an outer
// contour, a cut and the inner one back.
struct BandCase {
  std::string Name;
  std::vector<std::pair<double, double>> Outer, Inner;  // mm, counter-clockwise
  std::size_t Tracks;  // along the band; 0: decomposed otherwise, into fewer objects or exactly
};

std::ostream& operator<<(std::ostream& out, const BandCase& c) { return out << c.Name; }

std::vector<std::pair<double, double>> Turned(std::vector<std::pair<double, double>> points, double degrees) {
  const double a = degrees * std::numbers::pi / 180;
  for (auto& [x, y] : points)
    std::tie(x, y) = std::pair{x * std::cos(a) - y * std::sin(a), x * std::sin(a) + y * std::cos(a)};
  return points;
}

std::vector<std::pair<double, double>> Rectangle(double w, double h, double degrees) {
  return Turned({{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}}, degrees);
}

std::vector<std::pair<double, double>> Regular(int n, double apothem, double degrees) {
  std::vector<std::pair<double, double>> points;
  const double r = apothem / std::cos(std::numbers::pi / n);
  for (int k = 0; k < n; ++k) {
    const double a = (degrees + 360.0 * k / n) * std::numbers::pi / 180;
    points.emplace_back(r * std::cos(a), r * std::sin(a));
  }
  return points;
}

// The contour: around the outer ring, in to the inner one, around it the other way and out again.
std::vector<std::pair<double, double>> Keyhole(const BandCase& c) {
  std::vector<std::pair<double, double>> contour = c.Outer;
  contour.push_back(c.Outer[0]);
  contour.push_back(c.Inner[0]);
  for (std::size_t k = c.Inner.size() - 1; k > 0; --k) contour.push_back(c.Inner[k]);
  contour.push_back(c.Inner[0]);
  return contour;
}

class BandTest : public ::testing::TestWithParam<std::pair<BandCase, bool>> {};

TEST_P(BandTest, ClosedLinesAreTracksAlongThemWhereTheirCornersAllow) {
  const auto& [c, byOutline] = GetParam();
  const std::vector<std::pair<double, double>> contour = Keyhole(c);
  std::ostringstream body;
  body << std::fixed << std::setprecision(6);
  if (byOutline) {
    body << "%AMOL*4,1," << contour.size();
    for (const auto& [x, y] : contour) body << "," << x << "," << y;
    body << "," << contour[0].first << "," << contour[0].second << ",0*%%ADD10OL*%D10*X0Y0D03*";
  } else {
    const auto at = [&](std::pair<double, double> p, const char* op) {
      body << "X" << std::llround(p.first * 1e6) << "Y" << std::llround(p.second * 1e6) << op << "*";
    };
    body << "G36*";
    at(contour[0], "D02");
    for (std::size_t k = 1; k < contour.size(); ++k) at(contour[k], "D01");
    at(contour[0], "D01");
    body << "G37*";
  }
  const Layer layer = ReadGerberText("%FSLAX46Y46*%\n%MOMM*%\n" + body.str(), "t.gbr", ReadingOptions(0.005));
  const ConvertedLayer out = ConvertLayer(layer, {});
  if (c.Tracks > 0) {
    EXPECT_EQ(out.Decomposed.Tracks.size(), c.Tracks);
    EXPECT_EQ(out.Decomposed.Count(), c.Tracks);
  } else {
    EXPECT_GT(out.Decomposed.Fills.size() + out.Decomposed.Arcs.size(), 0u);
  }
  ExpectDrawsTheFile(body.str(), layer, out);
}

std::vector<std::pair<BandCase, bool>> BandCases() {
  const std::vector<BandCase> cases{
      // As thin as a hairline: the round joins stay within the tolerance of the square corners.
      {"ThinFrameTurned30", Rectangle(3, 2, 30), Rectangle(2.96, 1.96, 30), 4},
      // An octagon's corners turn by 45 degrees: a band 0.1 mm wide stays within them.
      {"OctagonRing", Regular(8, 1, 22.5), Regular(8, 0.9, 22.5), 8},
      {"HexagonRingTurned", Regular(6, 1, 7), Regular(6, 0.97, 7), 6},
      // Too wide for round joins at right angles.
      {"WideFrameTurned30", Rectangle(3, 2, 30), Rectangle(2.6, 1.6, 30), 0},
      {"FrameTurned30TooWideForRoundJoins", Rectangle(3, 2, 30), Rectangle(2.88, 1.88, 30), 0},
      // Fills are as few, and exact.
      {"ThinFrameOnTheAxes", Rectangle(3, 2, 0), Rectangle(2.96, 1.96, 0), 0},
      // Arcs draw a ring of many chords with fewer objects.
      {"RingOf64Chords", Regular(64, 1, 0), Regular(64, 0.8, 0), 0}};
  std::vector<std::pair<BandCase, bool>> rows;
  for (const BandCase& c : cases) {
    rows.emplace_back(c, false);
    rows.emplace_back(c, true);
  }
  return rows;
}

INSTANTIATE_TEST_SUITE_P(Bands, BandTest, ::testing::ValuesIn(BandCases()), [](const auto& row) {
  return row.param.first.Name + (row.param.second ? "Outline" : "Region");
});

}  // namespace
}  // namespace gerberx::convert
