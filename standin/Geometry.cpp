#include "standin/Geometry.h"

#include <algorithm>
#include <cmath>

namespace standin {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Radians(double degrees) { return degrees * kPi / 180.0; }

void Grow(Box& box, double by) {
  box.Left -= by;
  box.Bottom -= by;
  box.Right += by;
  box.Top += by;
}

// The four corners of a w x h box centred on (cx, cy), turned counter-clockwise by degrees.
void IncludeTurnedBox(std::optional<Box>& box, double cx, double cy, double w, double h, double degrees) {
  const double c = std::isfinite(degrees) ? std::cos(Radians(degrees)) : 1.0;
  const double s = std::isfinite(degrees) ? std::sin(Radians(degrees)) : 0.0;
  for (const double dx : {-w / 2, w / 2}) {
    for (const double dy : {-h / 2, h / 2}) Include(box, cx + dx * c - dy * s, cy + dx * s + dy * c);
  }
}

std::optional<Box> TrackBounds(const TrackRecord& t) {
  std::optional<Box> box;
  Include(box, t.X, t.Y);
  Include(box, t.X2, t.Y2);
  Grow(*box, std::abs(static_cast<double>(t.Width)) / 2);
  return box;
}

std::optional<Box> FillBounds(const FillRecord& f) {
  std::optional<Box> box;
  const double w = std::abs(static_cast<double>(f.X2) - f.X);
  const double h = std::abs(static_cast<double>(f.Y2) - f.Y);
  IncludeTurnedBox(box, (static_cast<double>(f.X) + f.X2) / 2, (static_cast<double>(f.Y) + f.Y2) / 2, w, h, f.Rotation);
  return box;
}

std::optional<Box> ArcBounds(const ArcRecord& a) {
  std::optional<Box> box;
  const double r = a.Radius;
  const double sweep = ArcSweep(a.StartAngle, a.EndAngle);
  if (sweep >= 360.0) {
    Include(box, a.X - std::abs(r), a.Y - std::abs(r));
    Include(box, a.X + std::abs(r), a.Y + std::abs(r));
  } else {
    const double start = std::isfinite(a.StartAngle) ? a.StartAngle : 0.0;
    const double end = start + sweep;
    Include(box, a.X + r * std::cos(Radians(start)), a.Y + r * std::sin(Radians(start)));
    Include(box, a.X + r * std::cos(Radians(end)), a.Y + r * std::sin(Radians(end)));
    // Every axis direction the arc passes on its way; a sweep below 360 passes at most four.
    const double first = std::floor(start / 90.0 + 1.0) * 90.0;
    for (int k = 0; k < 4 && first + 90.0 * k < end; ++k) {
      const double quarter = first + 90.0 * k;
      Include(box, a.X + r * std::cos(Radians(quarter)), a.Y + r * std::sin(Radians(quarter)));
    }
  }
  Grow(*box, std::abs(static_cast<double>(a.LineWidth)) / 2);
  return box;
}

std::optional<Box> PadBounds(const PadRecord& p) {
  std::optional<Box> box;
  const double w = std::abs(static_cast<double>(p.TopXSize));
  const double h = std::abs(static_cast<double>(p.TopYSize));
  const bool circle = (p.TopShape == zz::PadShape::Round && w == h) ||
                      (p.TopShape != zz::PadShape::Round && p.TopShape != zz::PadShape::Rectangle &&
                       p.TopShape != zz::PadShape::Octagon);
  if (circle) {
    const double d = std::max(w, h);
    Include(box, p.X - d / 2, p.Y - d / 2);
    Include(box, p.X + d / 2, p.Y + d / 2);
  } else {
    IncludeTurnedBox(box, p.X, p.Y, w, h, p.Rotation);
  }
  return box;
}

}  // namespace

void Include(std::optional<Box>& box, double x, double y) {
  if (!box) {
    box = Box{x, y, x, y};
    return;
  }
  box->Left = std::min(box->Left, x);
  box->Bottom = std::min(box->Bottom, y);
  box->Right = std::max(box->Right, x);
  box->Top = std::max(box->Top, y);
}

void Include(std::optional<Box>& box, const Box& other) {
  Include(box, other.Left, other.Bottom);
  Include(box, other.Right, other.Top);
}

double ArcSweep(double startAngle, double endAngle) {
  double sweep = endAngle - startAngle;
  if (!std::isfinite(sweep)) return 0.0;
  if (sweep < 0.0) sweep += 360.0;
  if (sweep < 0.0) sweep = std::fmod(sweep, 360.0) + 360.0;
  return sweep;
}

std::optional<Box> ObjectBounds(const ObjectStore& objects, THandle handle) {
  if (const auto t = objects.FindTrack(handle)) return TrackBounds(*t);
  if (const auto f = objects.FindFill(handle)) return FillBounds(*f);
  if (const auto a = objects.FindArc(handle)) return ArcBounds(*a);
  if (const auto p = objects.FindPad(handle)) return PadBounds(*p);
  return std::nullopt;
}

std::optional<Box> BoardBounds(const ObjectStore& objects, const Board& board, std::size_t first) {
  std::optional<Box> box;
  for (auto it = board.Objects.From(first); it != board.Objects.end(); ++it) {
    if (const std::optional<Box> own = ObjectBounds(objects, *it)) Include(box, *own);
  }
  return box;
}

}  // namespace standin
