#include "cli/BoardSvg.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "standin/Geometry.h"

namespace zzcli {
namespace {

using standin::ArcRecord;
using standin::ArcSweep;
using standin::Board;
using standin::BoardBounds;
using standin::Box;
using standin::CommonFields;
using standin::FillRecord;
using standin::ObjectStore;
using standin::PadRecord;
using standin::TrackRecord;
using zz::THandle;

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

void WriteCircle(std::ostream& out, double cx, double cy, double diameter, const char* colour) {
  out << "<circle cx=\"" << Mm(cx) << "\" cy=\"" << MmY(cy) << "\" r=\"" << Mm(diameter / 2) << "\" stroke=\"none\"";
  if (colour != nullptr) out << " fill=\"" << colour << '"';
  out << "/>\n";
}

// The fills, rectangles and discs of a group as one path. A renderer smooths each shape's edges
// on its own, so two shapes that abut leave a hairline of background between them; within one
// path the edge they share is no edge. Every part runs clockwise as seen, so that parts that
// overlap add up under the nonzero rule instead of cutting each other.
class AreaPath {
 public:
  void Rect(double cx, double cy, double w, double h, double rotation) {
    const double turn = (std::isfinite(rotation) ? rotation : 0.0) * kPi / 180.0;
    const double c = std::cos(turn);
    const double s = std::sin(turn);
    const double corners[4][2] = {{-w / 2, h / 2}, {w / 2, h / 2}, {w / 2, -h / 2}, {-w / 2, -h / 2}};
    for (int i = 0; i < 4; ++i) {
      const double x = cx + corners[i][0] * c - corners[i][1] * s;
      const double y = cy + corners[i][0] * s + corners[i][1] * c;
      d_ += (i == 0 ? "M" : "L") + Mm(x) + ' ' + MmY(y);
    }
    d_ += 'Z';
  }
  void Disc(double cx, double cy, double diameter) {
    const std::string r = Mm(diameter / 2);
    d_ += "M" + Mm(cx - diameter / 2) + ' ' + MmY(cy) + "A" + r + ' ' + r + " 0 1 1 " + Mm(cx + diameter / 2) + ' ' +
          MmY(cy) + "A" + r + ' ' + r + " 0 1 1 " + Mm(cx - diameter / 2) + ' ' + MmY(cy) + 'Z';
  }
  void Write(std::ostream& out) const {
    if (!d_.empty()) out << "<path stroke=\"none\" d=\"" << d_ << "\"/>\n";
  }

 private:
  std::string d_;
};

struct Hole {
  double X, Y, Size;
};

// A group's objects: the area path first, the strokes and other pads in their order, the holes
// through all of them last.
struct GroupDrawing {
  AreaPath Area;
  std::ostringstream Others;
  std::vector<Hole> Holes;
  void Write(std::ostream& out) const {
    Area.Write(out);
    out << Others.str();
    for (const Hole& hole : Holes) WriteCircle(out, hole.X, hole.Y, hole.Size, kBackground);
  }
};

void WriteFill(AreaPath& area, const FillRecord& f) {
  const double w = std::abs(static_cast<double>(f.X2) - f.X);
  const double h = std::abs(static_cast<double>(f.Y2) - f.Y);
  area.Rect((static_cast<double>(f.X) + f.X2) / 2, (static_cast<double>(f.Y) + f.Y2) / 2, w, h, f.Rotation);
}

void WriteOctagon(std::ostream& out, double cx, double cy, double w, double h, double rotation) {
  const double cut = std::min(w, h) / (2.0 + std::sqrt(2.0));  // a regular octagon in a square
  const double xs[8] = {-w / 2 + cut, w / 2 - cut, w / 2, w / 2, w / 2 - cut, -w / 2 + cut, -w / 2, -w / 2};
  const double ys[8] = {-h / 2, -h / 2, -h / 2 + cut, h / 2 - cut, h / 2, h / 2, h / 2 - cut, -h / 2 + cut};
  out << "<polygon points=\"";
  for (int i = 0; i < 8; ++i) out << (i == 0 ? "" : " ") << Mm(cx + xs[i]) << ',' << MmY(cy + ys[i]);
  out << "\" stroke=\"none\"" << Turned(rotation, cx, cy) << "/>\n";
}

void WritePad(GroupDrawing& group, const PadRecord& p) {
  const double w = std::abs(static_cast<double>(p.TopXSize));
  const double h = std::abs(static_cast<double>(p.TopYSize));
  std::ostream& out = group.Others;
  switch (p.TopShape) {
    case zz::PadShape::Round:
      if (w == h) {
        group.Area.Disc(p.X, p.Y, w);
      } else {
        WriteRect(out, p.X, p.Y, w, h, std::min(w, h) / 2, p.Rotation);
      }
      break;
    case zz::PadShape::Rectangle:
      group.Area.Rect(p.X, p.Y, w, h, p.Rotation);
      break;
    case zz::PadShape::Octagon:
      WriteOctagon(out, p.X, p.Y, w, h, p.Rotation);
      break;
    default:
      WriteCircle(out, p.X, p.Y, std::max(w, h), nullptr);
      break;
  }
  if (p.HoleSize > 0)
    group.Holes.push_back({static_cast<double>(p.X), static_cast<double>(p.Y), static_cast<double>(p.HoleSize)});
}

void WriteObject(GroupDrawing& group, const ObjectStore& objects, THandle handle) {
  if (const auto t = objects.FindTrack(handle)) {
    WriteTrack(group.Others, *t);
  } else if (const auto f = objects.FindFill(handle)) {
    WriteFill(group.Area, *f);
  } else if (const auto a = objects.FindArc(handle)) {
    WriteArc(group.Others, *a);
  } else if (const auto p = objects.FindPad(handle)) {
    WritePad(group, *p);
  }
}

constexpr double kUnitsPerMm = 1.0 / kMillimetresPerUnit;

// The drawing's frame, internal units: the objects with a margin around them.
struct Frame {
  double Left, Top, Width, Height;
};

Frame FrameOf(const ObjectStore& objects, const Board& board, const std::vector<SvgOverlay>& overlays) {
  std::optional<Box> bounds = BoardBounds(objects, board);
  for (const SvgOverlay& overlay : overlays) {
    for (const auto& ring : overlay.Rings) {
      for (const auto& [x, y] : ring) Include(bounds, x, y);
    }
  }
  if (!bounds) bounds = Box{-5 * kUnitsPerMm, -5 * kUnitsPerMm, 5 * kUnitsPerMm, 5 * kUnitsPerMm};
  const double margin = 0.5 * kUnitsPerMm + 0.02 * std::max(bounds->Width(), bounds->Height());
  return {bounds->Left - margin, bounds->Top + margin, bounds->Width() + 2 * margin, bounds->Height() + 2 * margin};
}

void WriteProlog(std::ostream& out, const Frame& f) {
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Mm(f.Width) << "mm\" height=\"" << Mm(f.Height)
      << "mm\" viewBox=\"" << Mm(f.Left) << ' ' << MmY(f.Top) << ' ' << Mm(f.Width) << ' ' << Mm(f.Height) << "\">\n"
      << "<rect x=\"" << Mm(f.Left) << "\" y=\"" << MmY(f.Top) << "\" width=\"" << Mm(f.Width) << "\" height=\""
      << Mm(f.Height) << "\" fill=\"" << kBackground << "\"/>\n";
}

// The layers with a place and colour of their own. Drawn far from the viewer first: the bottom
// side, the inner layers from the bottom up, the top side, then the layers that are no copper,
// mechanical layers and the keep-out layer (often the outline) last.
struct NamedLayer {
  int Layer;
  int Rank;
  const char* Colour;
};
constexpr NamedLayer kNamedLayers[] = {
    {34, 0, "#d9c08f"},    // BottomOverlay
    {36, 1, "#767e86"},    // BottomPaste
    {38, 2, "#3aa07a"},    // BottomSolder
    {32, 3, "#3a7be4"},    // BottomLayer
    {1, 100, "#e4453a"},   // TopLayer
    {37, 101, "#8f46c0"},  // TopSolder
    {35, 102, "#a9aeb4"},  // TopPaste
    {33, 103, "#f2ea6a"},  // TopOverlay
    {56, 300, "#ff4fc8"},  // KeepOutLayer
};

const NamedLayer* Named(int layer) {
  for (const NamedLayer& named : kNamedLayers) {
    if (named.Layer == layer) return &named;
  }
  return nullptr;
}

int DrawingRank(int layer) {
  if (const NamedLayer* named = Named(layer)) return named->Rank;
  if (layer >= 39 && layer <= 54) return 4 + (54 - layer);  // internal planes
  if (layer >= 2 && layer <= 31) return 20 + (31 - layer);  // mid layers, MidLayer30 lowest
  if (layer >= 57 && layer <= 72) return 200 + layer;       // mechanical
  return 150 + layer;
}

// Named layers their own colour, the others from small palettes by kind.
std::string LayerColour(int layer) {
  static constexpr const char* kMid[] = {"#d4a82a", "#2fb5a0", "#b065d8", "#6fbf3a", "#e0709a", "#4f9ad8"};
  static constexpr const char* kPlane[] = {"#3f9f5f", "#8f7fcf", "#cf8f3f", "#3f8fbf"};
  static constexpr const char* kMechanical[] = {"#e6e6e6", "#5fd7e6", "#e6a05f", "#a0e65f"};
  if (const NamedLayer* named = Named(layer)) return named->Colour;
  if (layer >= 2 && layer <= 31) return kMid[(layer - 2) % 6];
  if (layer >= 39 && layer <= 54) return kPlane[(layer - 39) % 4];
  if (layer >= 57 && layer <= 72) return kMechanical[(layer - 57) % 4];
  return "#b0b0b0";
}

// Copper and mask layers let the layers below show through.
bool SeeThrough(int layer) { return layer <= 32 || (layer >= 35 && layer <= 54); }

// A file name as XML text: markup characters escaped, bytes that are no UTF-8 as "?".
std::string XmlText(const std::string& text) {
  std::string s;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    for (std::size_t k = 1; k < length; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) length = 0;
    }
    if (length > 1) {
      s.append(text, i, length);
      i += length - 1;
    } else if (length == 0 || c < 0x20) {
      s += '?';
    } else if (c == '&') {
      s += "&amp;";
    } else if (c == '<') {
      s += "&lt;";
    } else if (c == '>') {
      s += "&gt;";
    } else if (c == '"') {
      s += "&quot;";
    } else {
      s += static_cast<char>(c);
    }
  }
  return s;
}

void WriteOverlay(std::ostream& out, const SvgOverlay& overlay) {
  out << "<g id=\"" << XmlText(overlay.Name) << "\"><path fill=\"" << overlay.Colour
      << "\" fill-opacity=\"0.8\" fill-rule=\"evenodd\" stroke=\"none\" d=\"";
  for (const auto& ring : overlay.Rings) {
    for (std::size_t i = 0; i < ring.size(); ++i) {
      out << (i == 0 ? "M" : " L") << Mm(ring[i].first) << ' ' << MmY(ring[i].second);
    }
    if (!ring.empty()) out << " Z";
  }
  out << "\"/></g>\n";
}

void WriteLegendRow(std::ostream& out, double x, double baseline, double font, const std::string& colour,
                    const std::string& text) {
  out << "<rect x=\"" << Mm(x) << "\" y=\"" << MmY(baseline + font * 0.85) << "\" width=\"" << Mm(font)
      << "\" height=\"" << Mm(font) << "\" fill=\"" << colour << "\"/>\n"
      << "<text x=\"" << Mm(x + 1.5 * font) << "\" y=\"" << MmY(baseline) << "\" fill=\"#e8e8e8\">" << XmlText(text)
      << "</text>\n";
}

}  // namespace

void WriteBoardSvg(std::ostream& out, const ObjectStore& objects, const Board& board,
                   const std::vector<SvgOverlay>& overlays) {
  Frame frame = FrameOf(objects, board, overlays);
  // With overlays, a legend below the board names the board and each overlay.
  const double font = std::max(frame.Width / 36, 0.8 * kUnitsPerMm);
  const double row = 1.6 * font;
  const double boardBottom = frame.Top - frame.Height;
  if (!overlays.empty()) frame.Height += (static_cast<double>(overlays.size()) + 1.5) * row;
  WriteProlog(out, frame);
  out << "<g fill=\"" << kCopper << "\" stroke=\"" << kCopper << "\" stroke-linecap=\"round\">\n";
  GroupDrawing group;
  for (const THandle handle : board.Objects) WriteObject(group, objects, handle);
  group.Write(out);
  out << "</g>\n";
  if (!overlays.empty()) {
    for (const SvgOverlay& overlay : overlays) WriteOverlay(out, overlay);
    out << "<g id=\"legend\" font-family=\"sans-serif\" font-size=\"" << Mm(font) << "\">\n";
    WriteLegendRow(out, frame.Left + row / 2, boardBottom - row, font, kCopper, "imported board");
    for (std::size_t i = 0; i < overlays.size(); ++i) {
      WriteLegendRow(out, frame.Left + row / 2, boardBottom - static_cast<double>(i + 2) * row, font,
                     overlays[i].Colour, overlays[i].Name);
    }
    out << "</g>\n";
  }
  out << "</svg>\n";
}

void WriteLayeredBoardSvg(std::ostream& out, const ObjectStore& objects, const Board& board,
                          const std::vector<LayerFile>& sources, const std::vector<SvgOverlay>& overlays) {
  constexpr int kLayers = zz::kMaxClassicLayer + 1;
  std::array<std::vector<THandle>, kLayers> byLayer;
  std::array<std::string, kLayers> files;
  std::array<bool, kLayers> present{};
  for (const THandle handle : board.Objects) {
    const CommonFields* common = objects.FindCommon(handle);
    const int layer = common != nullptr ? zz::LayerNumberFromId(common->LayerId) : 0;
    const int index = layer < kLayers ? layer : 0;
    byLayer[index].push_back(handle);
    present[index] = true;
  }
  for (const LayerFile& source : sources) {
    const int index = source.Layer < kLayers ? source.Layer : 0;
    files[index] += (files[index].empty() ? "" : ", ") + source.File;
    present[index] = true;
  }
  std::vector<int> layers;
  for (int layer = 0; layer < kLayers; ++layer) {
    if (present[layer]) layers.push_back(layer);
  }
  std::sort(layers.begin(), layers.end(), [](int a, int b) { return DrawingRank(a) < DrawingRank(b); });

  // The legend below the board, its text scaled to the board and the frame widened when a line
  // would not fit.
  Frame frame = FrameOf(objects, board, overlays);
  const double font = std::max(frame.Width / 36, 0.8 * kUnitsPerMm);
  const double row = 1.6 * font;
  std::size_t longest = 0;
  for (const int layer : layers) {
    longest = std::max(longest, zz::LayerNameTable[layer].View().size() + 2 + files[layer].size());
  }
  frame.Width = std::max(frame.Width, (2.5 + 0.6 * static_cast<double>(longest)) * font + row);
  const double boardBottom = frame.Top - frame.Height;
  frame.Height += (static_cast<double>(layers.size() + overlays.size()) + 0.5) * row;
  WriteProlog(out, frame);

  for (const int layer : layers) {
    const std::string colour = LayerColour(layer);
    out << "<g id=\"" << zz::LayerNameTable[layer].View() << "\" fill=\"" << colour << "\" stroke=\"" << colour
        << "\" stroke-linecap=\"round\"" << (SeeThrough(layer) ? " opacity=\"0.85\"" : "") << ">\n";
    GroupDrawing group;
    for (const THandle handle : byLayer[layer]) WriteObject(group, objects, handle);
    group.Write(out);
    out << "</g>\n";
  }
  for (const SvgOverlay& overlay : overlays) WriteOverlay(out, overlay);
  out << "<g id=\"legend\" font-family=\"sans-serif\" font-size=\"" << Mm(font) << "\">\n";
  const double x = frame.Left + row / 2;
  for (std::size_t i = 0; i < layers.size(); ++i) {
    const int layer = layers[i];
    const double baseline = boardBottom - static_cast<double>(i + 1) * row;
    out << "<rect x=\"" << Mm(x) << "\" y=\"" << MmY(baseline + font * 0.85) << "\" width=\"" << Mm(font)
        << "\" height=\"" << Mm(font) << "\" fill=\"" << LayerColour(layer) << "\"/>\n"
        << "<text x=\"" << Mm(x + 1.5 * font) << "\" y=\"" << MmY(baseline) << "\" fill=\"#e8e8e8\">"
        << zz::LayerNameTable[layer].View() << (files[layer].empty() ? "" : ": ") << XmlText(files[layer])
        << "</text>\n";
  }
  for (std::size_t i = 0; i < overlays.size(); ++i) {
    const double baseline = boardBottom - static_cast<double>(layers.size() + i + 1) * row;
    WriteLegendRow(out, x, baseline, font, overlays[i].Colour, overlays[i].Name);
  }
  out << "</g>\n</svg>\n";
}

std::string LayeredBoardSvg(const ObjectStore& objects, const Board& board, const std::vector<LayerFile>& sources) {
  std::ostringstream out;
  WriteLayeredBoardSvg(out, objects, board, sources);
  return out.str();
}

std::string BoardSvg(const ObjectStore& objects, const Board& board) {
  std::ostringstream out;
  WriteBoardSvg(out, objects, board);
  return out.str();
}

}  // namespace zzcli
