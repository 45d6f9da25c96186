#include "gerberx/Macro.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

#include "gerberx/PolygonSet.h"

namespace gerberx {

namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : text) {
    if (c == ',') {
      parts.push_back(part);
      part.clear();
    } else if (c != ' ' && c != '\t') {
      part += c;
    }
  }
  parts.push_back(part);
  return parts;
}

bool Finite(double v) { return std::isfinite(v); }

// One primitive's exposure and shape, in macro coordinates before its rotation.
struct Primitive {
  bool on = true;
  bool toggle = false;
  std::vector<DRing> dark;  // united
  double rotation = 0;
  // A circle or rectangle in macro units before the rotation, for MacroPart.
  MacroPart::Shape shape = MacroPart::Shape::Other;
  DPoint centre;
  double xSize = 0, ySize = 0;
  double angle = 0;  // radians: the rectangle's own x axis
};

// The primitive where `placed` puts it on the grid.
MacroPart Placed(const Primitive& prim, const Affine& placed) {
  MacroPart part;
  part.dark = prim.on && !prim.toggle;
  if (prim.shape == MacroPart::Shape::Other || !placed.KeepsAngles()) return part;
  part.shape = prim.shape;
  part.centre = ToGrid(placed.Apply(prim.centre));
  const double s = placed.LengthScale();
  part.xSize = static_cast<Coord>(std::llround(std::min(prim.xSize * s, double(kCoordLimit))));
  part.ySize = static_cast<Coord>(std::llround(std::min(prim.ySize * s, double(kCoordLimit))));
  const DPoint axis = placed.ApplyLinear({std::cos(prim.angle), std::sin(prim.angle)});
  part.rotation = std::atan2(axis.y, axis.x) * 180 / std::numbers::pi;
  return part;
}

}  // namespace

MacroTemplate MacroTemplate::Parse(std::string name, const std::vector<std::string>& body,
                                   const std::vector<int>& lines) {
  MacroTemplate m;
  m.name_ = std::move(name);
  for (std::size_t i = 0; i < body.size(); ++i) {
    const std::string& text = body[i];
    const int line = i < lines.size() ? lines[i] : 0;
    MacroItem item;
    item.line = line;
    item.text = text;
    try {
      if (text[0] == '$') {
        const std::size_t eq = text.find('=');
        if (eq == std::string::npos) throw MacroError(line, "variable without '=' in an aperture macro");
        std::string var = text.substr(1, eq - 1);
        while (!var.empty() && (var.back() == ' ' || var.back() == '\t')) var.pop_back();
        if (var.empty() || var.size() > 6 || var.find_first_not_of("0123456789") != std::string::npos)
          throw MacroError(line, "bad variable name '$" + var + "' in an aperture macro");
        item.assignment = true;
        item.variable = std::stoi(var);
        if (item.variable < 1) throw MacroError(line, "variable $0 in an aperture macro");
        item.parameters.push_back(Expression::Parse(text.substr(eq + 1)));
      } else {
        // A comment primitive: "0" followed by anything.
        if (text[0] == '0' &&
            (text.size() == 1 || text[1] == ' ' || text[1] == ',' || !std::isdigit((unsigned char)text[1])))
          continue;
        const std::vector<std::string> fields = SplitCommas(text);
        const std::string& code = fields[0];
        if (code.empty() || code.size() > 3 || code.find_first_not_of("0123456789") != std::string::npos)
          throw MacroError(line, "'" + code + "' is not a primitive code in an aperture macro");
        item.code = std::stoi(code);
        switch (item.code) {
          case 1:
          case 2:
          case 4:
          case 5:
          case 6:
          case 7:
          case 20:
          case 21:
          case 22:
            break;
          default:
            throw MacroError(line, "unknown aperture macro primitive " + code);
        }
        for (std::size_t f = 1; f < fields.size(); ++f) item.parameters.push_back(Expression::Parse(fields[f]));
      }
    } catch (const ExpressionError& e) {
      throw MacroError(line, std::string(e.what()) + " in aperture macro " + m.name_);
    }
    m.items_.push_back(std::move(item));
  }
  return m;
}

Area MacroTemplate::Instantiate(const std::vector<double>& parameters, const Affine& map, double chordError,
                                const MacroLimits& limits, std::vector<MacroPart>* parts) const {
  if (static_cast<long long>(items_.size()) > limits.maxPrimitives)
    throw MacroError(0, "aperture macro " + name_ + " has more than " + std::to_string(limits.maxPrimitives) +
                            " primitives (the bound on macro size)");
  Variables vars;
  for (std::size_t i = 0; i < parameters.size(); ++i) vars[static_cast<int>(i) + 1] = parameters[i];
  // Chord errors in macro units: the map scales them to the grid.
  const double scale = map.LengthScale() > 0 ? map.LengthScale() : 1;
  const double chord = chordError / scale;

  PolygonSet image;
  using namespace boost::polygon::operators;
  long long vertices = 0;
  auto spend = [&](std::size_t n, int line) {
    vertices += static_cast<long long>(n);
    if (vertices > limits.maxVertices)
      throw MacroError(line, "aperture macro " + name_ + ": an instance of more than " +
                                 std::to_string(limits.maxVertices) + " vertices (the bound on vertices)");
  };

  // Each boolean with the image goes through all of it: charged before it runs, so that a
  // large image cut again and again by small primitives ends at the bound, not after it.
  const auto charge = [&](const PolygonSet& with, int line) { spend(image.size() + with.size(), line); };
  PolygonSet run;  // dark primitives since the last other one
  int runLine = 0;
  const auto settle = [&] {
    if (run.empty()) return;
    charge(run, runLine);
    image += run;
    run.clear();
  };
  for (const MacroItem& item : items_) {
    std::vector<double> p;
    for (const Expression& e : item.parameters) {
      const double v = e.Evaluate(vars);
      if (!Finite(v))
        throw MacroError(item.line,
                         "aperture macro " + name_ + ": a value is not a finite number in '" + item.text + "'");
      p.push_back(v);
    }
    if (item.assignment) {
      vars[item.variable] = p[0];
      continue;
    }
    auto need = [&](std::size_t n) {
      if (p.size() < n)
        throw MacroError(item.line, "aperture macro " + name_ + ": primitive " + std::to_string(item.code) + " needs " +
                                        std::to_string(n) + " parameters in '" + item.text + "'");
    };
    auto arg = [&](std::size_t i) { return i < p.size() ? p[i] : 0.0; };
    Primitive prim;
    auto exposure = [&](double e) {
      const long v = std::lround(e);
      prim.on = v != 0;
      prim.toggle = v == 2;
    };
    switch (item.code) {
      case 1: {  // circle: exposure, diameter, x, y[, rotation]
        need(4);
        exposure(p[0]);
        prim.dark.push_back(Circle({p[2], p[3]}, std::abs(p[1]) / 2, chord));
        prim.rotation = arg(4);
        prim.shape = MacroPart::Shape::Circle;
        prim.centre = {p[2], p[3]};
        prim.xSize = prim.ySize = std::abs(p[1]);
        break;
      }
      case 2:
      case 20: {  // vector line: exposure, width, start x, y, end x, y, rotation
        need(6);
        exposure(p[0]);
        const double dx = p[4] - p[2], dy = p[5] - p[3], len = std::hypot(dx, dy);
        if (len > 0) {
          const double nx = -dy / len * p[1] / 2, ny = dx / len * p[1] / 2;
          prim.dark.push_back(
              {{p[2] + nx, p[3] + ny}, {p[2] - nx, p[3] - ny}, {p[4] - nx, p[5] - ny}, {p[4] + nx, p[5] + ny}});
          prim.shape = MacroPart::Shape::Rectangle;
          prim.centre = {(p[2] + p[4]) / 2, (p[3] + p[5]) / 2};
          prim.xSize = len;
          prim.ySize = std::abs(p[1]);
          prim.angle = std::atan2(dy, dx);
        }
        prim.rotation = arg(6);
        break;
      }
      case 21: {  // centre line: exposure, width, height, centre x, y, rotation
        need(5);
        exposure(p[0]);
        DRing r = Rectangle(std::abs(p[1]), std::abs(p[2]));
        for (DPoint& q : r) q = {q.x + p[3], q.y + p[4]};
        prim.dark.push_back(r);
        prim.rotation = arg(5);
        prim.shape = MacroPart::Shape::Rectangle;
        prim.centre = {p[3], p[4]};
        prim.xSize = std::abs(p[1]);
        prim.ySize = std::abs(p[2]);
        break;
      }
      case 22: {  // lower-left line: exposure, width, height, lower-left x, y, rotation
        need(5);
        exposure(p[0]);
        const double w = std::abs(p[1]), h = std::abs(p[2]);
        prim.dark.push_back({{p[3], p[4]}, {p[3] + w, p[4]}, {p[3] + w, p[4] + h}, {p[3], p[4] + h}});
        prim.rotation = arg(5);
        prim.shape = MacroPart::Shape::Rectangle;
        prim.centre = {p[3] + w / 2, p[4] + h / 2};
        prim.xSize = w;
        prim.ySize = h;
        break;
      }
      case 4: {  // outline: exposure, n, n+1 points, rotation
        need(2);
        exposure(p[0]);
        const double n = std::round(p[1]);
        if (n < 1 || n > limits.maxVerticesPerPrimitive)
          throw MacroError(item.line, "aperture macro " + name_ + ": outline with " +
                                          std::to_string(static_cast<long long>(n)) + " vertices (1 to " +
                                          std::to_string(limits.maxVerticesPerPrimitive) + ")");
        const std::size_t count = static_cast<std::size_t>(n) + 1;
        need(2 + 2 * count);
        DRing ring;
        for (std::size_t i = 0; i < count; ++i) ring.push_back({p[2 + 2 * i], p[3 + 2 * i]});
        prim.dark.push_back(std::move(ring));
        prim.rotation = arg(2 + 2 * count);
        break;
      }
      case 5: {  // polygon: exposure, vertices, centre x, y, diameter, rotation
        need(5);
        exposure(p[0]);
        const long n = std::lround(p[1]);
        if (n < 3 || n > 10000)
          throw MacroError(item.line, "aperture macro " + name_ + ": polygon with " + std::to_string(n) + " vertices");
        DRing r = RegularPolygon(std::abs(p[4]), static_cast<int>(n), 0);
        for (DPoint& q : r) q = {q.x + p[2], q.y + p[3]};
        prim.dark.push_back(r);
        prim.rotation = arg(5);
        break;
      }
      case 6: {  // moire: centre x, y, outer diameter, ring thickness, gap, rings, cross thickness, length, rotation
        need(8);
        const DPoint c{p[0], p[1]};
        const double thickness = std::abs(p[3]), gap = std::abs(p[4]);
        const long rings = std::lround(p[5]);
        if (rings < 0 || rings > 1000)
          throw MacroError(item.line, "aperture macro " + name_ + ": moire with " + std::to_string(rings) + " rings");
        double outer = std::abs(p[2]);
        PolygonSet moire;
        for (long i = 0; i < rings && outer > 0; ++i) {
          const double inner = outer - 2 * thickness;
          PolygonSet ring;
          const DRing circle = Circle(c, outer / 2, chord);
          spend(2 * circle.size(), item.line);
          AddRing(ring, ToGrid(circle, map.After(Affine::Rotation(arg(8)))));
          if (inner > 0) {
            PolygonSet hole;
            AddRing(hole, ToGrid(Circle(c, inner / 2, chord), map.After(Affine::Rotation(arg(8)))));
            ring -= hole;
          }
          moire += ring;
          outer = inner - 2 * gap;
        }
        const double ct = std::abs(p[6]), cl = std::abs(p[7]);
        for (DRing r : {Rectangle(cl, ct), Rectangle(ct, cl)}) {
          for (DPoint& q : r) q = {q.x + c.x, q.y + c.y};
          PolygonSet bar;
          AddRing(bar, ToGrid(r, map.After(Affine::Rotation(arg(8)))));
          moire += bar;
        }
        charge(moire, item.line);
        image += moire;
        if (parts != nullptr) parts->emplace_back();
        continue;
      }
      case 7: {  // thermal: centre x, y, outer diameter, inner diameter, gap, rotation
        need(6);
        const DPoint c{p[0], p[1]};
        const double outer = std::abs(p[2]), inner = std::abs(p[3]), gap = std::abs(p[4]);
        const Affine rot = map.After(Affine::Rotation(arg(5)));
        PolygonSet thermal, cut;
        const DRing outerCircle = Circle(c, outer / 2, chord);
        spend(2 * outerCircle.size(), item.line);
        AddRing(thermal, ToGrid(outerCircle, rot));
        if (inner > 0) AddRing(cut, ToGrid(Circle(c, inner / 2, chord), rot));
        for (DRing r : {Rectangle(outer + 1, gap), Rectangle(gap, outer + 1)}) {
          for (DPoint& q : r) q = {q.x + c.x, q.y + c.y};
          AddRing(cut, ToGrid(r, rot));
        }
        thermal -= cut;
        charge(thermal, item.line);
        image += thermal;
        if (parts != nullptr) {
          MacroPart part;
          if (rot.KeepsAngles()) {
            const double s = rot.LengthScale();
            const auto size = [s](double v) {
              return static_cast<Coord>(std::llround(std::min(v * s, double(kCoordLimit))));
            };
            part.shape = MacroPart::Shape::Thermal;
            part.centre = ToGrid(rot.Apply(c));
            part.xSize = size(outer);
            part.ySize = size(inner);
            part.gap = size(gap);
            const DPoint axis = rot.ApplyLinear({1, 0});
            part.rotation = std::atan2(axis.y, axis.x) * 180 / std::numbers::pi;
          }
          parts->push_back(part);
        }
        continue;
      }
    }
    const Affine placed = map.After(Affine::Rotation(prim.rotation));
    if (parts != nullptr) parts->push_back(Placed(prim, placed));
    PolygonSet shape;
    for (const DRing& r : prim.dark) {
      spend(r.size(), item.line);
      if (r.size() > static_cast<std::size_t>(limits.maxVerticesPerPrimitive))
        throw MacroError(item.line, "aperture macro " + name_ + ": a primitive with more than " +
                                        std::to_string(limits.maxVerticesPerPrimitive) + " vertices");
      Ring ring = ToGrid(r, placed);
      if (RingArea(ring) < 0) std::reverse(ring.begin(), ring.end());
      AddRing(shape, ring);
    }
    if (prim.on && !prim.toggle) {
      // Dark primitives in a row are united at once: one boolean, not one for each.
      run.insert(shape.begin(), shape.end());
      runLine = item.line;
      continue;
    }
    settle();
    charge(shape, item.line);
    if (prim.toggle) {
      PolygonSet both = image;
      both &= shape;
      image += shape;
      image -= both;
    } else {
      image -= shape;
    }
  }
  settle();
  return ToArea(image);
}

}  // namespace gerberx
