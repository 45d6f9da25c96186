#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include "apertures/ApertureFile.h"
#include "gerber/Drawing.h"
#include "gerber/GerberRun.h"
#include "host/Errors.h"
#include "host/HostBinding.h"
#include "pcbobjects/PcbBoard.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace zz::testing {
namespace {

template <typename Record>
Record Found(const std::optional<Record>& record, const char* kind) {
  if (!record) throw std::runtime_error(std::string("the object is not a ") + kind);
  return *record;
}

// Drives the drawing routines directly, on the stand-in's current board.
class Drawing : public ::testing::Test {
 protected:
  void SetUp() override {
    host::UnbindHostEntryPointsForTesting();
    standin::Reset();
    standin::Register();
    board_ = std::make_unique<TPcbBoard>(Server().Boards().CurrentBoardHandle());
    board_->Sync(kFetch);
    run_ = std::make_unique<GerberRun>(file_, table_, board_.get(), state_);
    ResetModalState(state_);
  }

  void Aperture(int32_t dcode, int32_t x, int32_t y, uint8_t shape) {
    table_.DefineAperture(dcode, x, y, 0, shape, 2);
    state_.CurrentDCode = dcode;
  }
  void MoveTo(int32_t x, int32_t y) { Operate(TOperation::Move, x, y); }
  void DrawTo(int32_t x, int32_t y) { Operate(TOperation::Draw, x, y); }
  void ArcTo(TInterpolation direction, int32_t x, int32_t y, int32_t i, int32_t j) {
    state_.Interpolation = direction;
    state_.CoordI = i;
    state_.CoordJ = j;
    DrawTo(x, y);
  }
  void Operate(TOperation operation, int32_t x, int32_t y) {
    state_.Operation = operation;
    state_.CoordX = x;
    state_.CoordY = y;
    ExecuteStatement(*run_, table_.FindAperture(state_.CurrentDCode));
  }

  void TearDown() override {
    run_.reset();
    board_.reset();
    standin::Unregister();
    host::UnbindHostEntryPointsForTesting();
  }

  standin::Server& Server() { return standin::TheServer(); }
  const standin::ChunkedVector<THandle>& Objects() { return Server().Boards().CurrentBoard().Objects; }
  standin::TrackRecord TrackAt(std::size_t i) { return Found(Server().Objects().FindTrack(Objects().at(i)), "track"); }
  standin::FillRecord FillAt(std::size_t i) { return Found(Server().Objects().FindFill(Objects().at(i)), "fill"); }
  standin::ArcRecord ArcAt(std::size_t i) { return Found(Server().Objects().FindArc(Objects().at(i)), "arc"); }
  standin::PadRecord PadAt(std::size_t i) { return Found(Server().Objects().FindPad(Objects().at(i)), "pad"); }

  TextFile file_;
  TApertureFile table_;
  TGerberState state_;
  std::unique_ptr<TPcbBoard> board_;
  std::unique_ptr<GerberRun> run_;
};

TEST_F(Drawing, RoundApertureDrawsATrack) {
  Aperture(10, 100000, 100000, 0);
  MoveTo(0, 0);
  DrawTo(1000000, 0);
  ASSERT_EQ(Objects().size(), 1u);
  const auto& track = TrackAt(0);
  EXPECT_EQ(track.X, 0);
  EXPECT_EQ(track.X2, 1000000);
  EXPECT_EQ(track.Width, 100000);
  EXPECT_EQ(state_.PointX, 1000000);
}

TEST_F(Drawing, RectangleApertureDrawsTheGrownBox) {
  const struct {
    int32_t Width, Height, FromX, FromY, ToX, ToY;
    std::array<int32_t, 4> Box;  // X, Y, X2, Y2
  } cases[] = {
      {100000, 50000, 0, 0, 1000000, 0, {-50000, -25000, 1050000, 25000}},
      {5, 7, 10, 10, 0, 0, {-2, -3, 12, 13}},  // halves truncate: 2 and 3
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    Aperture(static_cast<int32_t>(11 + i), c.Width, c.Height, 1);
    MoveTo(c.FromX, c.FromY);
    DrawTo(c.ToX, c.ToY);
    const auto& fill = FillAt(i);
    EXPECT_EQ((std::array<int32_t, 4>{fill.X, fill.Y, fill.X2, fill.Y2}), c.Box) << i;
  }
}

TEST_F(Drawing, DrawBeforeAnyMoveStartsAtMinusOne) {
  Aperture(10, 10, 10, 0);
  DrawTo(100, 100);
  EXPECT_EQ(TrackAt(0).X, -1);
  EXPECT_EQ(TrackAt(0).Y, -1);
}

TEST_F(Drawing, ArcAnglesAndRadius) {
  Aperture(10, 20, 20, 0);
  MoveTo(0, 1000);
  ArcTo(TInterpolation::Clockwise, 1000, 0, 0, -1000);
  const auto& clockwise = ArcAt(0);
  EXPECT_EQ(clockwise.X, 0);
  EXPECT_EQ(clockwise.Y, 0);
  EXPECT_EQ(clockwise.StartAngle, 0.0);
  EXPECT_EQ(clockwise.EndAngle, 90.0);
  EXPECT_EQ(clockwise.Radius, 1000);
  EXPECT_EQ(state_.CoordI, 0);
  EXPECT_EQ(state_.CoordJ, 0);

  MoveTo(1000, 0);
  ArcTo(TInterpolation::CounterClockwise, 0, -1000, -1000, 0);
  EXPECT_EQ(ArcAt(1).StartAngle, 0.0);
  EXPECT_EQ(ArcAt(1).EndAngle, 270.0);

  // The radius is measured to the end point.
  MoveTo(1000, 0);
  ArcTo(TInterpolation::CounterClockwise, 0, 2000, -1000, 0);
  EXPECT_EQ(ArcAt(2).Radius, 2000);
  MoveTo(2000, 0);
  ArcTo(TInterpolation::CounterClockwise, 1001, -1, -1000, 0);
  EXPECT_EQ(ArcAt(3).EndAngle, -45.0);
}

TEST_F(Drawing, FullCircleOnlyAfterTheFirstExecutedStatement) {
  Aperture(10, 20, 20, 0);
  state_.MultiQuadrant = true;
  state_.FullCircleEnabled = false;
  state_.PointX = 1000;
  state_.PointY = 0;
  ArcTo(TInterpolation::CounterClockwise, 1000, 0, -1000, 0);
  EXPECT_EQ(ArcAt(0).EndAngle, ArcAt(0).StartAngle);
  ArcTo(TInterpolation::CounterClockwise, 1000, 0, -1000, 0);
  EXPECT_EQ(ArcAt(1).EndAngle, ArcAt(1).StartAngle + 360.0);
}

TEST_F(Drawing, FlashMakesAPadOfTheApertureShapeWithoutHole) {
  table_.DefineAperture(13, 300, 200, 150, 3, 0);  // relief with a hole
  state_.CurrentDCode = 13;
  Operate(TOperation::Flash, 5, 6);
  const auto& pad = PadAt(0);
  EXPECT_EQ(pad.X, 5);
  EXPECT_EQ(pad.Y, 6);
  EXPECT_EQ(pad.HoleSize, 0);
  EXPECT_EQ(pad.TopShape, PadShape::Relief);
  EXPECT_EQ(pad.MidShape, PadShape::Relief);
  EXPECT_EQ(pad.BotShape, PadShape::Relief);
  EXPECT_EQ(pad.MidXSize, 300);
  EXPECT_EQ(pad.BotYSize, 200);

  state_.CurrentDCode = 77;  // undefined: size 0, round
  Operate(TOperation::Flash, 0, 0);
  EXPECT_EQ(PadAt(1).TopXSize, 0);
  EXPECT_EQ(PadAt(1).TopShape, PadShape::Round);
}

TEST_F(Drawing, ObjectsTheHostFailsToCreateAreCountedAndLeftOut) {
  Server().Objects().FailEveryNthCreation(2);
  Aperture(10, 100000, 100000, 0);
  for (int32_t i = 0; i < 4; ++i) Operate(TOperation::Flash, i * 1000, 0);
  Aperture(11, 100000, 50000, 1);
  MoveTo(0, 0);
  DrawTo(1000, 0);
  DrawTo(2000, 0);
  ASSERT_EQ(Objects().size(), 3u);
  EXPECT_EQ(PadAt(0).X, 0);
  EXPECT_EQ(PadAt(1).X, 2000);
  EXPECT_EQ(FillAt(2).X2, 1000 + 50000);
  EXPECT_EQ(run_->ObjectsNotCreated, 3);
}

TEST(PadShapes, FollowTheApertureShape) {
  EXPECT_EQ(PadShapeForAperture(0), PadShape::Round);
  EXPECT_EQ(PadShapeForAperture(1), PadShape::Rectangle);
  EXPECT_EQ(PadShapeForAperture(2), PadShape::Octagon);
  EXPECT_EQ(PadShapeForAperture(3), PadShape::Relief);
  EXPECT_EQ(PadShapeForAperture(4), PadShape::None);
}

TEST_F(Drawing, FillBeyondTheRangeRaisesARangeError) {
  Aperture(11, 100, 100, 1);
  MoveTo(2147483600, 0);
  EXPECT_THROW(DrawTo(2147483640, 0), ERangeError);
  EXPECT_TRUE(Objects().empty());
}

TEST_F(Drawing, ArcWhoseRadiusNoCoordinateHoldsRaisesARangeError) {
  Aperture(10, 100, 100, 0);
  MoveTo(-2147483000, 0);  // centre at the start: the end point lies 4.29e9 units away
  try {
    ArcTo(TInterpolation::CounterClockwise, 2147483000, 0, 0, 0);
    ADD_FAILURE() << "no range error";
  } catch (const ERangeError& error) {
    EXPECT_NE(std::string(error.what()).find("arc radius"), std::string::npos) << error.what();
  }
  EXPECT_TRUE(Objects().empty());
}

}  // namespace
}  // namespace zz::testing
