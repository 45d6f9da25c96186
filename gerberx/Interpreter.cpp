#include "gerberx/Interpreter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

#include "gerberx/DrawnShapes.h"

namespace gerberx {

namespace {

constexpr double kPi = 3.14159265358979323846;

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

std::string WithoutBlanks(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != ' ' && c != '\t') out += c;
  return out;
}

std::vector<std::string> Split(const std::string& s, char by) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : s) {
    if (c == by) {
      parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  parts.push_back(part);
  return parts;
}

// A small whole number from a field ("10", "01"); -1 when it is not one.
long SmallInt(std::string_view s) {
  if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string_view::npos) return -1;
  long n = 0;
  for (const char c : s) n = n * 10 + (c - '0');
  return n;
}

}  // namespace

Interpreter::Interpreter(std::string file, const Options& options)
    : file_(std::move(file)),
      options_(options),
      chordError_(std::max(options.chordErrorMm, 1e-6) * kUnitsPerMm),
      needAreas_(options.keepObjectAreas || options.computeDarkArea) {
  layer_.file = file_;
}

void Interpreter::Fail(const std::string& reason) {
  throw ReadError(file_, statement_ ? statement_->line : 0, statement_ ? statement_->text : "", reason);
}

void Interpreter::Warn(const std::string& text) {
  if (layer_.warnings.size() < 1000) layer_.warnings.push_back({statement_ ? statement_->line : 0, text});
}

Layer Interpreter::Run(std::string_view text) {
  // Room for an object a statement, the most a file without blocks and step-and-repeat has:
  // pages never written cost nothing, and the rest is given back at the end.
  const auto statements = std::count(text.begin(), text.end(), '*');
  layer_.objects.reserve(static_cast<std::size_t>(std::min<long long>(statements, options_.maxObjects)));
  const double bytes = static_cast<double>(text.size());
  primitiveBudget_ = options_.maxPrimitives + std::llround(bytes * std::max(0.0, options_.primitivesPerByte));
  vertexBudget_ = options_.maxVertices + std::llround(bytes * std::max(0.0, options_.verticesPerByte));
  StatementSplitter splitter(text, file_, options_.maxStatementLength);
  gerberx::Statement s;
  while (!ended_ && splitter.Next(s)) {
    statement_ = &s;
    ++layer_.counts.statements;
    try {
      Statement(s);
    } catch (const ReadError&) {
      throw;
    } catch (const MacroError& e) {
      Fail(e.what());
    } catch (const ExpressionError& e) {
      Fail(e.what());
    } catch (const std::range_error& e) {
      Fail(e.what());
    } catch (const std::length_error& e) {
      Fail(std::string("too large: ") + e.what());
    }
  }
  statement_ = nullptr;
  if (inRegion_) Warn("the file ends inside a region (G36 without G37)");
  if (inRegion_) CloseContour();
  while (!collectors_.empty()) {
    if (collectors_.back().block)
      Fail("the file ends inside the block aperture D" + std::to_string(collectors_.back().dcode));
    CloseStepRepeat();
  }
  if (layer_.objects.size() < layer_.objects.capacity() / 2) layer_.objects.shrink_to_fit();
  layer_.units = units_;
  layer_.negative = negative_;
  if (options_.computeDarkArea) layer_.dark = dark_.Result();
  if (negative_) {
    Box box;
    for (const Object& o : layer_.objects) box.Add(o.box);
    if (!box.empty) {
      Object background;
      background.kind = ObjectKind::Region;
      background.box = box;
      const Ring rect{box.min, {box.max.x, box.min.y}, box.max, {box.min.x, box.max.y}};
      const Area full = AreaOfRing(rect);
      if (options_.keepObjectAreas) background.area = full;
      layer_.objects.insert(layer_.objects.begin(), std::move(background));
      ++layer_.counts.regions;
      if (options_.computeDarkArea) layer_.dark = Difference(full, layer_.dark);
    }
  }
  return std::move(layer_);
}

void Interpreter::Statement(const gerberx::Statement& s) {
  if (s.extended && !(s.text[0] == 'G' && s.text.size() > 1 && IsDigit(s.text[1])))
    Extended(s);
  else
    Word(s.text);
}

// ---------------------------------------------------------------- word statements

void Interpreter::Word(const std::string& text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  bool hasX = false, hasY = false, hasI = false, hasJ = false;
  std::string_view xs, ys, is, js;  // into text
  int op = 0;
  while (i < n) {
    const char letter = text[i];
    if (letter == ' ' || letter == '\t') {
      ++i;
      continue;
    }
    ++i;
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    while (i < n && (IsDigit(text[i]) || text[i] == '.')) ++i;
    const std::string_view value = std::string_view(text).substr(start, i - start);
    switch (letter) {
      case 'G': {
        const long g = SmallInt(value);
        switch (g) {
          case 4:
            ++layer_.counts.comments;
            return;  // the rest is the comment's text
          case 1:
            interpolation_ = Interpolation::Linear;
            break;
          case 2:
            interpolation_ = Interpolation::Clockwise;
            break;
          case 3:
            interpolation_ = Interpolation::CounterClockwise;
            break;
          case 36:
            if (inRegion_) Fail("G36 inside a region");
            inRegion_ = true;
            contour_.clear();
            contourLine_ = statement_->line;
            break;
          case 37:
            if (!inRegion_) Fail("G37 outside a region");
            CloseContour();
            inRegion_ = false;
            break;
          case 74:
            multiQuadrant_ = false;
            break;
          case 75:
            multiQuadrant_ = true;
            break;
          case 54:
          case 55:
            ++layer_.counts.deprecated;
            break;
          case 70:
            units_ = Units::Inches;
            uses_.clear();
            ++layer_.counts.deprecated;
            break;
          case 71:
            units_ = Units::Millimetres;
            uses_.clear();
            ++layer_.counts.deprecated;
            break;
          case 90:
            incremental_ = false;
            ++layer_.counts.deprecated;
            break;
          case 91:
            incremental_ = true;
            ++layer_.counts.deprecated;
            break;
          default:
            Fail("unknown or unsupported G code G" + std::string(value));
        }
        break;
      }
      case 'M': {
        const long m = SmallInt(value);
        if (m == 0 || m == 2) {
          ended_ = true;
        } else if (m == 48) {
          Fail("an Excellon drill file, not a Gerber file");
        } else if (m != 1) {
          Fail("unknown M code M" + std::string(value));
        }
        break;
      }
      case 'D': {
        const long d = SmallInt(value);
        if (d < 0) Fail("D without a number");
        if (d >= 1 && d <= 3) {
          op = static_cast<int>(d);
        } else if (d >= 10) {
          if (inRegion_) Fail("aperture selection inside a region");
          if (!apertures_.count(static_cast<int>(d)))
            Fail(
                "aperture D" + std::string(value) + " is not defined" +
                (apertures_.empty() ? " (no %AD in the file: RS-274-D, whose apertures are in a separate table)" : ""));
          aperture_ = static_cast<int>(d);
        } else {
          Fail("D" + std::string(value) + " is neither an operation nor an aperture");
        }
        break;
      }
      case 'X':
        hasX = true, xs = value;
        break;
      case 'Y':
        hasY = true, ys = value;
        break;
      case 'I':
        hasI = true, is = value;
        break;
      case 'J':
        hasJ = true, js = value;
        break;
      case 'N':
        break;  // a sequence number
      default:
        Fail(std::string("unknown word '") + letter + "'");
    }
    if ((letter == 'X' || letter == 'Y' || letter == 'I' || letter == 'J') && value.empty())
      Fail(std::string("'") + letter + "' without a number");
  }
  const bool hasCoordinates = hasX || hasY || hasI || hasJ;
  if (!hasCoordinates && op == 0) return;
  if (op == 0) {
    // Coordinates without an operation code repeat the last one (a deprecated form).
    if (lastOperation_ == 0) Warn("coordinates without an operation code and none before them: read as a move (D02)");
    op = lastOperation_ == 0 ? 2 : lastOperation_;
    ++layer_.counts.deprecated;
  }
  lastOperation_ = op;
  Point target = current_;
  if (incremental_ || layer_.format.notation == Notation::Incremental) {
    if (hasX) target.x = Moved(current_, {ParseCoordinate(xs, true), 0}).x;
    if (hasY) target.y = Moved(current_, {0, ParseCoordinate(ys, false)}).y;
  } else {
    if (hasX) target.x = ParseCoordinate(xs, true);
    if (hasY) target.y = ParseCoordinate(ys, false);
  }
  Point offset{hasI ? ParseCoordinate(is, true) : 0, hasJ ? ParseCoordinate(js, false) : 0};
  Operate(op, target, hasI || hasJ, offset);
}

double Interpreter::UnitScale() {
  if (units_ == Units::Unknown) {
    if (!unitsWarned_) Warn("no units statement before the first length: inches assumed");
    unitsWarned_ = true;
    return kUnitsPerInch;
  }
  return units_ == Units::Inches ? kUnitsPerInch : kUnitsPerMm;
}

Coord Interpreter::ParseCoordinate(std::string_view text, bool xAxis) {
  const Format& f = layer_.format;
  std::string_view digits = text;
  bool negative = false;
  if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty()) Fail("coordinate without digits");
  if (digits.find('.') != std::string_view::npos) {
    const long double grid = std::strtold(std::string(digits).c_str(), nullptr) * static_cast<long double>(UnitScale());
    if (!(grid <= kCoordLimit)) Fail("coordinate beyond the reader's range of +-2.7 m");
    const Coord c = static_cast<Coord>(std::llround(grid));
    return negative ? -c : c;
  }
  if (!f.declared) Fail("coordinate before the format statement (%FS)");
  if (digits.size() > 18) Fail("coordinate with more than 18 digits");
  if (digits.find_first_not_of("0123456789") != std::string_view::npos)
    Fail("'" + std::string(text) + "' is not a coordinate");
  const int integer = xAxis ? f.xInteger : f.yInteger;
  const int decimals = xAxis ? f.xDecimal : f.yDecimal;
  int shift = decimals;
  if (f.zeros == ZeroOmission::Trailing) {
    const int total = integer + decimals;
    if (static_cast<int>(digits.size()) > total)
      Fail("coordinate with more digits than the format " + std::to_string(integer) + "." + std::to_string(decimals) +
           " allows");
    shift = decimals - (total - static_cast<int>(digits.size()));
  }
  // Exact in integers: the digits times the grid units per file unit over ten to the shift,
  // rounded half away from zero. An inch is 10^7 units, a millimetre 10^8 / 254.
  const bool inches = UnitScale() == kUnitsPerInch;
  const std::uint64_t denominator = inches ? 1 : 254;
  const int exponent = (inches ? 7 : 8) - shift;
  std::uint64_t numerator = 0;
  for (const char d : digits) numerator = numerator * 10 + static_cast<std::uint64_t>(d - '0');
  std::uint64_t divisor = denominator;
  const std::uint64_t most = (static_cast<std::uint64_t>(kCoordLimit) + 1) * denominator;
  for (int i = 0; i < exponent; ++i) {
    if (numerator > most) break;  // beyond the range already
    numerator *= 10;
  }
  for (int i = 0; i < -exponent; ++i) divisor *= 10;
  const std::uint64_t grid = numerator / divisor + (numerator % divisor * 2 >= divisor ? 1 : 0);
  if (grid > static_cast<std::uint64_t>(kCoordLimit)) Fail("coordinate beyond the reader's range of +-2.7 m");
  const Coord c = static_cast<Coord>(grid);
  return negative ? -c : c;
}

double Interpreter::ParseDecimal(const std::string& text, const char* what) {
  const std::string t = WithoutBlanks(text);
  if (t.empty()) Fail(std::string("missing ") + what);
  char* end = nullptr;
  const double v = std::strtod(t.c_str(), &end);
  if (end == t.c_str() || !std::isfinite(v) || std::isinf(v))
    Fail(std::string("'") + t + "' is not a number (" + what + ")");
  if (end != t.c_str() + t.size()) {
    if (t.find_first_not_of("0123456789.+-") != std::string::npos)
      Fail(std::string("'") + t + "' is not a number (" + what + ")");
    // A run of digits with two points, as broken writers leave: read its leading number.
    Warn(std::string("'") + t + "' read as " + t.substr(0, static_cast<std::size_t>(end - t.c_str())) + " (" + what +
         ")");
  }
  return v;
}

// ---------------------------------------------------------------- operations

void Interpreter::Operate(int op, Point target, bool hasIJ, Point offset) {
  if (inRegion_) {
    if (op == 2) {
      CloseContour();
      contour_.clear();
      contour_.push_back(target);
      contourLine_ = statement_->line;
    } else if (op == 1) {
      if (contour_.empty()) contour_.push_back(current_);
      ++contourEdges_;
      if (interpolation_ == Interpolation::Linear) {
        contour_.push_back(target);
      } else {
        Point centre;
        bool full = false;
        if (ArcCentre(current_, target, offset, interpolation_ == Interpolation::Clockwise, centre, full)) {
          const DRing points =
              ArcPath(current_, target, centre, interpolation_ == Interpolation::Clockwise, full, chordError_);
          for (std::size_t i = 1; i < points.size(); ++i) contour_.push_back(ToGrid(points[i]));
        }
        contour_.push_back(target);
      }
      if (static_cast<long long>(contour_.size()) > options_.maxVerticesPerPrimitive)
        Fail("a region contour with more than " + std::to_string(options_.maxVerticesPerPrimitive) + " vertices");
    } else {
      Fail("D03 (flash) inside a region");
    }
    current_ = target;
    return;
  }
  switch (op) {
    case 1:
      Draw(current_, target, hasIJ, offset);
      break;
    case 2:
      break;
    case 3:
      Flash(target);
      break;
  }
  current_ = target;
}

void Interpreter::CloseContour() {
  if (contour_.size() >= 2 && !(contour_.front() == contour_.back())) {
    Warn("region contour not closed: closed with a straight line");
  }
  if (contour_.size() >= 3) {
    Object obj;
    obj.kind = ObjectKind::Region;
    obj.polarity = clear_ ? Polarity::Clear : Polarity::Dark;
    obj.line = contourLine_;
    Ring ring(contour_.begin(), contour_.end());
    if (needAreas_) obj.area = AreaOfRing(ring);
    for (Point p : ring) obj.box.Add(p);
    obj.start = obj.end = ring.front();
    obj.edges = contourEdges_;
    Produce(std::move(obj));
  }
  contour_.clear();
  contourEdges_ = 0;
}

bool Interpreter::ArcCentre(Point start, Point end, Point offset, bool clockwise, Point& centre, bool& full) {
  full = false;
  if (multiQuadrant_) {
    centre = Moved(start, offset);
    full = start == end;
    // Writers round the ends onto their grid, so the radii differ a little; by much, the arc is
    // not an arc of any circle.
    const double r0 = std::hypot(double(start.x) - centre.x, double(start.y) - centre.y);
    const double r1 = std::hypot(double(end.x) - centre.x, double(end.y) - centre.y);
    if (std::abs(r0 - r1) > 0.01 * kUnitsPerMm + 0.01 * std::max(r0, r1))
      Warn("arc whose centre is " + std::to_string(ToMm(r0)) + " mm from its start and " + std::to_string(ToMm(r1)) +
           " mm from its end: drawn as a spiral");
    return true;
  }
  // Single quadrant: the offsets are unsigned; the signs are those that give an arc of at most
  // 90 degrees in the given direction, the one whose radii at both ends agree best.
  bool found = false;
  double best = 0;
  for (int sx : {1, -1}) {
    for (int sy : {1, -1}) {
      const Point c = Moved(start, {sx * std::abs(offset.x), sy * std::abs(offset.y)});
      const double a0 = std::atan2(double(start.y) - c.y, double(start.x) - c.x);
      const double a1 = std::atan2(double(end.y) - c.y, double(end.x) - c.x);
      double sweep = clockwise ? a0 - a1 : a1 - a0;
      while (sweep < 0) sweep += 2 * kPi;
      while (sweep >= 2 * kPi) sweep -= 2 * kPi;
      if (sweep > kPi / 2 + 1e-6) continue;
      const double r0 = std::hypot(double(start.x) - c.x, double(start.y) - c.y);
      const double r1 = std::hypot(double(end.x) - c.x, double(end.y) - c.y);
      const double err = std::abs(r0 - r1);
      if (!found || err < best) {
        found = true;
        best = err;
        centre = c;
      }
    }
  }
  if (!found) {
    Warn("single-quadrant arc longer than 90 degrees: drawn as a straight line");
    return false;
  }
  return true;
}

void Interpreter::Flash(Point at) {
  if (aperture_ == 0) Fail("flash without an aperture selected");
  const ApertureDef& def = apertures_.at(aperture_);
  if (def.shape == ApertureShape::Block) {
    ++layer_.counts.blockFlashes;
    const std::vector<Object>& block = blocks_[static_cast<std::size_t>(def.block)];
    Afford(blockCosts_[static_cast<std::size_t>(def.block)], 1, "this flash of a block aperture");
    const Affine map = Affine::Translation(at.x, at.y).After(ObjectTransform());
    const bool transformed = !ObjectTransformIsIdentity();
    if (transformed) layer_.counts.transformedObjects += static_cast<int>(block.size());
    for (const Object& inner : block) {
      if (inner.blockDepth + 1 > options_.maxBlockDepth)
        Fail("block apertures nested deeper than " + std::to_string(options_.maxBlockDepth));
      Object obj = transformed ? Placed(inner, map) : Placed(inner, Affine::Translation(at.x, at.y));
      if (clear_) obj.polarity = obj.polarity == Polarity::Dark ? Polarity::Clear : Polarity::Dark;
      obj.blockDepth = inner.blockDepth + 1;
      obj.blockDcode = aperture_;
      Produce(std::move(obj));
    }
    return;
  }
  const ApertureUse& use = Use(aperture_);
  Afford({std::max<long long>(1, static_cast<long long>(use.parts.size())),
          needAreas_ ? static_cast<long long>(VertexCount(use.area)) : 0, 1},
         1, "this flash");
  Object obj;
  obj.kind = def.shape == ApertureShape::Macro ? ObjectKind::MacroFlash : ObjectKind::Flash;
  obj.polarity = clear_ ? Polarity::Clear : Polarity::Dark;
  obj.line = statement_->line;
  obj.aperture = use.description;
  obj.start = obj.end = at;
  if (needAreas_ && !SkipsArea(obj)) obj.area = Translated(use.area, at);
  obj.macroParts = use.parts;
  for (MacroPart& part : obj.macroParts) part.centre = Moved(part.centre, at);
  if (use.box.empty)
    obj.box.Add(at);
  else
    obj.box = Box{Moved(use.box.min, at), Moved(use.box.max, at), false};
  if (!ObjectTransformIsIdentity()) ++layer_.counts.transformedObjects;
  Produce(std::move(obj));
}

void Interpreter::Draw(Point from, Point to, bool hasIJ, Point offset) {
  if (aperture_ == 0) Fail("draw without an aperture selected");
  const ApertureDef& def = apertures_.at(aperture_);
  if (def.shape == ApertureShape::Macro || def.shape == ApertureShape::Block)
    Fail("draw (D01) with a macro or block aperture");
  const ApertureUse& use = Use(aperture_);
  Object obj;
  obj.polarity = clear_ ? Polarity::Clear : Polarity::Dark;
  obj.line = statement_->line;
  obj.aperture = use.description;
  obj.start = from;
  obj.end = to;
  bool arc = interpolation_ != Interpolation::Linear;
  const bool clockwise = interpolation_ == Interpolation::Clockwise;
  bool full = false;
  Point centre;
  if (arc && !ArcCentre(from, to, offset, clockwise, centre, full)) arc = false;
  (void)hasIJ;
  const bool circle = def.shape == ApertureShape::Circle;
  const double h = use.diameter / 2;
  obj.kind = arc ? ObjectKind::Arc : ObjectKind::Stroke;
  if (arc) {
    obj.centre = centre;
    obj.clockwise = clockwise;
    obj.fullCircle = full;
  }
  if (!needAreas_ || SkipsArea(obj)) {
    // Descriptions only: the box of the path grown by the aperture's.
    Box path;
    if (arc) {
      path = ArcBox(from, to, centre, clockwise, full);
    } else {
      path.Add(from);
      path.Add(to);
    }
    const Box grow =
        circle ? Box{{-Coord(std::ceil(h)), -Coord(std::ceil(h))}, {Coord(std::ceil(h)), Coord(std::ceil(h))}, false}
               : use.box;
    obj.box = grow.empty ? path : Box{Moved(path.min, grow.min), Moved(path.max, grow.max), false};
    if (!ObjectTransformIsIdentity()) ++layer_.counts.transformedObjects;
    Produce(std::move(obj));
    return;
  }
  if (!arc) {
    obj.area = circle ? RoundStroke(from, to, h, chordError_) : Sweep(use.outline, from, to);
  } else if (circle) {
    obj.area = RoundArc(from, to, centre, clockwise, full, h, chordError_, options_.maxVerticesPerPrimitive);
  } else {
    obj.area = SweptAlong(use.outline, ArcPath(from, to, centre, clockwise, full, chordError_),
                          options_.maxVerticesPerPrimitive);
  }
  obj.box = BoundingBox(obj.area);
  if (obj.box.empty) {
    obj.box.Add(from);
    obj.box.Add(to);
  }
  if (!ObjectTransformIsIdentity()) ++layer_.counts.transformedObjects;
  Produce(std::move(obj));
}

// ---------------------------------------------------------------- apertures

Affine Interpreter::ObjectTransform() const {
  // Mirroring first, then rotation, then scaling, all about the aperture's origin.
  Affine m = Affine::Scaling(mirrorX_ ? -1 : 1, mirrorY_ ? -1 : 1);
  return Affine::Scaling(scale_, scale_).After(Affine::Rotation(rotation_)).After(m);
}

bool Interpreter::SkipsArea(const Object& obj) const {
  // Inside a block the object may yet be turned by the block's flash; elsewhere only whole image
  // turns and translations follow, which keep it plain.
  return !options_.plainObjectAreas && !options_.computeDarkArea && openBlocks_ == 0 && obj.IsPlain();
}

bool Interpreter::ObjectTransformIsIdentity() const { return !mirrorX_ && !mirrorY_ && rotation_ == 0 && scale_ == 1; }

const Interpreter::ApertureUse& Interpreter::Use(int dcode) {
  auto it = uses_.find(dcode);
  if (it != uses_.end()) return it->second;
  return uses_.emplace(dcode, BuildUse(dcode, apertures_.at(dcode))).first->second;
}

Interpreter::ApertureUse Interpreter::BuildUse(int dcode, const ApertureDef& def) {
  ApertureUse use;
  Aperture& a = use.description;
  a.dcode = dcode;
  a.shape = def.shape;
  const Affine t = ObjectTransform();
  const Affine map = t.After(Affine::Scaling(def.unitScale, def.unitScale));
  const double s = map.LengthScale();
  const double theta = std::atan2(t.c, t.a) * 180 / kPi;
  a.mirrored = t.Mirrors();
  auto grid = [&](double v) {
    return static_cast<Coord>(std::llround(std::min(std::abs(v) * s, double(kCoordLimit))));
  };
  const std::vector<double>& p = def.params;
  auto param = [&](std::size_t i) { return i < p.size() ? p[i] : 0.0; };
  if (def.shape == ApertureShape::Macro) {
    a.macroName = def.macroName;
    const MacroLimits limits{options_.maxMacroPrimitives, options_.maxVerticesPerPrimitive,
                             std::max<long long>(0, vertexBudget_ - vertices_)};
    const MacroTemplate& macro = macros_.at(def.macroName);
    // Each instance built is work of its own: a macro redefined or turned again and again.
    const Cost instance{static_cast<long long>(macro.Size()), 0, 0};
    Afford(instance, 1, "building this instance of the macro");
    primitives_ += instance.primitives;
    use.area = macro.Instantiate(p, map, chordError_, limits, &use.parts);
    use.box = BoundingBox(use.area);
    return use;
  }
  DRing outer;
  std::size_t holeAt = 1;
  switch (def.shape) {
    case ApertureShape::Circle:
      a.xSize = a.ySize = grid(param(0));
      use.diameter = std::abs(param(0)) * s;
      outer = Circle({0, 0}, std::abs(param(0)) / 2, chordError_ / s);
      break;
    case ApertureShape::Rectangle:
      a.xSize = grid(param(0));
      a.ySize = grid(param(1));
      outer = Rectangle(std::abs(param(0)), std::abs(param(1)));
      holeAt = 2;
      break;
    case ApertureShape::Obround:
      a.xSize = grid(param(0));
      a.ySize = grid(param(1));
      outer = Obround(std::abs(param(0)), std::abs(param(1)), chordError_ / s);
      holeAt = 2;
      break;
    case ApertureShape::Polygon: {
      a.xSize = a.ySize = grid(param(0));
      a.vertices = static_cast<int>(std::lround(param(1)));
      const double own = param(2);
      a.rotation = a.mirrored ? -own : own;
      outer = RegularPolygon(std::abs(param(0)), a.vertices, own);
      holeAt = 3;
      break;
    }
    default:
      break;
  }
  a.rotation = std::fmod(a.rotation + theta + 360.0, 360.0);
  Ring ring = ToGrid(outer, map);
  if (RingArea(ring) < 0) std::reverse(ring.begin(), ring.end());
  use.outline = ring;
  Area area = (def.shape == ApertureShape::Circle && use.diameter <= 0) ? Area{} : ConvexArea(ring);
  if (p.size() > holeAt) {
    DRing hole;
    if (p.size() > holeAt + 1) {
      hole = Rectangle(std::abs(p[holeAt]), std::abs(p[holeAt + 1]));  // a deprecated square hole
    } else {
      hole = Circle({0, 0}, std::abs(p[holeAt]) / 2, chordError_ / s);
      a.holeDiameter = grid(p[holeAt]);
    }
    if (std::abs(p[holeAt]) > 0) area = Difference(area, AreaOfRing(ToGrid(hole, map)));
  }
  use.area = std::move(area);
  use.box = BoundingBox(use.area);
  return use;
}

void Interpreter::ApertureDefinition(const std::string& raw) {
  // Blanks may stand anywhere but inside a macro's name, which may hold them.
  std::size_t i = 2;
  while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t')) ++i;
  if (i >= raw.size() || raw[i] != 'D') Fail("aperture definition without 'D'");
  ++i;
  const std::size_t numberStart = i;
  while (i < raw.size() && IsDigit(raw[i])) ++i;
  const long d = SmallInt(raw.substr(numberStart, i - numberStart));
  if (d < 10) Fail("aperture number must be 10 or more");
  const std::size_t comma = raw.find(',', i);
  std::string name = raw.substr(i, comma == std::string::npos ? std::string::npos : comma - i);
  name.erase(0, name.find_first_not_of(" \t"));
  name.erase(name.find_last_not_of(" \t") + 1);
  if (name.empty()) Fail("aperture definition without a template");
  std::vector<double> params;
  if (comma != std::string::npos) {
    std::vector<std::string> parts = Split(WithoutBlanks(raw.substr(comma + 1)), 'X');
    while (!parts.empty() && parts.back().empty()) parts.pop_back();  // "C,0.1X": a stray separator
    for (const std::string& part : parts) params.push_back(ParseDecimal(part, "aperture parameter"));
  }
  ApertureDef def;
  def.line = statement_->line;
  def.unitScale = UnitScale();
  if (name == "C" || name == "R" || name == "O" || name == "P") {
    if ((name == "R" || name == "O") && params.size() == 1) {
      Warn("aperture " + name + " with one size: read as " + (name == "R" ? "a square" : "a circle"));
      params.push_back(params[0]);
    }
    const std::size_t needed = name == "C" ? 1 : 2;
    const std::size_t most = name == "P" ? 5 : needed + 2;
    if (params.size() < needed || params.size() > most)
      Fail("aperture " + name + " with " + std::to_string(params.size()) + " parameters");
    for (double v : params)
      if (std::abs(v) * def.unitScale > kCoordLimit) Fail("aperture larger than the reader's range");
    def.shape = name == "C"   ? ApertureShape::Circle
                : name == "R" ? ApertureShape::Rectangle
                : name == "O" ? ApertureShape::Obround
                              : ApertureShape::Polygon;
    if (def.shape == ApertureShape::Polygon) {
      const long n = std::lround(params[1]);
      if (n < 3 || n > 12) Fail("polygon aperture with " + std::to_string(n) + " vertices (3 to 12)");
    }
  } else {
    if (!macros_.count(name)) Fail("aperture macro '" + name + "' is not defined");
    def.shape = ApertureShape::Macro;
    def.macroName = name;
  }
  def.params = params;
  apertures_[static_cast<int>(d)] = def;
  uses_.erase(static_cast<int>(d));
  // Build it now, so that a bad macro instance is reported at its definition.
  if (def.shape == ApertureShape::Macro) Use(static_cast<int>(d));
}

void Interpreter::MacroDefinition(const gerberx::Statement& s) {
  std::string name = s.text.substr(2);
  name.erase(0, name.find_first_not_of(" \t"));
  if (name.empty()) Fail("aperture macro without a name");
  try {
    MacroTemplate m = MacroTemplate::Parse(name, s.macroBody, s.macroLines);
    if (static_cast<long long>(m.Size()) > options_.maxMacroPrimitives)
      Fail("aperture macro with more than " + std::to_string(options_.maxMacroPrimitives) + " primitives");
    macros_.insert_or_assign(name, std::move(m));
  } catch (const MacroError& e) {
    throw ReadError(file_, e.Line() ? e.Line() : s.line, s.text, e.what());
  }
}

// ---------------------------------------------------------------- blocks and step-and-repeat

void Interpreter::ApertureBlock(const std::string& raw) {
  const std::string text = WithoutBlanks(raw);
  if (text == "AB") {
    if (collectors_.empty() || !collectors_.back().block) Fail("%AB end without an open block aperture");
    Collector c = std::move(collectors_.back());
    collectors_.pop_back();
    --openBlocks_;
    blocks_.push_back(std::move(c.objects));
    blockCosts_.push_back(c.cost);
    ApertureDef def;
    def.shape = ApertureShape::Block;
    def.block = static_cast<int>(blocks_.size()) - 1;
    def.line = c.line;
    apertures_[c.dcode] = def;
    uses_.erase(c.dcode);
    return;
  }
  if (text.size() < 4 || text[2] != 'D') Fail("block aperture without 'D'");
  const long d = SmallInt(text.substr(3));
  if (d < 10) Fail("block aperture number must be 10 or more");
  if (inRegion_) Fail("block aperture inside a region");
  if (openBlocks_ >= options_.maxBlockDepth)
    Fail("block apertures nested deeper than " + std::to_string(options_.maxBlockDepth));
  Collector c;
  c.block = true;
  c.dcode = static_cast<int>(d);
  c.line = statement_->line;
  collectors_.push_back(std::move(c));
  ++openBlocks_;
}

void Interpreter::StepRepeat(const std::string& raw) {
  const std::string text = WithoutBlanks(raw);
  if (stepRepeatOpen_) CloseStepRepeat();
  if (text == "SR") return;
  long long x = 1, y = 1;
  double i = 0, j = 0;
  std::size_t k = 2;
  while (k < text.size()) {
    const char letter = text[k++];
    std::size_t start = k;
    while (k < text.size() && !std::isalpha(static_cast<unsigned char>(text[k]))) ++k;
    const std::string value = text.substr(start, k - start);
    switch (letter) {
      case 'X':
      case 'Y': {
        const long n = SmallInt(value);
        if (n < 1) Fail("step-and-repeat count must be a whole number of at least 1");
        (letter == 'X' ? x : y) = n;
        break;
      }
      case 'I':
        i = ParseDecimal(value, "step distance");
        break;
      case 'J':
        j = ParseDecimal(value, "step distance");
        break;
      default:
        Fail(std::string("unknown field '") + letter + "' in %SR");
    }
  }
  if (x * y > options_.maxStepRepeatCopies)
    Fail("step-and-repeat of " + std::to_string(x * y) + " copies (the bound is " +
         std::to_string(options_.maxStepRepeatCopies) + ")");
  Collector c;
  c.line = statement_->line;
  c.xCount = x;
  c.yCount = y;
  c.xStep = i * UnitScale();
  c.yStep = j * UnitScale();
  if (std::abs(c.xStep) * double(x) > kCoordLimit || std::abs(c.yStep) * double(y) > kCoordLimit)
    Fail("step-and-repeat beyond the reader's range");
  collectors_.push_back(std::move(c));
  stepRepeatOpen_ = true;
}

void Interpreter::CloseStepRepeat() {
  if (collectors_.empty() || collectors_.back().block) Fail("step-and-repeat closed inside a block aperture");
  Collector c = std::move(collectors_.back());
  collectors_.pop_back();
  stepRepeatOpen_ = false;
  const long long copies = c.xCount * c.yCount;
  if (copies > 1) {
    ++layer_.counts.stepRepeatBlocks;
    if (produced_ + (copies - 1) * static_cast<long long>(c.objects.size()) > options_.maxObjects)
      Fail("step-and-repeat gives more than " + std::to_string(options_.maxObjects) +
           " objects (the bound on objects)");
    Afford(c.cost, copies - 1, "the copies of this step-and-repeat");
  }
  int index = 0;
  for (long long iy = 0; iy < c.yCount; ++iy) {
    for (long long ix = 0; ix < c.xCount; ++ix, ++index) {
      const Point by{static_cast<Coord>(std::llround(c.xStep * double(ix))),
                     static_cast<Coord>(std::llround(c.yStep * double(iy)))};
      for (const Object& inner : c.objects) {
        Object obj = (by.x == 0 && by.y == 0) ? inner : Placed(inner, Affine::Translation(by.x, by.y));
        obj.stepRepeatCopy = index;
        if (index > 0) ++layer_.counts.stepRepeatCopies;
        Produce(std::move(obj));
      }
    }
  }
}

// ---------------------------------------------------------------- objects

Object Interpreter::Placed(const Object& obj, const Affine& map) const {
  Object out = obj;
  const bool translation = map.a == 1 && map.b == 0 && map.c == 0 && map.d == 1 && map.tx == std::round(map.tx) &&
                           map.ty == std::round(map.ty);
  if (translation) {
    const Point by{static_cast<Coord>(map.tx), static_cast<Coord>(map.ty)};
    out.area = Translated(obj.area, by);
    out.start = Moved(obj.start, by);
    out.end = Moved(obj.end, by);
    out.centre = Moved(obj.centre, by);
    if (!obj.box.empty) out.box = Box{Moved(obj.box.min, by), Moved(obj.box.max, by), false};
    for (MacroPart& part : out.macroParts) part.centre = Moved(part.centre, by);
    return out;
  }
  auto place = [&](Point p) { return ToGrid(map.Apply({double(p.x), double(p.y)})); };
  out.area = Transformed(obj.area, map);
  out.start = place(obj.start);
  out.end = place(obj.end);
  out.centre = place(obj.centre);
  const bool mirror = map.Mirrors();
  if (mirror) out.clockwise = !obj.clockwise;
  const double s = map.LengthScale();
  Aperture& a = out.aperture;
  a.xSize = static_cast<Coord>(std::llround(std::min(a.xSize * s, double(kCoordLimit))));
  a.ySize = static_cast<Coord>(std::llround(std::min(a.ySize * s, double(kCoordLimit))));
  a.holeDiameter = static_cast<Coord>(std::llround(std::min(a.holeDiameter * s, double(kCoordLimit))));
  const double theta = std::atan2(map.c, map.a) * 180 / kPi;
  a.rotation = std::fmod((mirror ? -a.rotation : a.rotation) + theta + 720.0, 360.0);
  a.mirrored = a.mirrored != mirror;
  for (MacroPart& part : out.macroParts) {
    if (!map.KeepsAngles()) part.shape = MacroPart::Shape::Other;
    part.centre = place(part.centre);
    part.xSize = static_cast<Coord>(std::llround(std::min(part.xSize * s, double(kCoordLimit))));
    part.ySize = static_cast<Coord>(std::llround(std::min(part.ySize * s, double(kCoordLimit))));
    part.gap = static_cast<Coord>(std::llround(std::min(part.gap * s, double(kCoordLimit))));
    const double turn = part.rotation * kPi / 180;
    const DPoint axis = map.ApplyLinear({std::cos(turn), std::sin(turn)});
    part.rotation = std::atan2(axis.y, axis.x) * 180 / kPi;
  }
  out.box = BoundingBox(out.area);
  if (out.box.empty && !obj.box.empty) {
    // No polygons kept: the box of the placed corners.
    for (Point corner :
         {obj.box.min, obj.box.max, Point{obj.box.min.x, obj.box.max.y}, Point{obj.box.max.x, obj.box.min.y}})
      out.box.Add(place(corner));
  } else if (out.box.empty) {
    out.box.Add(out.start);
    out.box.Add(out.end);
  }
  return out;
}

Interpreter::Cost Interpreter::CostOf(const Object& obj) {
  const long long vertices = static_cast<long long>(VertexCount(obj.area));
  long long primitives = 1;
  if (obj.kind == ObjectKind::MacroFlash)
    primitives = std::max<long long>(1, static_cast<long long>(obj.macroParts.size()));
  if (obj.kind == ObjectKind::Region) primitives = std::max<long long>(1, vertices);  // its edges
  return {primitives, vertices, 1};
}

void Interpreter::Afford(const Cost& cost, long long times, const char* what) {
  const auto over = [times](long long spent, long long each, long long budget) {
    return each > 0 && (times > (budget - spent) / each || spent + times * each > budget);
  };
  const auto text = [&](long long each, const char* unit, long long spent, long long budget) {
    const double more = static_cast<double>(each) * static_cast<double>(times);
    return std::string(what) + " would place " + std::to_string(std::llround(std::min(more, 9e18))) + " " + unit +
           " more where " + std::to_string(std::max<long long>(0, budget - spent)) + " of the file's " +
           std::to_string(budget) + " are left (the bound on work for a file of this size)";
  };
  if (over(primitives_, cost.primitives, primitiveBudget_))
    Fail(text(cost.primitives, "primitives", primitives_, primitiveBudget_));
  if (over(vertices_, cost.vertices, vertexBudget_))
    Fail(text(cost.vertices, "polygon vertices", vertices_, vertexBudget_));
  if (over(produced_, cost.objects, options_.maxObjects))
    Fail(text(cost.objects, "objects", produced_, options_.maxObjects));
}

void Interpreter::CountProduced(const Object& obj) {
  const Cost cost = CostOf(obj);
  if (++produced_ > options_.maxObjects)
    Fail("more than " + std::to_string(options_.maxObjects) + " objects (the bound on objects)");
  vertices_ += cost.vertices;
  if (vertices_ > vertexBudget_)
    Fail("more than " + std::to_string(vertexBudget_) + " polygon vertices (the bound on vertices for this file)");
  primitives_ += cost.primitives;
  if (primitives_ > primitiveBudget_)
    Fail("more than " + std::to_string(primitiveBudget_) + " primitives placed (the bound on work for this file)");
}

void Interpreter::Produce(Object obj) {
  CountProduced(obj);
  if (!collectors_.empty()) {
    Cost& recorded = collectors_.back().cost;
    const Cost cost = CostOf(obj);
    recorded.primitives += cost.primitives;
    recorded.vertices += cost.vertices;
    ++recorded.objects;
    collectors_.back().objects.push_back(std::move(obj));
    return;
  }
  Emit(std::move(obj));
}

void Interpreter::Emit(Object obj) {
  if (!imageMapIdentity_) obj = Placed(obj, imageMap_);
  const bool clear = obj.polarity == Polarity::Clear;
  if (options_.computeDarkArea) dark_.Add(obj.area, clear);
  if (negative_) obj.polarity = clear ? Polarity::Dark : Polarity::Clear;
  // A clear object cuts with its area: one left out as plain gets it now.
  if (obj.polarity == Polarity::Clear && obj.area.empty() && !options_.plainObjectAreas && obj.IsPlain())
    obj.area = PlainArea(obj, chordError_);
  Counts& n = layer_.counts;
  switch (obj.kind) {
    case ObjectKind::Flash:
      ++n.flashes;
      break;
    case ObjectKind::Stroke:
      ++n.strokes;
      break;
    case ObjectKind::Arc:
      ++n.arcs;
      break;
    case ObjectKind::Region:
      ++n.regions;
      break;
    case ObjectKind::MacroFlash:
      ++n.macroFlashes;
      break;
  }
  if (obj.polarity == Polarity::Clear) ++n.clearObjects;
  if (!options_.keepObjectAreas) Area().swap(obj.area);
  layer_.objects.push_back(std::move(obj));
}

// ---------------------------------------------------------------- extended statements

void Interpreter::Extended(const gerberx::Statement& s) {
  const std::string& text = s.text;
  const std::string code = text.substr(0, 2);
  if (code == "FS") return FormatStatement(WithoutBlanks(text));
  if (code == "MO") {
    const std::string u = WithoutBlanks(text.substr(2));
    if (u == "IN")
      units_ = Units::Inches;
    else if (u == "MM")
      units_ = Units::Millimetres;
    else
      Fail("unknown units '" + u + "'");
    uses_.clear();
    return;
  }
  if (code == "AD") return ApertureDefinition(text);
  if (code == "AM") return MacroDefinition(s);
  if (code == "AB") return ApertureBlock(text);
  if (code == "SR") return StepRepeat(text);
  if (code == "LP") {
    const std::string v = WithoutBlanks(text.substr(2));
    if (v == "D")
      clear_ = false;
    else if (v == "C")
      clear_ = true;
    else
      Fail("polarity must be D or C");
    return;
  }
  if (code == "LM" || code == "LR" || code == "LS")
    return ObjectTransformStatement(code, WithoutBlanks(text.substr(2)));
  if (code == "TF" || code == "TA" || code == "TO" || code == "TD") return AttributeStatement(text);
  if (code == "IP" || code == "MI" || code == "OF" || code == "SF" || code == "IR" || code == "AS")
    return ImageStatement(code, WithoutBlanks(text.substr(2)));
  if (code == "IN") {
    layer_.imageName = text.substr(2);
    ++layer_.counts.deprecated;
    return;
  }
  if (code == "LN") {
    layer_.layerName = text.substr(2);
    ++layer_.counts.deprecated;
    return;
  }
  if (code == "KO") Fail("knockout (%KO) is not supported");
  if (code == "IC") {
    ++layer_.counts.deprecated;  // the character code of the file: no effect on the image
    return;
  }
  Warn("unknown command %" + text.substr(0, 20) + " skipped");
}

void Interpreter::FormatStatement(const std::string& text) {
  Format f;
  f.declared = true;
  std::size_t i = 2;
  bool x = false, y = false;
  while (i < text.size()) {
    const char c = text[i++];
    switch (c) {
      case 'L':
        f.zeros = ZeroOmission::Leading;
        break;
      case 'T':
        f.zeros = ZeroOmission::Trailing;
        break;
      case 'D': {
        // Either "no zero omission" right after FS, or a deprecated Dn digit count.
        if (i < text.size() && IsDigit(text[i])) ++i;
        break;
      }
      case 'A':
        f.notation = Notation::Absolute;
        break;
      case 'I':
        f.notation = Notation::Incremental;
        break;
      case 'N':
      case 'G':
      case 'M':
        if (i < text.size() && IsDigit(text[i])) ++i;
        break;
      case 'X':
      case 'Y': {
        if (i + 2 > text.size() || !IsDigit(text[i]) || !IsDigit(text[i + 1]))
          Fail(std::string("%FS: '") + c + "' needs two digits");
        const int a = text[i] - '0', b = text[i + 1] - '0';
        i += 2;
        if (c == 'X')
          f.xInteger = a, f.xDecimal = b, x = true;
        else
          f.yInteger = a, f.yDecimal = b, y = true;
        break;
      }
      default:
        Fail(std::string("%FS: unexpected '") + c + "'");
    }
  }
  if (!x || !y) Fail("%FS without the X and Y digit counts");
  layer_.format = f;
}

void Interpreter::ObjectTransformStatement(const std::string& code, const std::string& v) {
  if (code == "LM") {
    if (v == "N")
      mirrorX_ = mirrorY_ = false;
    else if (v == "X")
      mirrorX_ = true, mirrorY_ = false;
    else if (v == "Y")
      mirrorX_ = false, mirrorY_ = true;
    else if (v == "XY")
      mirrorX_ = mirrorY_ = true;
    else
      Fail("%LM must be N, X, Y or XY");
  } else if (code == "LR") {
    rotation_ = ParseDecimal(v, "rotation");
  } else {
    scale_ = ParseDecimal(v, "scale");
    if (!(scale_ > 0) || scale_ > 1e6) Fail("%LS scale must be positive");
  }
  uses_.clear();
}

void Interpreter::AttributeStatement(const std::string& text) {
  ++layer_.counts.attributes;
  if (text.rfind("TF", 0) != 0) return;  // aperture, object and delete attributes: no effect on the image
  std::vector<std::string> parts = Split(text.substr(2), ',');
  Attribute a;
  a.name = parts[0];
  a.values.assign(parts.begin() + 1, parts.end());
  layer_.fileAttributes.push_back(std::move(a));
}

void Interpreter::ImageStatement(const std::string& code, const std::string& v) {
  auto field = [&](char letter, double fallback) {
    const std::size_t at = v.find(letter);
    if (at == std::string::npos) return fallback;
    std::size_t end = at + 1;
    while (end < v.size() && !std::isalpha(static_cast<unsigned char>(v[end]))) ++end;
    return ParseDecimal(v.substr(at + 1, end - at - 1), code.c_str());
  };
  bool effect = false;
  if (code == "IP") {
    if (v == "POS")
      negative_ = false;
    else if (v == "NEG")
      negative_ = true, effect = true;
    else
      Fail("%IP must be POS or NEG");
  } else if (code == "MI") {
    mirrorA_ = field('A', 0) != 0;
    mirrorB_ = field('B', 0) != 0;
    effect = mirrorA_ || mirrorB_;
  } else if (code == "SF") {
    scaleA_ = field('A', 1);
    scaleB_ = field('B', 1);
    if (!(scaleA_ > 0) || !(scaleB_ > 0) || scaleA_ > 1e6 || scaleB_ > 1e6) Fail("%SF scale must be positive");
    effect = scaleA_ != 1 || scaleB_ != 1;
  } else if (code == "OF") {
    const double a = field('A', 0), b = field('B', 0);
    if (std::abs(a) * UnitScale() > kCoordLimit || std::abs(b) * UnitScale() > kCoordLimit)
      Fail("%OF beyond the reader's range");
    offset_ = {static_cast<Coord>(std::llround(a * UnitScale())), static_cast<Coord>(std::llround(b * UnitScale()))};
    effect = a != 0 || b != 0;
  } else if (code == "IR") {
    const long r = SmallInt(v);
    if (r != 0 && r != 90 && r != 180 && r != 270) Fail("%IR must be 0, 90, 180 or 270");
    imageRotation_ = double(r);
    effect = r != 0;
  } else if (code == "AS") {
    if (v == "AXBY")
      swapAxes_ = false;
    else if (v == "AYBX")
      swapAxes_ = true, effect = true;
    else
      Fail("%AS must be AXBY or AYBX");
  }
  if (effect) ++layer_.counts.imageParameters;
  ++layer_.counts.deprecated;
  UpdateImageMap();
}

void Interpreter::UpdateImageMap() {
  // Always in the order MI, SF, OF, IR, AS, whatever the order of the statements.
  Affine m = Affine::Scaling(mirrorA_ ? -1 : 1, mirrorB_ ? -1 : 1);
  m = Affine::Scaling(scaleA_, scaleB_).After(m);
  m = Affine::Translation(offset_.x, offset_.y).After(m);
  m = Affine::Rotation(imageRotation_).After(m);
  if (swapAxes_) m = Affine{0, 1, 1, 0, 0, 0}.After(m);
  imageMap_ = m;
  imageMapIdentity_ = m.IsIdentity();
}

}  // namespace gerberx
