#include "report/BoardShapes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

#include "standin/Geometry.h"

namespace zzreport {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kChordError = kChordErrorMm * gerberx::kUnitsPerMm;

gerberx::Coord Floor(double y) {
  const double limit = static_cast<double>(gerberx::kCoordLimit);
  return static_cast<gerberx::Coord>(std::clamp(std::floor(y), -limit, limit));
}

gerberx::PadForm FormOf(uint8_t shape) {
  switch (shape) {
    case zz::PadShape::Round:
      return gerberx::PadForm::Round;
    case zz::PadShape::Rectangle:
      return gerberx::PadForm::Rectangle;
    case zz::PadShape::Octagon:
      return gerberx::PadForm::Octagon;
    default:
      return gerberx::PadForm::Disc;
  }
}

}  // namespace

void AddObjectOutline(gerberx::Outline& out, const standin::ObjectStore& objects, zz::THandle handle) {
  // A record beyond the reader's range draws nothing rather than ending the analysis.
  try {
    if (const auto t = objects.FindTrack(handle)) {
      gerberx::TrackOutline(out, {t->X, t->Y}, {t->X2, t->Y2}, std::abs(double(t->Width)), kChordError);
    } else if (const auto f = objects.FindFill(handle)) {
      gerberx::FillOutline(out, {f->X, f->Y}, {f->X2, f->Y2}, f->Rotation);
    } else if (const auto a = objects.FindArc(handle)) {
      const double start = std::isfinite(a->StartAngle) ? a->StartAngle * kPi / 180.0 : 0.0;
      const double sweep = standin::ArcSweep(a->StartAngle, a->EndAngle) * kPi / 180.0;
      gerberx::ArcOutline(out, {a->X, a->Y}, std::abs(double(a->Radius)), start, sweep, std::abs(double(a->LineWidth)),
                          kChordError);
    } else if (const auto p = objects.FindPad(handle)) {
      gerberx::PadOutline(out, {p->X, p->Y}, p->TopXSize, p->TopYSize, FormOf(p->TopShape), p->Rotation, kChordError);
    }
  } catch (const std::range_error&) {
    out.clear();
  }
}

gerberx::Coord LowestY(const standin::ObjectStore& objects, zz::THandle handle) {
  const std::optional<standin::Box> box = standin::ObjectBounds(objects, handle);
  return box ? Floor(box->Bottom) : 0;
}

}  // namespace zzreport
