// The proof finds what a conversion loses or adds past the tolerance, and passes what stays
// within it: hand-written originals against hand-written "converted" files.

#include <gtest/gtest.h>

#include <string>

#include "gerberx/convert/Convert.h"
#include "gerberx/convert/Decompose.h"
#include "gerberx/convert/Proof.h"

namespace gerberx::convert {
namespace {

struct ProofCase {
  std::string Name;
  std::string Original, Written;  // after a millimetre header, 4.6 digits
  bool Exceeds;
  double UncoveredMm2, AddedMm2;    // expected to within 1 %, or below 0.001 mm2 when 0
  double WorstX0 = 0, WorstY0 = 0;  // the lower left corner of the largest piece, when it exceeds
};

std::ostream& operator<<(std::ostream& out, const ProofCase& c) { return out << c.Name; }

Layer Read(const std::string& body, const char* name) {
  return ReadGerberText(std::string("%FSLAX46Y46*%\n%MOMM*%\n") + body + "M02*\n", name, ReadingOptions(0.005));
}

void ExpectNear(double got, double want, const char* what) {
  if (want == 0) {
    EXPECT_LT(got, 0.001) << what << " " << got;
  } else {
    // Rows are a quarter of the tolerance apart: a gap across them is measured to a row.
    EXPECT_NEAR(got, want, want * 0.01 + 0.0025) << what << " " << got;
  }
}

class ProofTest : public ::testing::TestWithParam<ProofCase> {};

TEST_P(ProofTest, FindsWhatDiffersPastTheTolerance) {
  const ProofCase& c = GetParam();
  const ProofResult proof = Prove(Read(c.Original, "o.gbr"), Read(c.Written, "w.gbr"), DecomposeOptions{}.Tolerance);
  EXPECT_EQ(proof.Exceeds(), c.Exceeds) << proof.UncoveredMm2 << " uncovered, " << proof.AddedMm2 << " added, worst "
                                        << proof.WorstMm2 << " at " << ToMm(proof.Worst.min.x) << ", "
                                        << ToMm(proof.Worst.min.y);
  ExpectNear(proof.UncoveredMm2, c.UncoveredMm2, "uncovered");
  ExpectNear(proof.AddedMm2, c.AddedMm2, "added");
  if (c.Exceeds) {
    EXPECT_NEAR(ToMm(proof.Worst.min.x), c.WorstX0, 0.01) << proof.WorstMm2;
    EXPECT_NEAR(ToMm(proof.Worst.min.y), c.WorstY0, 0.01) << proof.WorstMm2;
  } else {
    EXPECT_TRUE(proof.Worst.empty);
  }
}

// Rows eight times farther apart than the finest, as on a file too large for those: a lost
// quarter, an added disc, a cut drawn over are still found, and what is drawn within the tolerance
// still passes; only differences a few rows thin go unseen.
TEST_P(ProofTest, CoarseRowsAgreeButOnTheThinnestDifferences) {
  const ProofCase& c = GetParam();
  if (c.Exceeds && c.UncoveredMm2 + c.AddedMm2 < 0.05) GTEST_SKIP() << "thinner than the coarse rows";
  // The squares' outlines cross some 6,400 rows at the finest pitch.
  constexpr double kCrossings = 800;
  const ProofResult proof =
      Prove(Read(c.Original, "o.gbr"), Read(c.Written, "w.gbr"), DecomposeOptions{}.Tolerance, kCrossings);
  EXPECT_EQ(proof.Exceeds(), c.Exceeds) << proof.UncoveredMm2 << " uncovered, " << proof.AddedMm2 << " added";
  if (!c.Exceeds) {
    // The band widened by the rows' pitch: no more is measured than in the finest rows (slivers
    // along shallow edges would be), though a gap thinner than the rows may go unseen.
    EXPECT_LE(proof.UncoveredMm2, c.UncoveredMm2 * 1.01 + 0.0025);
    EXPECT_LE(proof.AddedMm2, c.AddedMm2 * 1.01 + 0.0025);
  }
}

// A 2 x 2 mm square as a region, and its parts as rectangle flashes.
const std::string kSquare = "G36*X0Y0D02*X2000000D01*Y2000000D01*X0D01*Y0D01*G37*";
const std::string kRect = "%ADD10R,2X2*%%ADD11R,2X1*%%ADD12R,1X1*%";

INSTANTIATE_TEST_SUITE_P(
    Converter, ProofTest,
    ::testing::Values(
        ProofCase{"SameSquareAsAFlash", kSquare, kRect + "D10*X1000000Y1000000D03*", false, 0, 0},
        ProofCase{"ShiftedWithinTheTolerance", kSquare, kRect + "D10*X1002500Y997500D03*", false, 0, 0},
        // 0.015 mm off: a sliver 0.01 mm wide beyond the band on either side; the added one is the larger,
        // the band shortening the other.
        ProofCase{"ShiftedPastTheTolerance", kSquare, kRect + "D10*X1015000Y1000000D03*", true, 0.0199, 0.02, 2.005, 0},
        // The upper right quarter left out: all of it but the band along the original's edges.
        ProofCase{"QuarterMissing", kSquare, kRect + "D11*X1000000Y500000D03*D12*X500000Y1500000D03*", true,
                  0.995 * 0.995, 0, 1, 1},
        ProofCase{"DiscAddedApart", kSquare, kRect + "%ADD13C,0.3*%D10*X1000000Y1000000D03*D13*X3000000Y3000000D03*",
                  true, 0, 0.0699, 2.85, 2.85},
        // Gaps between two halves: thinner than half the tolerance is the measurement's own, wider
        // is lost copper, along either axis.
        ProofCase{"ThinGapAcrossRows", kSquare, "%ADD14R,0.999X2*%D14*X499500Y1000000D03*X1500500Y1000000D03*", false,
                  0.00398, 0},
        ProofCase{"ThinGapAlongRows", kSquare, "%ADD14R,2X0.999*%D14*X1000000Y499500D03*X1000000Y1500500D03*", false,
                  0.00398, 0},
        ProofCase{"WideGapAcrossRows", kSquare, "%ADD14R,0.99X2*%D14*X495000Y1000000D03*X1505000Y1000000D03*", true,
                  0.0398, 0, 0.99, 0.005},
        ProofCase{"WideGapAlongRows", kSquare, "%ADD14R,2X0.99*%D14*X1000000Y495000D03*X1000000Y1505000D03*", true,
                  0.0398, 0, 0.005, 0.99},
        // Turned 10 degrees and drawn 0.004 mm higher: slivers along shallow edges, all within the
        // tolerance.
        ProofCase{"TurnedSquareShiftedWithinTheTolerance",
                  "G36*X188840Y-158456D02*X2158456Y188840D01*X1811160Y2158456D01*X-158456Y1811160D01*"
                  "X188840Y-158456D01*G37*",
                  "G36*X188840Y-154456D02*X2158456Y192840D01*X1811160Y2162456D01*X-158456Y1815160D01*"
                  "X188840Y-154456D01*G37*",
                  false, 0, 0},
        // A track kept as it was covers part of a region; what is written for the region leaves
        // that part to it.
        ProofCase{"KeptTrackCoversWhatTheRegionLeft",
                  "%ADD10C,0.5*%D10*X0Y0D02*X2000000Y0D01*G36*X0Y0D02*X2000000D01*Y1000000D01*X0D01*Y0D01*G37*",
                  "%ADD10C,0.5*%D10*X0Y0D02*X2000000Y0D01*G36*X0Y250000D02*X2000000D01*Y1000000D01*X0D01*"
                  "Y250000D01*G37*",
                  false, 0, 0},
        // A clear square cut out of the middle: drawn around, it proves; drawn over, it is added.
        ProofCase{"ClearCutDrawnAround",
                  kSquare + "%LPC*%G36*X500000Y500000D02*X1500000D01*Y1500000D01*X500000D01*Y500000D01*G37*",
                  "%ADD15R,2X0.5*%%ADD16R,0.5X1*%D15*X1000000Y250000D03*X1000000Y1750000D03*D16*X250000Y1000000D03*"
                  "X1750000Y1000000D03*",
                  false, 0, 0},
        ProofCase{"ClearCutDrawnOver",
                  kSquare + "%LPC*%G36*X500000Y500000D02*X1500000D01*Y1500000D01*X500000D01*Y500000D01*G37*",
                  kRect + "D10*X1000000Y1000000D03*", true, 0, 0.99 * 0.99, 0.505, 0.505},
        // The written file's own polarity counts: the square drawn whole, then cut.
        ProofCase{"WrittenWithACut", kSquare, kRect + "D10*X1000000Y1000000D03*%LPC*%D12*X1500000Y1500000D03*", true,
                  0.995 * 0.995, 0, 1, 1},
        // A square turned 45 degrees drawn as a ring (a region cut in to its hole): its middle is lost.
        ProofCase{"TurnedSquareAsARing", "%AMRotRect*21,1,$1,$2,0,0,$3*%%ADD47RotRect,1.8X1.8X45*%D47*X0Y0D03*",
                  "G36*X-1272792Y0D02*X0Y-1272792D01*X1272792Y0D01*X0Y1272792D01*X-1272792Y0D01*X-636396Y0D01*"
                  "X0Y636396D01*X636396Y0D01*X0Y-636396D01*X-636396Y0D01*X-1272792Y0D01*G37*",
                  true, 0.81, 0, -0.636, -0.636}));

}  // namespace
}  // namespace gerberx::convert
