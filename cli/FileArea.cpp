#include "cli/FileArea.h"

#include "gerberx/Reader.h"

namespace zzcli {

namespace {

namespace bp = boost::polygon;

// The reader's areas are in the board's internal units already.
void Insert(PolygonSet& set, const gerberx::Area& area) {
  for (const gerberx::Polygon& polygon : area) {
    const auto ring = [](const gerberx::Ring& points) {
      std::vector<bp::point_data<int32_t>> out;
      out.reserve(points.size());
      for (const gerberx::Point& p : points) out.emplace_back(p.x, p.y);
      return bp::polygon_data<int32_t>(out.begin(), out.end());
    };
    std::vector<bp::polygon_data<int32_t>> holes;
    holes.reserve(polygon.holes.size());
    for (const gerberx::Ring& hole : polygon.holes) holes.push_back(ring(hole));
    bp::polygon_with_holes_data<int32_t> shape;
    const bp::polygon_data<int32_t> outer = ring(polygon.outer);
    shape.set(outer.begin(), outer.end());
    shape.set_holes(holes.begin(), holes.end());
    set.insert(shape);
  }
}

// Why the importer drops or misplaces an object of the file: what changes the whole file
// first, then what the object is, then what its statement holds.
Cause CauseOf(const gerberx::Object& object, const PluginReading& reading) {
  if (reading.Global != Cause::None) return reading.Global;
  if (reading.FirstOperationWithoutApertures != 0 && object.line >= reading.FirstOperationWithoutApertures) {
    return reading.FirstOperationCause;
  }
  if (object.stepRepeatCopy > 0) return Cause::StepAndRepeat;
  if (object.blockDepth > 0) return Cause::BlockApertures;
  if (object.kind == gerberx::ObjectKind::Region) return Cause::Regions;
  if (object.kind == gerberx::ObjectKind::MacroFlash) return Cause::MacroPads;
  const auto line = reading.LineCauses.find(object.line);
  return line != reading.LineCauses.end() ? line->second : Cause::None;
}

}  // namespace

std::optional<FileArea> ReadFileArea(const std::string& file, const PluginReading& reading, std::string& why) {
  gerberx::Layer layer;
  try {
    gerberx::Options options;
    options.chordErrorMm = kChordErrorMm;
    layer = gerberx::ReadGerberFile(file, options);
  } catch (const std::exception& e) {
    why = std::string("the file cannot be read fully: ") + e.what();
    return std::nullopt;
  }
  FileArea area;
  Insert(area.Dark, layer.dark);
  // Clear objects are no dark area of their own; what they cut, the board adds.
  for (const gerberx::Object& object : layer.objects) {
    if (object.polarity != gerberx::Polarity::Dark) continue;
    const Cause cause = CauseOf(object, reading);
    if (cause != Cause::None) Insert(area.ObjectsByCause[static_cast<std::size_t>(cause)], object.area);
  }
  return area;
}

}  // namespace zzcli
