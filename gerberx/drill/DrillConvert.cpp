#include "gerberx/drill/DrillConvert.h"

#include <cstdio>
#include <map>

#include "gerberx/Geometry.h"

namespace gerberx::drill {
namespace {

std::string ByDiameter(const char* what, const std::map<std::int64_t, std::size_t>& counts) {
  std::string text = what;
  const char* separator = ": ";
  for (const auto& [diameter, n] : counts) {
    char entry[64];
    std::snprintf(entry, sizeof entry, "%s%.3f mm x %zu", separator, ToMm(static_cast<double>(diameter)), n);
    text += entry;
    separator = ", ";
  }
  return text;
}

}  // namespace

convert::ConvertedLayer ToConvertedLayer(const DrillFile& drill) {
  convert::ConvertedLayer layer;
  layer.Pads.reserve(drill.Holes.size());
  for (const Hole& h : drill.Holes) layer.Pads.push_back({h.At, ApertureShape::Circle, h.Diameter, h.Diameter});
  const auto cut = [&](const Cut& c) {
    // A slot of no length is a hole: a pad, not a track the importer may drop.
    if (c.From == c.To) {
      layer.Pads.push_back({c.From, ApertureShape::Circle, c.Diameter, c.Diameter});
    } else {
      layer.Tracks.push_back({c.From, c.To, c.Diameter});
    }
  };
  for (const Cut& c : drill.Slots) cut(c);
  for (const Cut& c : drill.RoutedLines) cut(c);
  for (const RoutedArc& a : drill.RoutedArcs) layer.Arcs.push_back({a.From, a.To, a.Centre, a.Clockwise, a.Diameter});
  return layer;
}

std::string DrillSummary(const DrillFile& drill) {
  std::map<std::int64_t, std::size_t> holes, slots, paths;
  for (const Hole& h : drill.Holes) ++holes[h.Diameter];
  for (const Cut& c : drill.Slots) ++slots[c.Diameter];
  for (const std::int64_t d : drill.RoutedPaths) ++paths[d];
  std::string text;
  const auto add = [&](const char* what, const std::map<std::int64_t, std::size_t>& counts) {
    if (counts.empty()) return;
    if (!text.empty()) text += "; ";
    text += ByDiameter(what, counts);
  };
  add("holes", holes);
  add("slots", slots);
  add("routed paths", paths);
  return text.empty() ? "no holes, slots or routed paths" : text;
}

std::string PlatingText(Plating plating) {
  switch (plating) {
    case Plating::Plated:
      return "plated";
    case Plating::NonPlated:
      return "non-plated";
    case Plating::Mixed:
      return "plated and non-plated";
    case Plating::Unknown:
      break;
  }
  return "";
}

}  // namespace gerberx::drill
