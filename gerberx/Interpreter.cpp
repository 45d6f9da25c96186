#include "gerberx/Interpreter.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "gerberx/CoordinateFormat.h"
#include "gerberx/Fields.h"
#include "gerberx/StatementError.h"

namespace gerberx {

Interpreter::Interpreter(std::string file, const Options& options)
    : file_(std::move(file)),
      options_(options),
      chordError_(std::max(options.chordErrorMm, 1e-6) * kUnitsPerMm),
      needAreas_(options.keepObjectAreas || options.computeDarkArea),
      dark_([this](long long vertices) { ChargeDarkArea(vertices); }) {
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
    } catch (const StatementError& e) {
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
  return DecodeCoordinate(text, layer_.format, xAxis, UnitScale());
}

double Interpreter::ParseDecimal(const std::string& text, const char* what) {
  std::string note;
  const double v = DecodeDecimal(text, what, note);
  if (!note.empty()) Warn(note);
  return v;
}

void Interpreter::Extended(const gerberx::Statement& s) {
  const std::string& text = s.text;
  const std::string code = text.substr(0, 2);
  if (code == "FS") {
    layer_.format = ParseFormat(WithoutBlanks(text));
    return;
  }
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

void Interpreter::AttributeStatement(const std::string& text) {
  ++layer_.counts.attributes;
  if (text.rfind("TF", 0) != 0) return;  // aperture, object and delete attributes: no effect on the image
  std::vector<std::string> parts = Split(text.substr(2), ',');
  Attribute a;
  a.name = parts[0];
  a.values.assign(parts.begin() + 1, parts.end());
  layer_.fileAttributes.push_back(std::move(a));
}

}  // namespace gerberx
