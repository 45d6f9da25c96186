// The interpreter's apertures: their definitions (%AD, %AM), the object transform (%LM, %LR, %LS)
// and the shapes a flash or draw takes under it.
#include <algorithm>
#include <cmath>

#include "gerberx/DrawnShapes.h"
#include "gerberx/Fields.h"
#include "gerberx/Interpreter.h"

namespace gerberx {

namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

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
    use.vertices = static_cast<long long>(VertexCount(use.area));
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
      hole = Rectangle(std::abs(p[holeAt]), std::abs(p[holeAt + 1]));                 // a deprecated square hole
      a.holeDiameter = grid(std::max(std::abs(p[holeAt]), std::abs(p[holeAt + 1])));  // a hole all the same
    } else {
      hole = Circle({0, 0}, std::abs(p[holeAt]) / 2, chordError_ / s);
      a.holeDiameter = grid(p[holeAt]);
    }
    if (std::abs(p[holeAt]) > 0) area = Difference(area, AreaOfRing(ToGrid(hole, map)));
  }
  use.area = std::move(area);
  use.box = BoundingBox(use.area);
  use.vertices = static_cast<long long>(VertexCount(use.area));
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

}  // namespace gerberx
