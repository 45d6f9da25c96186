#include "gerberx/convert/ReadSource.h"

#include <cctype>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "gerberx/convert/MacroShapes.h"
#include "gerberx/convert/ObjectShapes.h"

namespace zz::gerberx::convert {
namespace {

constexpr double kUnitsPerInch = 1e7;
constexpr double kUnitsPerMm = 1e4 / 0.0254;

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct ApertureDef {
  const StandardAperture* Standard = nullptr;  // in the layer's Apertures
  std::vector<IntShape> MacroArea;             // at the origin, internal units
  int Block = -1;                              // index of a block aperture
};

struct Dpoint {
  double X = 0, Y = 0;
};

IntPoint Round(Dpoint p) { return {std::llround(p.X), std::llround(p.Y)}; }

std::string Trim(const std::string& s) {
  std::string out;
  for (const char c : s) {
    if (c != '\n' && c != '\r') out += c;
  }
  const std::size_t a = out.find_first_not_of(" \t");
  if (a == std::string::npos) return "";
  return out.substr(a, out.find_last_not_of(" \t") - a + 1);
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= s.size(); ++i) {
    if (i == s.size() || s[i] == sep) {
      parts.push_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

double Number(const std::string& text) {
  std::size_t used = 0;
  double v = 0;
  try {
    v = std::stod(Trim(text), &used);
  } catch (const std::exception&) {
    throw Failure("\"" + text + "\" is not a number");
  }
  return v;
}

void Translate(SourceObject& o, int64_t dx, int64_t dy) {
  for (IntPoint* p : {&o.At, &o.From, &o.To, &o.Centre}) {
    p->X += dx;
    p->Y += dy;
  }
  for (IntShape& s : o.Area) {
    for (IntPoint& p : s.Outer) p.X += dx, p.Y += dy;
    for (IntRing& h : s.Holes) {
      for (IntPoint& p : h) p.X += dx, p.Y += dy;
    }
  }
}

class Reader {
 public:
  Reader(const std::string& text, const std::string& name, double tolerance, const ReadLimits& limits)
      : text_(text), tolerance_(tolerance), limits_(limits) {
    layer_.File = name;
    out_ = &layer_.Objects;
    layer_.Objects.reserve(text.size() / 16);  // at most about one object a line of twenty-odd characters
  }

  SourceLayer Run() {
    std::size_t pos = 0;
    while (pos < text_.size() && !ended_) {
      const char c = text_[pos];
      if (c == '\n') {
        ++line_;
        ++pos;
      } else if (std::isspace(static_cast<unsigned char>(c)) != 0) {
        ++pos;
      } else if (c == '%') {
        std::size_t end = text_.find('%', pos + 1);
        if (end == std::string::npos) end = text_.size();
        const std::string content = text_.substr(pos + 1, end - pos - 1);
        statementLine_ = line_;
        Guard(content, [&] { Extended(content); });
        for (std::size_t i = pos; i < end && i < text_.size(); ++i) line_ += text_[i] == '\n' ? 1 : 0;
        pos = end + 1;
      } else {
        std::size_t end = text_.find('*', pos);
        if (end == std::string::npos) end = text_.size();
        const std::string word = text_.substr(pos, end - pos);
        statementLine_ = line_;
        Guard(word, [&] { Word(word); });
        for (std::size_t i = pos; i < end; ++i) line_ += text_[i] == '\n' ? 1 : 0;
        pos = end + 1;
      }
    }
    EndStepRepeat();
    if (negative_) Negate();
    return std::move(layer_);
  }

 private:
  template <typename Fn>
  void Guard(const std::string& statement, Fn&& fn) {
    try {
      fn();
    } catch (const Failure& e) {
      std::string shown = Trim(statement);
      if (shown.size() > 60) shown = shown.substr(0, 57) + "...";
      throw std::runtime_error(layer_.File + ":" + std::to_string(statementLine_) + ": \"" + shown + "\": " + e.what());
    }
  }

  double UnitScale() const { return inch_ ? kUnitsPerInch : kUnitsPerMm; }

  // ---- extended statements -------------------------------------------------------------------

  void Extended(const std::string& raw) {
    const std::string content = Trim(raw);
    if (content.rfind("AM", 0) == 0) {
      const std::vector<std::string> blocks = Split(content, '*');
      MacroDefinition macro;
      macro.Name = Trim(blocks[0].substr(2));
      for (std::size_t i = 1; i < blocks.size(); ++i) {
        const std::string b = Trim(blocks[i]);
        if (!b.empty()) macro.Blocks.push_back(b);
      }
      macros_[macro.Name] = std::move(macro);
      return;
    }
    for (const std::string& part : Split(content, '*')) {
      const std::string command = Trim(part);
      if (!command.empty()) Command(command);
    }
  }

  void Command(const std::string& c) {
    const std::string key = c.substr(0, 2);
    if (key == "FS") {
      Format(c);
    } else if (key == "MO") {
      if (c.find("IN") != std::string::npos) {
        inch_ = true;
      } else if (c.find("MM") != std::string::npos) {
        inch_ = false;
      } else {
        throw Failure("unknown units");
      }
    } else if (key == "AD") {
      DefineAperture(c);
    } else if (key == "AB") {
      Block(c);
    } else if (key == "LP") {
      dark_ = c.size() < 3 || c[2] != 'C';
    } else if (key == "SR") {
      StepRepeat(c);
    } else if (key == "IP") {
      negative_ = c.find("NEG") != std::string::npos;
    } else if (key == "OF") {
      offset_ = {Letter(c, 'A', 0) * UnitScale(), Letter(c, 'B', 0) * UnitScale()};
    } else if (key == "SF") {
      scale_ = {Letter(c, 'A', 1), Letter(c, 'B', 1)};
    } else if (key == "MI") {
      mirrorA_ = Letter(c, 'A', 0) != 0;
      mirrorB_ = Letter(c, 'B', 0) != 0;
    } else if (key == "IR") {
      rotation_ = static_cast<int>(Number(c.substr(2))) % 360;
      if (rotation_ % 90 != 0) throw Failure("image rotation must be a multiple of 90 degrees");
    } else if (key == "LM" || key == "LR" || key == "LS") {
      const std::string v = Trim(c.substr(2));
      if (!(v == "N" || (key == "LR" && Number(v) == 0) || (key == "LS" && Number(v) == 1))) {
        throw Failure("mirrored, rotated or scaled apertures are not read");
      }
    }
    // Attributes (TF, TA, TO, TD), names (IN, LN), axes (AS) and the like change no copper.
  }

  static double Letter(const std::string& c, char letter, double fallback) {
    const std::size_t at = c.find(letter, 2);
    if (at == std::string::npos) return fallback;
    std::size_t end = at + 1;
    while (end < c.size() &&
           (std::isdigit(static_cast<unsigned char>(c[end])) != 0 || c[end] == '.' || c[end] == '-' || c[end] == '+')) {
      ++end;
    }
    return end > at + 1 ? Number(c.substr(at + 1, end - at - 1)) : fallback;
  }

  void Format(const std::string& c) {
    trailing_ = c.find('T') != std::string::npos && c.find('L') == std::string::npos;
    incremental_ = c.find('I') != std::string::npos;
    const std::size_t x = c.find('X');
    if (x == std::string::npos || x + 2 >= c.size() || std::isdigit(static_cast<unsigned char>(c[x + 1])) == 0 ||
        std::isdigit(static_cast<unsigned char>(c[x + 2])) == 0) {
      throw Failure("the format statement has no X digit counts");
    }
    intDigits_ = c[x + 1] - '0';
    decDigits_ = c[x + 2] - '0';
  }

  void DefineAperture(const std::string& c) {
    std::size_t i = 2;
    if (i < c.size() && c[i] == 'D') ++i;
    const std::size_t digits = i;
    while (i < c.size() && std::isdigit(static_cast<unsigned char>(c[i])) != 0) ++i;
    if (i == digits) throw Failure("no D-code");
    const int code = std::stoi(c.substr(digits, i - digits));
    const std::size_t comma = c.find(',', i);
    const std::string name = Trim(c.substr(i, comma == std::string::npos ? std::string::npos : comma - i));
    std::vector<double> params;
    if (comma != std::string::npos) {
      for (const std::string& p : Split(c.substr(comma + 1), 'X')) {
        if (!Trim(p).empty()) params.push_back(Number(p));  // "C,0.1X": a hole left out
      }
    }
    const double s = UnitScale();
    const auto param = [&](std::size_t k) { return k < params.size() ? params[k] : 0.0; };
    ApertureDef def;
    StandardAperture a;
    if (name == "C" || name == "R" || name == "O" || name == "P") {
      if (name == "C") {
        a.Shape = ApertureShape::Circle;
        a.XSize = a.YSize = std::llround(param(0) * s);
        a.Hole = std::llround(param(1) * s);
      } else if (name == "P") {
        a.Shape = ApertureShape::Polygon;
        a.XSize = a.YSize = std::llround(param(0) * s);
        a.Vertices = static_cast<int>(param(1));
        a.Rotation = param(2);
        a.Hole = std::llround(param(3) * s);
        if (a.Vertices < 3 || a.Vertices > 12) throw Failure("a polygon has 3 to 12 vertices");
      } else {
        a.Shape = name == "R" ? ApertureShape::Rectangle : ApertureShape::Obround;
        a.XSize = std::llround(param(0) * s);
        a.YSize = std::llround(param(1) * s);
        a.Hole = std::llround(param(2) * s);
        if (rotation_ == 90 || rotation_ == 270) std::swap(a.XSize, a.YSize);
      }
      if (a.XSize < 0 || a.YSize < 0 || a.Hole < 0) throw Failure("negative aperture size");
      // A round aperture's obround with equal sides is a circle.
      if (a.Shape == ApertureShape::Obround && a.XSize == a.YSize) a.Shape = ApertureShape::Circle;
      layer_.Apertures.push_back(a);
      def.Standard = &layer_.Apertures.back();
    } else {
      const auto macro = macros_.find(name);
      if (macro == macros_.end()) throw Failure("aperture macro \"" + name + "\" is not defined");
      def.MacroArea = MacroArea(macro->second, params, s, tolerance_, limits_.MaxMacroPrimitives);
      for (IntShape& shape : def.MacroArea) {
        for (IntPoint& p : shape.Outer) p = TurnSize(p);
        for (IntRing& h : shape.Holes) {
          for (IntPoint& p : h) p = TurnSize(p);
        }
      }
    }
    apertures_[code] = std::move(def);
  }

  // The image rotation and mirroring, without the offset: for shapes around a flash point.
  IntPoint TurnSize(IntPoint p) const {
    Dpoint q{static_cast<double>(p.X) * scale_.X, static_cast<double>(p.Y) * scale_.Y};
    if (mirrorA_) q.X = -q.X;
    if (mirrorB_) q.Y = -q.Y;
    for (int r = 0; r < rotation_; r += 90) q = {-q.Y, q.X};
    return Round(q);
  }

  IntPoint Place(Dpoint p) const {
    const IntPoint t = TurnSize(Round(p));
    return {t.X + std::llround(offset_.X), t.Y + std::llround(offset_.Y)};
  }

  void Block(const std::string& c) {
    if (c.size() > 2) {
      if (static_cast<int>(blockStack_.size()) >= limits_.MaxBlockDepth) throw Failure("blocks nested too deep");
      std::size_t i = 2;
      if (i < c.size() && c[i] == 'D') ++i;
      const int code = std::stoi(c.substr(i));
      blockStack_.push_back({code, out_, blocks_.size()});
      blocks_.emplace_back();
      blockObjects_.push_back(std::make_unique<std::vector<SourceObject>>());
      out_ = blockObjects_.back().get();
      return;
    }
    if (blockStack_.empty()) throw Failure("block end without a block");
    const OpenBlock open = blockStack_.back();
    blockStack_.pop_back();
    ApertureDef def;
    def.Block = static_cast<int>(open.Index);
    blocks_[static_cast<std::size_t>(def.Block)] = std::move(*out_);
    apertures_[open.Code] = std::move(def);
    out_ = open.Outer;
  }

  void StepRepeat(const std::string& c) {
    EndStepRepeat();
    const int nx = static_cast<int>(Letter(c, 'X', 1));
    const int ny = static_cast<int>(Letter(c, 'Y', 1));
    if (nx < 1 || ny < 1) throw Failure("step-and-repeat counts must be at least 1");
    if (static_cast<double>(nx) * ny > 1e6) throw Failure("step-and-repeat of more than a million copies");
    sr_ = {nx, ny, Letter(c, 'I', 0) * UnitScale(), Letter(c, 'J', 0) * UnitScale(), out_->size()};
  }

  void EndStepRepeat() {
    if (sr_.X * sr_.Y <= 1) {
      sr_ = {};
      return;
    }
    const std::size_t end = out_->size();
    if ((end - sr_.Start) * static_cast<std::size_t>(sr_.X * sr_.Y) + out_->size() > limits_.MaxObjects) {
      throw Failure("step-and-repeat makes more than " + std::to_string(limits_.MaxObjects) + " objects");
    }
    for (int j = 0; j < sr_.Y; ++j) {
      for (int i = 0; i < sr_.X; ++i) {
        if (i == 0 && j == 0) continue;
        const IntPoint shift = TurnSize(Round({i * sr_.I, j * sr_.J}));
        for (std::size_t k = sr_.Start; k < end; ++k) {
          SourceObject copy = (*out_)[k];
          Translate(copy, shift.X, shift.Y);
          out_->push_back(std::move(copy));
        }
      }
    }
    sr_ = {};
  }

  // ---- data statements ----------------------------------------------------------------------

  void Word(const std::string& raw) {
    std::string w;
    for (const char c : raw) {
      if (c != '\n' && c != '\r' && c != ' ' && c != '\t') w += c;
    }
    if (w.empty()) return;
    const bool comment =
        w.rfind("G04", 0) == 0 ||
        (w.rfind("G4", 0) == 0 && (w.size() == 2 || std::isdigit(static_cast<unsigned char>(w[2])) == 0));
    if (comment) return;
    std::optional<Dpoint> x, y;
    std::optional<double> i, j;
    int operation = 0;
    std::size_t p = 0;
    while (p < w.size()) {
      const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(w[p++])));
      const std::size_t start = p;
      while (p < w.size() &&
             (std::isdigit(static_cast<unsigned char>(w[p])) != 0 || w[p] == '.' || w[p] == '-' || w[p] == '+')) {
        ++p;
      }
      const std::string value = w.substr(start, p - start);
      if (value.empty()) throw Failure(std::string("\"") + letter + "\" without a number");
      switch (letter) {
        case 'G':
          Gcode(std::stoi(value));
          break;
        case 'D': {
          const int d = std::stoi(value);
          if (d >= 1 && d <= 3) {
            operation = d;
          } else if (d >= 10) {
            if (apertures_.count(d) == 0) throw Failure("D" + value + " is not defined");
            aperture_ = d;
          }
          break;
        }
        case 'M':
          if (std::stoi(value) == 2 || std::stoi(value) == 0) ended_ = true;
          break;
        case 'X':
          x = Dpoint{Coordinate(value), 0};
          break;
        case 'Y':
          y = Dpoint{0, Coordinate(value)};
          break;
        case 'I':
          i = Coordinate(value);
          break;
        case 'J':
          j = Coordinate(value);
          break;
        case 'N':
          break;
        default:
          throw Failure(std::string("unknown code \"") + letter + "\"");
      }
    }
    const bool coordinates = x || y || i || j;
    if (operation == 0 && coordinates) operation = lastOperation_;  // the deprecated modal operation
    if (operation == 0) return;
    lastOperation_ = operation;
    Dpoint target = point_;
    if (incremental_) {
      if (x) target.X += x->X;
      if (y) target.Y += y->Y;
    } else {
      if (x) target.X = x->X;
      if (y) target.Y = y->Y;
    }
    Operate(operation, target, i.value_or(0), j.value_or(0));
    point_ = target;
  }

  void Gcode(int g) {
    switch (g) {
      case 1:
      case 2:
      case 3:
        interpolation_ = g;
        break;
      case 74:
        multiQuadrant_ = false;
        break;
      case 75:
        multiQuadrant_ = true;
        break;
      case 36:
        region_ = true;
        contours_.clear();
        contour_.clear();
        break;
      case 37:
        EndRegion();
        break;
      case 70:
        inch_ = true;
        break;
      case 71:
        inch_ = false;
        break;
      case 90:
        incremental_ = false;
        break;
      case 91:
        incremental_ = true;
        break;
      default:
        break;  // G54, G55 and other old codes change nothing here
    }
  }

  double Coordinate(const std::string& v) const {
    if (v.find('.') != std::string::npos) return Number(v) * UnitScale();
    std::size_t i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+')) negative = v[i++] == '-';
    const std::size_t digits = v.size() - i;
    if (digits == 0 || digits > 18) throw Failure("malformed coordinate \"" + v + "\"");
    int64_t value = 0;
    for (; i < v.size(); ++i) {
      if (v[i] < '0' || v[i] > '9') throw Failure("malformed coordinate \"" + v + "\"");
      value = value * 10 + (v[i] - '0');
    }
    // Trailing zeros omitted: the digits stand for the first of all integer and decimal places.
    int shift = decDigits_;
    if (trailing_ && static_cast<int>(digits) < intDigits_ + decDigits_) {
      shift -= intDigits_ + decDigits_ - static_cast<int>(digits);
    }
    const double scaled = static_cast<double>(value) * DecimalScale(shift);
    return negative ? -scaled : scaled;
  }

  // The unit scale over 10 to the power `shift`.
  double DecimalScale(int shift) const {
    if (shift != cachedShift_ || inch_ != cachedInch_) {
      cachedShift_ = shift;
      cachedInch_ = inch_;
      cachedScale_ = UnitScale() / std::pow(10.0, shift);
    }
    return cachedScale_;
  }

  void Operate(int operation, Dpoint target, double i, double j) {
    if (region_) {
      if (operation == 2) {
        CloseContour();
        contour_.push_back(target);
      } else if (operation == 1) {
        if (contour_.empty()) contour_.push_back(point_);
        if (interpolation_ == 1) {
          contour_.push_back(target);
        } else {
          const ArcGeometry arc = ResolveArc(point_, target, i, j);
          const double radius = std::hypot(point_.X - arc.Centre.X, point_.Y - arc.Centre.Y);
          const int n = std::max(1, static_cast<int>(std::ceil(CircleSegments(radius, tolerance_) *
                                                               std::abs(arc.Sweep) / (2 * std::numbers::pi))));
          for (int k = 1; k <= n; ++k) {
            const double t = arc.Start + arc.Sweep * k / n;
            contour_.push_back(
                k == n ? target : Dpoint{arc.Centre.X + radius * std::cos(t), arc.Centre.Y + radius * std::sin(t)});
          }
        }
      } else {
        throw Failure("a flash inside a region");
      }
      return;
    }
    if (operation == 2) return;
    if (aperture_ < 0) throw Failure("no aperture selected");
    const ApertureDef& def = apertures_.at(aperture_);
    SourceObject o;
    o.Dark = dark_;
    o.Line = statementLine_;
    if (operation == 3) {
      if (def.Standard) {
        o.Kind = SourceKind::Flash;
        o.Aperture = def.Standard;
        o.At = Place(target);
      } else if (def.Block >= 0) {
        FlashBlock(def.Block, target);
        return;
      } else {
        o.Kind = SourceKind::MacroFlash;
        o.Area = def.MacroArea;
        const IntPoint at = Place(target);
        Translate(o, at.X, at.Y);
        o.At = at;
      }
      Push(std::move(o));
      return;
    }
    if (!def.Standard) throw Failure("a stroke with a macro or block aperture");
    o.Aperture = def.Standard;
    o.From = Place(point_);
    o.To = Place(target);
    if (interpolation_ == 1) {
      o.Kind = SourceKind::Line;
    } else {
      const ArcGeometry arc = ResolveArc(point_, target, i, j);
      o.Kind = SourceKind::Arc;
      o.Centre = Place(arc.Centre);
      // Mirroring once turns the direction around.
      o.Clockwise = (arc.Sweep < 0) != (mirrorA_ != mirrorB_);
    }
    Push(std::move(o));
  }

  struct ArcGeometry {
    Dpoint Centre;
    double Start = 0;  // radians
    double Sweep = 0;  // signed: negative clockwise
  };

  ArcGeometry ResolveArc(Dpoint from, Dpoint to, double i, double j) const {
    const bool clockwise = interpolation_ == 2;
    const auto sweepOf = [&](Dpoint c) {
      const double a0 = std::atan2(from.Y - c.Y, from.X - c.X);
      const double a1 = std::atan2(to.Y - c.Y, to.X - c.X);
      double sweep = a1 - a0;
      if (clockwise) {
        while (sweep >= 0) sweep -= 2 * std::numbers::pi;
      } else {
        while (sweep <= 0) sweep += 2 * std::numbers::pi;
      }
      return ArcGeometry{c, a0, sweep};
    };
    if (multiQuadrant_) {
      ArcGeometry arc = sweepOf({from.X + i, from.Y + j});
      const bool full = std::abs(from.X - to.X) < 0.5 && std::abs(from.Y - to.Y) < 0.5;
      if (full) arc.Sweep = clockwise ? -2 * std::numbers::pi : 2 * std::numbers::pi;
      return arc;
    }
    // Single quadrant: the offsets are unsigned; the centre is the one that gives an arc of at
    // most 90 degrees with both ends at the same distance.
    ArcGeometry best;
    double bestError = 1e300;
    for (const double si : {1.0, -1.0}) {
      for (const double sj : {1.0, -1.0}) {
        const Dpoint c{from.X + si * std::abs(i), from.Y + sj * std::abs(j)};
        const ArcGeometry arc = sweepOf(c);
        if (std::abs(arc.Sweep) > std::numbers::pi / 2 + 1e-6) continue;
        const double error = std::abs(std::hypot(from.X - c.X, from.Y - c.Y) - std::hypot(to.X - c.X, to.Y - c.Y));
        if (error < bestError) {
          bestError = error;
          best = arc;
        }
      }
    }
    if (bestError == 1e300) best = sweepOf({from.X + i, from.Y + j});
    return best;
  }

  void CloseContour() {
    if (contour_.size() >= 3) contours_.push_back(contour_);
    contour_.clear();
  }

  void EndRegion() {
    CloseContour();
    region_ = false;
    if (contours_.empty()) return;
    SourceObject o;
    o.Kind = SourceKind::Region;
    o.Dark = dark_;
    o.Line = statementLine_;
    for (const std::vector<Dpoint>& c : contours_) {
      IntShape shape;
      for (const Dpoint& p : c) shape.Outer.push_back(Place(p));
      o.Area.push_back(std::move(shape));
    }
    contours_.clear();
    Push(std::move(o));
  }

  void FlashBlock(int block, Dpoint at) {
    const IntPoint place = Place(at);
    for (const SourceObject& inner : blocks_[static_cast<std::size_t>(block)]) {
      SourceObject copy = inner;
      Translate(copy, place.X, place.Y);
      // A block flashed clear turns its objects' polarities around.
      if (!dark_) copy.Dark = !copy.Dark;
      copy.Line = statementLine_;
      Push(std::move(copy));
    }
  }

  void Push(SourceObject o) {
    if (out_->size() >= limits_.MaxObjects) {
      throw Failure("the layer has more than " + std::to_string(limits_.MaxObjects) + " objects");
    }
    // Inside a block, coordinates are relative to the block's origin: the block is placed later.
    out_->push_back(std::move(o));
  }

  // A negative image: the box of everything is dark, and every object's polarity turns around.
  void Negate() {
    int64_t x1 = INT64_MAX, y1 = INT64_MAX, x2 = INT64_MIN, y2 = INT64_MIN;
    const auto grow = [&](IntPoint p, int64_t r) {
      x1 = std::min(x1, p.X - r), y1 = std::min(y1, p.Y - r), x2 = std::max(x2, p.X + r), y2 = std::max(y2, p.Y + r);
    };
    for (SourceObject& o : layer_.Objects) {
      const int64_t r = o.Aperture ? std::max(o.Aperture->XSize, o.Aperture->YSize) / 2 : 0;
      if (o.Kind == SourceKind::Flash) grow(o.At, r);
      if (o.Kind == SourceKind::Line || o.Kind == SourceKind::Arc) grow(o.From, r), grow(o.To, r);
      for (const IntShape& s : o.Area) {
        for (const IntPoint& p : s.Outer) grow(p, 0);
      }
      o.Dark = !o.Dark;
    }
    if (x1 > x2) return;
    SourceObject background;
    background.Kind = SourceKind::Region;
    background.Area.push_back({{{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}}, {}});
    layer_.Objects.insert(layer_.Objects.begin(), std::move(background));
  }

  struct OpenBlock {
    int Code;
    std::vector<SourceObject>* Outer;
    std::size_t Index;
  };
  struct StepRepeatState {
    int X = 1, Y = 1;
    double I = 0, J = 0;
    std::size_t Start = 0;
  };

  const std::string& text_;
  double tolerance_;
  ReadLimits limits_;
  SourceLayer layer_;
  std::vector<SourceObject>* out_;
  int line_ = 1;
  int statementLine_ = 1;
  bool ended_ = false;

  bool inch_ = true;
  int intDigits_ = 2, decDigits_ = 4;
  bool trailing_ = false, incremental_ = false;
  std::map<std::string, MacroDefinition> macros_;
  std::map<int, ApertureDef> apertures_;
  std::vector<std::vector<SourceObject>> blocks_;
  std::vector<std::unique_ptr<std::vector<SourceObject>>> blockObjects_;
  std::vector<OpenBlock> blockStack_;
  StepRepeatState sr_;

  Dpoint point_;
  int interpolation_ = 1;
  bool multiQuadrant_ = false;
  int aperture_ = -1;
  int lastOperation_ = 0;
  bool dark_ = true;
  bool region_ = false;
  std::vector<Dpoint> contour_;
  std::vector<std::vector<Dpoint>> contours_;

  mutable int cachedShift_ = -100;
  mutable bool cachedInch_ = false;
  mutable double cachedScale_ = 0;
  bool negative_ = false;
  Dpoint offset_, scale_{1, 1};
  bool mirrorA_ = false, mirrorB_ = false;
  int rotation_ = 0;
};

}  // namespace

SourceLayer ReadSourceText(const std::string& text, const std::string& name, double tolerance,
                           const ReadLimits& limits) {
  return Reader(text, name, tolerance, limits).Run();
}

SourceLayer ReadSourceLayer(const std::string& path, double tolerance, const ReadLimits& limits) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": cannot be read");
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return ReadSourceText(buffer.str(), path, tolerance, limits);
}

}  // namespace zz::gerberx::convert
