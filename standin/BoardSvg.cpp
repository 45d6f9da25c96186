#include "standin/BoardSvg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "standin/Geometry.h"

namespace standin {
namespace {

constexpr const char* kBackground = "#0b1a14";
constexpr const char* kCopper = "#c87533";
constexpr double kPi = 3.14159265358979323846;

// Millimetres with four decimals (0.1 micrometre), trailing zeros dropped; never "nan".
std::string Mm(double units) {
  double mm = units * kMillimetresPerUnit;
  if (!std::isfinite(mm)) mm = 0.0;
  char text[48];
  std::snprintf(text, sizeof text, "%.4f", mm);
  std::string s(text);
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

// Board y grows upwards, SVG y downwards.
std::string MmY(double units) { return Mm(-units); }

std::string Degrees(double degrees) {
  if (!std::isfinite(degrees)) degrees = 0.0;
  char text[48];
  std::snprintf(text, sizeof text, "%.6g", degrees);
  return text;
}

// Counter-clockwise on the board is clockwise in SVG's own y-down angles, hence the minus.
std::string Turned(double rotation, double cx, double cy) {
  if (rotation == 0.0 || !std::isfinite(rotation)) return "";
  return " transform=\"rotate(" + Degrees(-rotation) + ' ' + Mm(cx) + ' ' + MmY(cy) + ")\"";
}

void WriteTrack(std::ostream& out, const TrackRecord& t) {
  out << "<line x1=\"" << Mm(t.X) << "\" y1=\"" << MmY(t.Y) << "\" x2=\"" << Mm(t.X2) << "\" y2=\"" << MmY(t.Y2)
      << "\" stroke-width=\"" << Mm(std::abs(static_cast<double>(t.Width))) << "\"/>\n";
}

void WriteArc(std::ostream& out, const ArcRecord& a) {
  const double width = std::abs(static_cast<double>(a.LineWidth));
  const double r = std::abs(static_cast<double>(a.Radius));
  const double sweep = ArcSweep(a.StartAngle, a.EndAngle);
  if (sweep >= 360.0) {
    out << "<circle cx=\"" << Mm(a.X) << "\" cy=\"" << MmY(a.Y) << "\" r=\"" << Mm(r)
        << "\" fill=\"none\" stroke-width=\"" << Mm(width) << "\"/>\n";
    return;
  }
  const double start = (std::isfinite(a.StartAngle) ? a.StartAngle : 0.0) * kPi / 180.0;
  const double end = start + sweep * kPi / 180.0;
  const double x1 = a.X + a.Radius * std::cos(start);
  const double y1 = a.Y + a.Radius * std::sin(start);
  const double x2 = a.X + a.Radius * std::cos(end);
  const double y2 = a.Y + a.Radius * std::sin(end);
  // Sweep flag 0: counter-clockwise as seen, since the y axis is flipped.
  out << "<path d=\"M " << Mm(x1) << ' ' << MmY(y1) << " A " << Mm(r) << ' ' << Mm(r) << " 0 "
      << (sweep > 180.0 ? 1 : 0) << " 0 " << Mm(x2) << ' ' << MmY(y2) << "\" fill=\"none\" stroke-width=\"" << Mm(width)
      << "\"/>\n";
}

void WriteRect(std::ostream& out, double cx, double cy, double w, double h, double corner, double rotation) {
  out << "<rect x=\"" << Mm(cx - w / 2) << "\" y=\"" << MmY(cy + h / 2) << "\" width=\"" << Mm(w) << "\" height=\""
      << Mm(h) << '"';
  if (corner > 0.0) out << " rx=\"" << Mm(corner) << "\" ry=\"" << Mm(corner) << '"';
  out << " stroke=\"none\"" << Turned(rotation, cx, cy) << "/>\n";
}

void WriteFill(std::ostream& out, const FillRecord& f) {
  const double w = std::abs(static_cast<double>(f.X2) - f.X);
  const double h = std::abs(static_cast<double>(f.Y2) - f.Y);
  WriteRect(out, (static_cast<double>(f.X) + f.X2) / 2, (static_cast<double>(f.Y) + f.Y2) / 2, w, h, 0.0, f.Rotation);
}

void WriteCircle(std::ostream& out, double cx, double cy, double diameter, const char* colour) {
  out << "<circle cx=\"" << Mm(cx) << "\" cy=\"" << MmY(cy) << "\" r=\"" << Mm(diameter / 2) << "\" stroke=\"none\"";
  if (colour != nullptr) out << " fill=\"" << colour << '"';
  out << "/>\n";
}

void WriteOctagon(std::ostream& out, double cx, double cy, double w, double h, double rotation) {
  const double cut = std::min(w, h) / (2.0 + std::sqrt(2.0));  // a regular octagon in a square
  const double xs[8] = {-w / 2 + cut, w / 2 - cut, w / 2, w / 2, w / 2 - cut, -w / 2 + cut, -w / 2, -w / 2};
  const double ys[8] = {-h / 2, -h / 2, -h / 2 + cut, h / 2 - cut, h / 2, h / 2, h / 2 - cut, -h / 2 + cut};
  out << "<polygon points=\"";
  for (int i = 0; i < 8; ++i) out << (i == 0 ? "" : " ") << Mm(cx + xs[i]) << ',' << MmY(cy + ys[i]);
  out << "\" stroke=\"none\"" << Turned(rotation, cx, cy) << "/>\n";
}

void WritePad(std::ostream& out, const PadRecord& p) {
  const double w = std::abs(static_cast<double>(p.TopXSize));
  const double h = std::abs(static_cast<double>(p.TopYSize));
  switch (p.TopShape) {
    case zz::PadShape::Round:
      if (w == h) {
        WriteCircle(out, p.X, p.Y, w, nullptr);
      } else {
        WriteRect(out, p.X, p.Y, w, h, std::min(w, h) / 2, p.Rotation);
      }
      break;
    case zz::PadShape::Rectangle:
      WriteRect(out, p.X, p.Y, w, h, 0.0, p.Rotation);
      break;
    case zz::PadShape::Octagon:
      WriteOctagon(out, p.X, p.Y, w, h, p.Rotation);
      break;
    default:
      WriteCircle(out, p.X, p.Y, std::max(w, h), nullptr);
      break;
  }
  if (p.HoleSize > 0) WriteCircle(out, p.X, p.Y, p.HoleSize, kBackground);
}

}  // namespace

void WriteBoardSvg(std::ostream& out, const ObjectStore& objects, const Board& board) {
  constexpr double kUnitsPerMm = 1.0 / kMillimetresPerUnit;
  std::optional<Box> bounds = BoardBounds(objects, board);
  if (!bounds) bounds = Box{-5 * kUnitsPerMm, -5 * kUnitsPerMm, 5 * kUnitsPerMm, 5 * kUnitsPerMm};
  const double margin = 0.5 * kUnitsPerMm + 0.02 * std::max(bounds->Width(), bounds->Height());
  const double left = bounds->Left - margin;
  const double top = bounds->Top + margin;
  const double width = bounds->Width() + 2 * margin;
  const double height = bounds->Height() + 2 * margin;

  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Mm(width) << "mm\" height=\"" << Mm(height)
      << "mm\" viewBox=\"" << Mm(left) << ' ' << MmY(top) << ' ' << Mm(width) << ' ' << Mm(height) << "\">\n"
      << "<rect x=\"" << Mm(left) << "\" y=\"" << MmY(top) << "\" width=\"" << Mm(width) << "\" height=\"" << Mm(height)
      << "\" fill=\"" << kBackground << "\"/>\n"
      << "<g fill=\"" << kCopper << "\" stroke=\"" << kCopper << "\" stroke-linecap=\"round\">\n";
  for (const THandle handle : board.Objects) {
    if (const auto t = objects.FindTrack(handle)) {
      WriteTrack(out, *t);
    } else if (const auto f = objects.FindFill(handle)) {
      WriteFill(out, *f);
    } else if (const auto a = objects.FindArc(handle)) {
      WriteArc(out, *a);
    } else if (const auto p = objects.FindPad(handle)) {
      WritePad(out, *p);
    }
  }
  out << "</g>\n</svg>\n";
}

std::string BoardSvg(const ObjectStore& objects, const Board& board) {
  std::ostringstream out;
  WriteBoardSvg(out, objects, board);
  return out.str();
}

}  // namespace standin
