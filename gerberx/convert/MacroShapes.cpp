#include "gerberx/convert/MacroShapes.h"

#include <boost/polygon/polygon.hpp>
#include <cctype>
#include <cmath>
#include <map>
#include <numbers>
#include <stdexcept>

#include "gerberx/convert/ObjectShapes.h"

namespace zz::gerberx::convert {
namespace {

namespace gtl = boost::polygon;
using namespace boost::polygon::operators;
using PolygonSet = gtl::polygon_set_data<int>;

// Arithmetic of macro bodies: + - x / and parentheses over numbers and $n variables.
class Expression {
 public:
  Expression(const std::string& text, const std::map<int, double>& vars) : text_(text), vars_(vars) {}

  double Evaluate() {
    const double value = Sum();
    Skip();
    if (pos_ != text_.size()) Fail();
    return value;
  }

 private:
  void Skip() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])) != 0) ++pos_;
  }
  bool Take(char c) {
    Skip();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  [[noreturn]] void Fail() const { throw std::runtime_error("malformed expression \"" + text_ + "\""); }

  double Sum() {
    double v = Product();
    for (;;) {
      if (Take('+')) {
        v += Product();
      } else if (Take('-')) {
        v -= Product();
      } else {
        return v;
      }
    }
  }
  double Product() {
    double v = Factor();
    for (;;) {
      if (Take('x') || Take('X')) {
        v *= Factor();
      } else if (Take('/')) {
        const double d = Factor();
        v = d == 0.0 ? 0.0 : v / d;
      } else {
        return v;
      }
    }
  }
  double Factor() {
    if (++depth_ > 64) Fail();
    double v = 0.0;
    if (Take('-')) {
      v = -Factor();
    } else if (Take('+')) {
      v = Factor();
    } else if (Take('(')) {
      v = Sum();
      if (!Take(')')) Fail();
    } else if (Take('$')) {
      const std::size_t start = pos_;
      while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])) != 0) ++pos_;
      if (start == pos_) Fail();
      const auto it = vars_.find(std::stoi(text_.substr(start, pos_ - start)));
      v = it == vars_.end() ? 0.0 : it->second;
    } else {
      Skip();
      const std::size_t start = pos_;
      while (pos_ < text_.size() &&
             (std::isdigit(static_cast<unsigned char>(text_[pos_])) != 0 || text_[pos_] == '.')) {
        ++pos_;
      }
      if (start == pos_) Fail();
      v = std::stod(text_.substr(start, pos_ - start));
    }
    --depth_;
    return v;
  }

  const std::string& text_;
  const std::map<int, double>& vars_;
  std::size_t pos_ = 0;
  int depth_ = 0;
};

struct Pt {
  double X, Y;
};

std::vector<std::string> SplitCommas(const std::string& s) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= s.size(); ++i) {
    if (i == s.size() || s[i] == ',') {
      parts.push_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

class Drawing {
 public:
  Drawing(double scale, double tolerance) : scale_(scale), tolerance_(tolerance) {}

  // A polygon in file units, turned by `rotation` degrees about the macro's origin.
  PolygonSet Piece(const std::vector<Pt>& pts, double rotation) const {
    const double t = rotation * std::numbers::pi / 180.0;
    const double c = std::cos(t), s = std::sin(t);
    std::vector<gtl::point_data<int>> out;
    for (const Pt& p : pts) {
      out.emplace_back(static_cast<int>(std::lround((p.X * c - p.Y * s) * scale_)),
                       static_cast<int>(std::lround((p.X * s + p.Y * c) * scale_)));
    }
    gtl::polygon_data<int> polygon;
    polygon.set(out.begin(), out.end());
    PolygonSet piece;
    piece.insert(polygon);
    return piece;
  }

  void Add(const std::vector<Pt>& pts, double rotation, bool dark) { Apply(Piece(pts, rotation), dark); }

  void Apply(const PolygonSet& piece, bool dark) {
    if (dark) {
      set_ += piece;
    } else {
      set_ -= piece;
    }
  }

  std::vector<Pt> Circle(double cx, double cy, double diameter) const {
    const int n = CircleSegments(std::abs(diameter) / 2 * scale_, tolerance_);
    std::vector<Pt> pts;
    for (int k = 0; k < n; ++k) {
      const double a = 2 * std::numbers::pi * k / n;
      pts.push_back({cx + diameter / 2 * std::cos(a), cy + diameter / 2 * std::sin(a)});
    }
    return pts;
  }

  static std::vector<Pt> Box(double x1, double y1, double x2, double y2) {
    return {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
  }

  PolygonSet& Set() { return set_; }

 private:
  double scale_;
  double tolerance_;
  PolygonSet set_;
};

// A ring (annulus) of outer and inner diameter around a centre.
PolygonSet Ring(const Drawing& d, double cx, double cy, double outer, double inner, double rotation) {
  PolygonSet ring = d.Piece(d.Circle(cx, cy, outer), rotation);
  if (inner > 0) ring -= d.Piece(d.Circle(cx, cy, inner), rotation);
  return ring;
}

}  // namespace

std::vector<IntShape> MacroArea(const MacroDefinition& macro, const std::vector<double>& parameters, double scale,
                                double tolerance, std::size_t maxPrimitives) {
  std::map<int, double> vars;
  for (std::size_t i = 0; i < parameters.size(); ++i) vars[static_cast<int>(i) + 1] = parameters[i];
  Drawing d(scale, tolerance);
  std::size_t count = 0;
  for (const std::string& raw : macro.Blocks) {
    std::string block;
    for (const char c : raw) {
      if (c != '\n' && c != '\r') block += c;
    }
    while (!block.empty() && std::isspace(static_cast<unsigned char>(block.front())) != 0) block.erase(0, 1);
    if (block.empty() || block[0] == '0') continue;  // a comment
    if (++count > maxPrimitives)
      throw std::runtime_error("the macro has more than " + std::to_string(maxPrimitives) + " primitives");
    if (block[0] == '$') {
      const std::size_t eq = block.find('=');
      if (eq == std::string::npos) throw std::runtime_error("malformed macro statement \"" + block + "\"");
      vars[std::stoi(block.substr(1, eq - 1))] = Expression(block.substr(eq + 1), vars).Evaluate();
      continue;
    }
    const std::vector<std::string> fields = SplitCommas(block);
    std::vector<double> v;
    for (std::size_t i = 1; i < fields.size(); ++i) v.push_back(Expression(fields[i], vars).Evaluate());
    const int code = std::stoi(fields[0]);
    const auto need = [&](std::size_t n) {
      if (v.size() < n) throw std::runtime_error("macro primitive \"" + block + "\" lacks parameters");
    };
    const auto at = [&](std::size_t i) { return i < v.size() ? v[i] : 0.0; };
    const auto exposure = [&](double e) { return e >= 0.5; };
    switch (code) {
      case 1:
        need(4);
        d.Add(d.Circle(v[2], v[3], v[1]), at(4), exposure(v[0]));
        break;
      case 2:
      case 20: {
        need(7);
        const double dx = v[4] - v[2], dy = v[5] - v[3];
        const double len = std::hypot(dx, dy);
        const double nx = len > 0 ? -dy / len * v[1] / 2 : 0, ny = len > 0 ? dx / len * v[1] / 2 : v[1] / 2;
        d.Add({{v[2] + nx, v[3] + ny}, {v[2] - nx, v[3] - ny}, {v[4] - nx, v[5] - ny}, {v[4] + nx, v[5] + ny}}, v[6],
              exposure(v[0]));
        break;
      }
      case 21:
        need(6);
        d.Add(Drawing::Box(v[3] - v[1] / 2, v[4] - v[2] / 2, v[3] + v[1] / 2, v[4] + v[2] / 2), v[5], exposure(v[0]));
        break;
      case 22:
        need(6);
        d.Add(Drawing::Box(v[3], v[4], v[3] + v[1], v[4] + v[2]), v[5], exposure(v[0]));
        break;
      case 4: {
        need(2);
        const std::size_t n = static_cast<std::size_t>(std::max(0.0, v[1]));
        need(2 + 2 * (n + 1) + 1);
        std::vector<Pt> pts;
        for (std::size_t i = 0; i <= n; ++i) pts.push_back({v[2 + 2 * i], v[3 + 2 * i]});
        d.Add(pts, v[2 + 2 * (n + 1)], exposure(v[0]));
        break;
      }
      case 5: {
        need(6);
        const int n = std::clamp(static_cast<int>(v[1]), 3, 12);
        std::vector<Pt> pts;
        for (int k = 0; k < n; ++k) {
          const double a = 2 * std::numbers::pi * k / n;
          pts.push_back({v[2] + v[4] / 2 * std::cos(a), v[3] + v[4] / 2 * std::sin(a)});
        }
        d.Add(pts, v[5], exposure(v[0]));
        break;
      }
      case 6: {
        need(9);
        double outer = v[2];
        for (int ring = 0; ring < static_cast<int>(v[5]) && outer > 0; ++ring) {
          d.Apply(Ring(d, v[0], v[1], outer, std::max(0.0, outer - 2 * v[3]), v[8]), true);
          outer -= 2 * (v[3] + v[4]);
        }
        d.Add(Drawing::Box(v[0] - v[7] / 2, v[1] - v[6] / 2, v[0] + v[7] / 2, v[1] + v[6] / 2), v[8], true);
        d.Add(Drawing::Box(v[0] - v[6] / 2, v[1] - v[7] / 2, v[0] + v[6] / 2, v[1] + v[7] / 2), v[8], true);
        break;
      }
      case 7: {
        need(6);
        PolygonSet thermal = Ring(d, v[0], v[1], v[2], v[3], v[5]);
        thermal -= d.Piece(Drawing::Box(v[0] - v[2], v[1] - v[4] / 2, v[0] + v[2], v[1] + v[4] / 2), v[5]);
        thermal -= d.Piece(Drawing::Box(v[0] - v[4] / 2, v[1] - v[2], v[0] + v[4] / 2, v[1] + v[2]), v[5]);
        d.Apply(thermal, true);
        break;
      }
      default:
        throw std::runtime_error("unknown macro primitive " + fields[0]);
    }
  }
  std::vector<gtl::polygon_with_holes_data<int>> polygons;
  d.Set().get(polygons);
  std::vector<IntShape> shapes;
  for (const auto& polygon : polygons) {
    IntShape shape;
    for (const auto& p : polygon) shape.Outer.push_back({p.x(), p.y()});
    for (auto h = polygon.begin_holes(); h != polygon.end_holes(); ++h) {
      IntRing ring;
      for (const auto& p : *h) ring.push_back({p.x(), p.y()});
      shape.Holes.push_back(std::move(ring));
    }
    shapes.push_back(std::move(shape));
  }
  return shapes;
}

}  // namespace zz::gerberx::convert
