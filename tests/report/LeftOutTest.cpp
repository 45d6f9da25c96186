// The areas an import leaves out and adds, by cause, for a file whose answer is known by hand:
// a 10 x 10 mm region (the importer draws its contour with the 0.1 mm aperture selected last),
// a round pad it keeps, and a 1 x 1 mm rectangle drawn 3 mm right and 4 mm up (swept: 8 mm2; the
// importer's fill: its whole 4 x 5 mm box). The sweep's rows are 5.08 um apart: an area is exact
// within half a row along each of its horizontal edges.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "RealPlugin.h"
#include "ToolRun.h"

namespace zzcli {
namespace {

using test::RealPlugin;

class LeftOut : public test::TempFolder {};

TEST_F(LeftOut, AreasAddUpByCause) {
  const std::string file =
      Write("mixed.gtl",
            "%FSLAX33Y33*%\r\n%MOMM*%\r\n%ADD10C,0.1*%\r\n%ADD11C,1.0*%\r\n%ADD12R,1X1*%\r\n"
            "D10*\r\nG36*\r\nX0Y0D02*\r\nG01X10000Y0D01*\r\nY10000D01*\r\nX0D01*\r\nY0D01*\r\nG37*\r\n"
            "D11*\r\nX20000Y0D03*\r\nD12*\r\nX30000Y0D02*\r\nX33000Y4000D01*\r\nM02*\r\n");
  const test::ToolResult r = test::RunWith(RealPlugin(), {"import", file, "--json", "-", "--quiet"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const nlohmann::json left = nlohmann::json::parse(r.Out)["left_out"];
  const double pad = 0.7854;  // within the polygons' chord error
  const double rows = 0.04;   // half a row along 10 mm, twice
  EXPECT_NEAR(left["dark_mm2"], 100.0 + pad + 8.0, rows) << left;
  // The contour's 0.05 mm inside the square is on the board; the rest of the square is not.
  const double contourInside = 4 * 10 * 0.05 - 4 * 0.05 * 0.05;
  EXPECT_NEAR(left["by_cause_mm2"]["regions"], 100.0 - contourInside, rows) << left;
  EXPECT_NEAR(left["left_out_mm2"], 100.0 - contourInside, rows) << left;
  EXPECT_NEAR(left["share"], (100.0 - contourInside) / (100.0 + pad + 8.0), 1e-3) << left;
  EXPECT_NEAR(left["added_by_cause_mm2"]["slanted_rectangle_strokes"], 20.0 - 8.0, rows) << left;
  // Outside the square: four 0.05 mm strips and four round corners.
  EXPECT_NEAR(left["added_by_cause_mm2"]["region_contours"], 4 * 10 * 0.05 + 3.14159 * 0.05 * 0.05, rows) << left;
  EXPECT_FALSE(left["by_cause_mm2"].contains("other")) << left;
  EXPECT_EQ(left["statements"]["regions"]["lines"], nlohmann::json::array({7})) << left;
}

// An image scaled three times along x makes a 1 mm circle a 3 x 1 mm ellipse, reaching below
// and above the circle of the mean size its description gives.
TEST_F(LeftOut, AnImageScaledUnevenlyIsMeasuredAsDrawn) {
  const std::string file = Write("scaled.gtl", "%FSLAX46Y46*%\n%MOMM*%\n%SFA3B1*%\n%ADD10C,1*%\nD10*X0Y0D03*\nM02*\n");
  const test::ToolResult r = test::RunWith(RealPlugin(), {"import", file, "--json", "-", "--quiet"});
  const nlohmann::json left = nlohmann::json::parse(r.Out)["left_out"];
  // The chords, made for the mean size, grow with the scale along x; the circle alone is 1.99 mm2.
  EXPECT_NEAR(left["dark_mm2"], 3.14159 * 1.5 * 0.5, 0.03) << left;
}

// The two ends of the analysis: a file read as it means has nothing to measure, a file the importer
// turns down is read from a copy made readable, and all of it is left out.
TEST_F(LeftOut, EveryFileHasItsShare) {
  const struct {
    std::string File;
    double Share;
    bool FromCopy;
    const char* Cause;  // a statement the reading must list, or ""
    int Line;
  } rows[] = {
      {ZZ_EXAMPLES_DIR "/board.gtl", 0.0, false, "", 0},
      {ZZ_EXAMPLES_DIR "/modern/top.gbr", 1.0, true, "import_stopped", 13},
  };
  for (const auto& row : rows) {
    const test::ToolResult r = test::RunWith(RealPlugin(), {"import", row.File, "--json", "-", "--quiet"});
    const nlohmann::json left = nlohmann::json::parse(r.Out)["left_out"];
    EXPECT_EQ(left["share"], row.Share) << row.File << left;
    EXPECT_EQ(left.value("read_from_copy", false), row.FromCopy) << row.File << left;
    if (*row.Cause != '\0') {
      EXPECT_EQ(left["statements"][row.Cause]["lines"][0], row.Line) << row.File << left;
    }
  }
}

}  // namespace
}  // namespace zzcli
