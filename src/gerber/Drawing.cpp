#include "gerber/Drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "gerber/ArcGeometry.h"
#include "host/Errors.h"
#include "pcbobjects/CreateObject.h"
#include "pcbobjects/PcbArc.h"
#include "pcbobjects/PcbFill.h"
#include "pcbobjects/PcbPad.h"
#include "pcbobjects/PcbTrack.h"

namespace zz {
namespace {

// What the drawing takes of an aperture; sizes 0 and round for a D-code without one.
struct ApertureData {
  int32_t XSize = 0;
  int32_t YSize = 0;
  uint8_t Shape = kShapeRound;
};

ApertureData DataOf(const TAperture* aperture) {
  if (aperture == nullptr) return {};
  return {aperture->XSize, aperture->YSize, aperture->Shape};
}

// Sums of two 32-bit values are formed in 64 bits; a result no coordinate can hold ends the run.
int32_t Checked(int64_t value, const char* what) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    throw ERangeError(std::string(what) + " " + std::to_string(value) + " does not fit in 32-bit internal units");
  }
  return static_cast<int32_t>(value);
}

// An object the host fails to create is left out and counted; the run goes on.
template <typename TWrapper, typename SetFields>
void CreateCounted(GerberRun& run, SetFields&& setFields) {
  if (!CreateBoardObject<TWrapper>(*run.Board, std::forward<SetFields>(setFields))) ++run.ObjectsNotCreated;
}

MadeObject DrawLinear(GerberRun& run, const ApertureData& aperture) {
  TGerberState& state = run.State;
  const int32_t px = state.PointX;
  const int32_t py = state.PointY;
  state.PointX = state.CoordX;
  state.PointY = state.CoordY;
  if (run.Board == nullptr) return MadeObject::None;

  if (aperture.Shape == kShapeRectangle) {
    // The box of the stroke grown by half the aperture on each side, halves truncated.
    const int64_t hx = aperture.XSize / 2;
    const int64_t hy = aperture.YSize / 2;
    const int32_t x1 = Checked(std::min<int64_t>(px, state.CoordX) - hx, "fill corner");
    const int32_t y1 = Checked(std::min<int64_t>(py, state.CoordY) - hy, "fill corner");
    const int32_t x2 = Checked(std::max<int64_t>(px, state.CoordX) + hx, "fill corner");
    const int32_t y2 = Checked(std::max<int64_t>(py, state.CoordY) + hy, "fill corner");
    CreateCounted<TPcbFill>(run, [&](TPcbFill& fill) {
      fill.SetX(x1);
      fill.SetY(y1);
      fill.SetX2(x2);
      fill.SetY2(y2);
      fill.SetRotation(0.0);
    });
    return MadeObject::Fill;
  }

  CreateCounted<TPcbTrack>(run, [&](TPcbTrack& track) {
    track.SetX(px);
    track.SetY(py);
    track.SetX2(state.CoordX);
    track.SetY2(state.CoordY);
    track.SetWidth(aperture.XSize);
  });
  return MadeObject::Track;
}

MadeObject DrawArc(GerberRun& run, const ApertureData& aperture) {
  TGerberState& state = run.State;
  const int32_t cx = Checked(int64_t{state.PointX} + state.CoordI, "arc centre");
  const int32_t cy = Checked(int64_t{state.PointY} + state.CoordJ, "arc centre");

  const double startSide = PointAngle(static_cast<float>(cx), static_cast<float>(cy), static_cast<float>(state.PointX),
                                      static_cast<float>(state.PointY));
  state.PointX = state.CoordX;
  state.PointY = state.CoordY;
  const double endSide = PointAngle(static_cast<float>(cx), static_cast<float>(cy), static_cast<float>(state.CoordX),
                                    static_cast<float>(state.CoordY));

  // The host's arcs run counter-clockwise, so a clockwise arc is stored with its ends exchanged.
  double startAngle = startSide;
  double endAngle = endSide;
  if (state.Interpolation == TInterpolation::Clockwise) std::swap(startAngle, endAngle);
  if (state.MultiQuadrant && state.FullCircleEnabled && endAngle == startAngle) endAngle += 360.0;

  // The radius is measured to the end point of the Gerber arc.
  const float distance = PointDistance(static_cast<float>(cx), static_cast<float>(cy), static_cast<float>(state.CoordX),
                                       static_cast<float>(state.CoordY));
  const int32_t radius = Checked(std::llrint(static_cast<double>(distance)), "arc radius");

  MadeObject made = MadeObject::None;
  if (run.Board != nullptr) {
    made = MadeObject::Arc;
    CreateCounted<TPcbArc>(run, [&](TPcbArc& arc) {
      arc.SetX(cx);
      arc.SetY(cy);
      arc.SetStartAngle(startAngle);
      arc.SetEndAngle(endAngle);
      arc.SetLineWidth(aperture.XSize);
      arc.SetRadius(radius);
    });
  }
  state.CoordI = 0;
  state.CoordJ = 0;
  return made;
}

MadeObject FlashAperture(GerberRun& run, const ApertureData& aperture) {
  TGerberState& state = run.State;
  state.PointX = state.CoordX;
  state.PointY = state.CoordY;
  if (run.Board == nullptr) return MadeObject::None;
  const uint8_t shape = PadShapeForAperture(aperture.Shape);
  CreateCounted<TPcbPad>(run, [&](TPcbPad& pad) {
    pad.SetX(state.CoordX);
    pad.SetY(state.CoordY);
    pad.SetHoleSize(0);  // a flash makes no hole, whatever the aperture's hole
    pad.SetTopXSize(aperture.XSize);
    pad.SetMidXSize(aperture.XSize);
    pad.SetBotXSize(aperture.XSize);
    pad.SetTopYSize(aperture.YSize);
    pad.SetMidYSize(aperture.YSize);
    pad.SetBotYSize(aperture.YSize);
    pad.SetTopShape(shape);
    pad.SetMidShape(shape);
    pad.SetBotShape(shape);
  });
  return MadeObject::Pad;
}

}  // namespace

uint8_t PadShapeForAperture(uint8_t apertureShape) {
  switch (apertureShape) {
    case kShapeRound:
      return PadShape::Round;
    case kShapeRectangle:
      return PadShape::Rectangle;
    case kShapeOctagon:
      return PadShape::Octagon;
    case kShapeRelief:
      return PadShape::Relief;
    default:
      return PadShape::None;
  }
}

MadeObject ExecuteStatement(GerberRun& run, const TAperture* aperture) {
  TGerberState& state = run.State;
  MadeObject made = MadeObject::None;
  switch (state.Operation) {
    case TOperation::Move:
      state.PointX = state.CoordX;
      state.PointY = state.CoordY;
      break;
    case TOperation::Draw:
      if (state.Interpolation == TInterpolation::Clockwise || state.Interpolation == TInterpolation::CounterClockwise) {
        made = DrawArc(run, DataOf(aperture));
      } else {
        made = DrawLinear(run, DataOf(aperture));
      }
      break;
    case TOperation::Flash:
      made = FlashAperture(run, DataOf(aperture));
      break;
    case TOperation::None:
      break;
  }
  state.FullCircleEnabled = true;
  return made;
}

}  // namespace zz
