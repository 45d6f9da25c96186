#include "cli/Summary.h"

#include <cstdio>
#include <sstream>

#include "cli/ImportWatch.h"
#include "cli/LeftOutOutput.h"
#include "cli/Plural.h"

namespace zzcli {
namespace {

constexpr double kUnitsPerMm = 10000.0 / 0.0254;
constexpr double kUnitsPerInch = 10'000'000.0;

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

void Line(std::ostringstream& out, const char* label, const std::string& value) {
  std::string padded = *label != '\0' ? std::string(label) + ":" : std::string();
  padded.resize(17, ' ');
  out << padded << value << '\n';
}

std::string LayerText(zz::TLayerNumber layer) {
  const std::string name = layer <= zz::kMaxClassicLayer ? std::string(zz::LayerNameTable[layer].View()) : "?";
  return std::to_string(layer) + " " + name;
}

void ObjectsLine(std::ostringstream& out, const ObjectCounts& c) {
  std::string objects = std::to_string(c.Total());
  if (c.Total() != 0) {
    objects += ": " + Plural(c.Tracks, "track", "tracks") + ", " + Plural(c.Fills, "fill", "fills") + ", " +
               Plural(c.Arcs, "arc", "arcs") + ", " + Plural(c.Pads, "pad", "pads");
    if (c.Others != 0) objects += ", " + Plural(c.Others, "other", "others");
  }
  Line(out, "Objects", objects);
}

void BoundsLines(std::ostringstream& out, const std::optional<standin::Box>& bounds) {
  if (!bounds) {
    Line(out, "Bounding box", "none (no objects)");
    return;
  }
  const standin::Box& b = *bounds;
  Line(out, "Bounding box",
       "x " + FormatMm(b.Left) + " to " + FormatMm(b.Right) + ", y " + FormatMm(b.Bottom) + " to " + FormatMm(b.Top) +
           " mm (" + FormatMm(b.Width()) + " x " + FormatMm(b.Height()) + " mm)");
  Line(out, "",
       "x " + FormatInch(b.Left) + " to " + FormatInch(b.Right) + ", y " + FormatInch(b.Bottom) + " to " +
           FormatInch(b.Top) + " in (" + FormatInch(b.Width()) + " x " + FormatInch(b.Height()) + " in)");
}

}  // namespace

std::string FormatMm(double units) { return Fixed(units / kUnitsPerMm, 4); }
std::string FormatInch(double units) { return Fixed(units / kUnitsPerInch, 5); }

ObjectCounts CountObjects(const standin::ObjectStore& objects, const standin::Board& board, std::size_t first) {
  ObjectCounts counts;
  for (auto it = board.Objects.From(first); it != board.Objects.end(); ++it) {
    switch (objects.KindOf(*it)) {
      case zz::TObjectKind::Track:
        ++counts.Tracks;
        break;
      case zz::TObjectKind::Fill:
        ++counts.Fills;
        break;
      case zz::TObjectKind::Arc:
        ++counts.Arcs;
        break;
      case zz::TObjectKind::Pad:
        ++counts.Pads;
        break;
      default:
        ++counts.Others;
        break;
    }
  }
  return counts;
}

std::string FormatSummary(const ImportReport& report) {
  std::ostringstream out;
  Line(out, "File", report.File);
  Line(out, "Recognised", report.Recognised ? "yes" : "no: " + report.NotRecognisedReason);
  if (report.Crashed) {
    Line(out, "Result", "false (the import stopped with an error: " + report.CrashText + ")");
  } else if (report.Result) {
    Line(out, "Result", "true (the whole file was read)");
  } else if (report.Recognised) {
    Line(out, "Result", "false (the import stopped before the end of the file)");
  } else {
    Line(out, "Result", "false (nothing was imported)");
  }
  Line(out, "Layer", LayerText(report.Layer) + (report.LayerWhy.empty() ? "" : " (" + report.LayerWhy + ")"));

  if (report.Messages.empty()) {
    Line(out, "Messages shown", "none");
  } else {
    Line(out, "Messages shown", std::to_string(report.Messages.size()));
    for (const std::string& message : report.Messages) out << "  \"" << message << "\"\n";
  }

  ObjectsLine(out, report.Counts);
  BoundsLines(out, report.Bounds);

  if (!report.TableSearched) {
    Line(out, "Aperture table", "not searched");
  } else {
    Line(out, "Aperture table", report.TableFile ? *report.TableFile : "none beside the file");
  }

  if (report.Ignored) {
    std::string ignored;
    for (const auto& [kind, count] : *report.Ignored) {
      ignored += (ignored.empty() ? "" : ", ") + std::string(CountWords(kind)) + " " + std::to_string(count);
    }
    Line(out, "Ignored", ignored.empty() ? "nothing" : ignored);
  }
  if (report.LeftOut) out << LeftOutSummary(*report.LeftOut);
  return out.str();
}

std::string FormatBoardSummary(const std::vector<ImportReport>& reports, const ObjectCounts& counts,
                               const std::optional<standin::Box>& bounds) {
  std::ostringstream out;
  std::size_t imported = 0;
  for (const ImportReport& report : reports) imported += report.Result ? 1 : 0;
  Line(out, "Board", Plural(reports.size(), "file", "files") + ", " + std::to_string(imported) + " read to the end");
  const char* label = "Layers";
  for (const ImportReport& report : reports) {
    Line(out, label, LayerText(report.Layer) + ": " + report.File);
    label = "";
  }
  ObjectsLine(out, counts);
  BoundsLines(out, bounds);
  return out.str();
}

}  // namespace zzcli
