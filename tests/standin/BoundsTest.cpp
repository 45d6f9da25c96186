#include <gtest/gtest.h>

#include <functional>

#include "QueryFields.h"
#include "standin/Geometry.h"
#include "standin/Registration.h"
#include "standin/Server.h"

namespace standin {
namespace {

constexpr uint8_t kArc = 1, kPad = 2, kFill = 6;
constexpr double kSin45 = 707.10678118654752;

zz::THandle Arc(double start, double end, int32_t width) {
  return test::Place<test::Arc>(kArc, [&](test::Arc& a) { a = test::Arc{a.C, 0, 0, 1000, start, end, width}; });
}
zz::THandle Fill(int32_t x2, int32_t y2, double rotation) {
  return test::Place<test::Fill>(kFill, [&](test::Fill& f) { f = test::Fill{f.C, 0, 0, x2, y2, 0, rotation}; });
}
zz::THandle Pad(uint8_t shape, double rotation) {
  return test::Place<test::Pad>(kPad, [&](test::Pad& p) {
    p.TopX = 2000;
    p.TopY = 1000;
    p.TopShape = shape;
    p.Rotation = rotation;
  });
}

struct BoundsCase {
  const char* Name;
  std::function<zz::THandle()> Place;
  Box Expected;
};

// Arcs reach the extreme of every axis they cross; turned fills and pads cover their turned corners.
TEST(ObjectBounds, ArcsReachTheAxesTheyCrossAndTurnedShapesTheirCorners) {
  const BoundsCase cases[] = {
      {"arc 45..135 crosses +y", [] { return Arc(45.0, 135.0, 0); }, {-kSin45, kSin45, kSin45, 1000}},
      {"arc 270..90 crosses 0 degrees", [] { return Arc(270.0, 90.0, 0); }, {0, -1000, 1000, 1000}},
      {"arc 135..45 crosses three axes, stroke 100", [] { return Arc(135.0, 45.0, 100); },
       {-1050, -1050, 1050, kSin45 + 50}},
      {"fill turned 90 about its centre", [] { return Fill(2000, 1000, 90.0); }, {500, -500, 1500, 1500}},
      {"fill turned 45", [] { return Fill(1000, 1000, 45.0); },
       {500 - kSin45, 500 - kSin45, 500 + kSin45, 500 + kSin45}},
      {"rectangular pad turned 90", [] { return Pad(2, 90.0); }, {-500, -1000, 500, 1000}},
      {"oblong round pad turned 90: a box, not a circle", [] { return Pad(1, 90.0); }, {-500, -1000, 500, 1000}},
  };
  for (const BoundsCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Reset();
    const std::optional<Box> box = ObjectBounds(TheServer().Objects(), c.Place());
    ASSERT_TRUE(box.has_value());
    EXPECT_NEAR(box->Left, c.Expected.Left, 1e-6);
    EXPECT_NEAR(box->Bottom, c.Expected.Bottom, 1e-6);
    EXPECT_NEAR(box->Right, c.Expected.Right, 1e-6);
    EXPECT_NEAR(box->Top, c.Expected.Top, 1e-6);
  }
}

}  // namespace
}  // namespace standin
