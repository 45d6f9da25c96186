#include "report/LeftOut.h"

#include <cmath>
#include <exception>
#include <utility>

#include "gerberx/SpanSweep.h"
#include "report/BoardShapes.h"
#include "report/FileArea.h"

namespace zzreport {
namespace {

using gerberx::Length;
using gerberx::Paint;
using gerberx::Row;
using gerberx::Span;
using gerberx::Spans;
using gerberx::SpanSweep;
using gerberx::Subtract;

constexpr uint32_t kBoardLayer = 0;
constexpr uint32_t FileCauseLayer(Cause c) { return static_cast<uint32_t>(c); }
constexpr uint32_t BoardCauseLayer(Cause c) { return static_cast<uint32_t>(kCauseCount + static_cast<std::size_t>(c)); }
constexpr uint32_t kFirstRunLayer = 2 * kCauseCount;

// Rows of spans into rectangles, a rectangle growing while the rows below it end the same way.
class Rectangles {
 public:
  explicit Rectangles(std::vector<gerberx::Ring>& out, double pitch) : out_(out), pitch_(pitch) {}
  void AddRow(int64_t row, const Spans& spans) {
    std::vector<Open> next;
    std::size_t j = 0;
    for (const Span& s : spans) {
      const Open key{Round(s.Begin), Round(s.End), row};
      while (j < open_.size() && row == lastRow_ + 1 && Before(open_[j], key)) Close(open_[j++], row);
      if (j < open_.size() && row == lastRow_ + 1 && open_[j].Begin == key.Begin && open_[j].End == key.End) {
        next.push_back(open_[j++]);
      } else if (key.End > key.Begin) {
        next.push_back(key);
      }
    }
    // What found no match, or lies above rows that were skipped, ends with the last row.
    for (; j < open_.size(); ++j) Close(open_[j], lastRow_ + 1);
    open_ = std::move(next);
    lastRow_ = row;
  }
  void Finish() {
    for (const Open& o : open_) Close(o, lastRow_ + 1);
    open_.clear();
  }

 private:
  struct Open {
    gerberx::Coord Begin, End;
    int64_t FirstRow;
  };
  static gerberx::Coord Round(double x) { return static_cast<gerberx::Coord>(std::llround(x)); }
  static bool Before(const Open& a, const Open& b) {
    return a.Begin < b.Begin || (a.Begin == b.Begin && a.End < b.End);
  }
  void Close(const Open& o, int64_t endRow) {
    const auto y0 = static_cast<gerberx::Coord>(std::llround(static_cast<double>(o.FirstRow) * pitch_));
    const auto y1 = static_cast<gerberx::Coord>(std::llround(static_cast<double>(endRow) * pitch_));
    out_.push_back({{o.Begin, y0}, {o.End, y0}, {o.End, y1}, {o.Begin, y1}});
  }
  std::vector<gerberx::Ring>& out_;
  double pitch_;
  std::vector<Open> open_;
  int64_t lastRow_ = INT64_MIN / 2;
};

// Shares out `rest` over the causes' objects in the order of Cause; what none holds is Other.
void ShareOut(Spans rest, const std::array<const Spans*, kCauseCount>& objects,
              std::array<double, kCauseCount>& lengths, Spans& part, Spans& left) {
  for (std::size_t c = 1; c < kCauseCount && !rest.empty(); ++c) {
    if (c == static_cast<std::size_t>(Cause::Other) || objects[c] == nullptr) continue;
    Intersect(rest, *objects[c], part);
    if (part.empty()) continue;
    lengths[c] += Length(part);
    Subtract(rest, part, left);
    rest.swap(left);
  }
  lengths[static_cast<std::size_t>(Cause::Other)] += Length(rest);
}

LeftOutReport Sweep(const FileArea& file, const PluginReading& reading, const standin::ObjectStore& objects,
                    std::span<const zz::THandle> added, bool outlines) {
  const double pitch = kRowPitchMm * gerberx::kUnitsPerMm;
  const double chordError = kChordErrorMm * gerberx::kUnitsPerMm;
  const std::vector<gerberx::Object>& fileObjects = file.Layer.objects;
  // The file's image: each run of one polarity a layer, in drawing order.
  std::vector<uint32_t> runOf(fileObjects.size());
  std::vector<bool> runClear;
  for (std::size_t i = 0; i < fileObjects.size(); ++i) {
    const bool clear = fileObjects[i].polarity == gerberx::Polarity::Clear;
    if (runClear.empty() || runClear.back() != clear) runClear.push_back(clear);
    runOf[i] = kFirstRunLayer + static_cast<uint32_t>(runClear.size() - 1);
  }
  // The board's objects by cause: one cause per object the importer created, matched in order.
  const bool matched = reading.ObjectsCreated == static_cast<int64_t>(added.size());
  std::vector<gerberx::Coord> lowest;
  lowest.reserve(fileObjects.size() + added.size());
  for (const gerberx::Object& o : fileObjects) lowest.push_back(o.box.empty ? 0 : o.box.min.y);
  for (const zz::THandle h : added) lowest.push_back(LowestY(objects, h));

  gerberx::Outline outline;
  const auto make = [&](std::size_t i, const SpanSweep::AddRing& add) {
    outline.clear();
    if (i < fileObjects.size()) {
      const gerberx::Object& o = fileObjects[i];
      try {
        gerberx::ObjectOutline(outline, o, chordError);
      } catch (const std::exception&) {
        outline.clear();  // an outline beyond the reader's range: nothing of it is measured
      }
      // A cause of the whole file takes all that is left out: its objects need no layer of their own.
      const Cause cause = reading.Global != Cause::None ? Cause::None : file.Causes[i];
      for (const gerberx::Ring& ring : outline) {
        add(runOf[i], ring);
        // Clear objects are no dark area of their own; what they cut, the board adds.
        if (cause != Cause::None && o.polarity == gerberx::Polarity::Dark) add(FileCauseLayer(cause), ring);
      }
      return;
    }
    const std::size_t k = i - fileObjects.size();
    const Cause cause =
        matched && reading.Global == Cause::None ? reading.CauseOfObject(static_cast<int64_t>(k)) : Cause::None;
    AddObjectOutline(outline, objects, added[k]);
    for (const gerberx::Ring& ring : outline) {
      add(kBoardLayer, ring);
      if (cause != Cause::None) add(BoardCauseLayer(cause), ring);
    }
  };

  LeftOutReport report;
  double dark = 0, board = 0, leftOut = 0, addedLength = 0;
  std::array<double, kCauseCount> leftByCause{}, addedByCause{};
  Spans image, scratch, leftSpans, addedSpans, part, rest;
  const Spans empty;
  Rectangles leftRects(report.LeftOut, pitch), addedRects(report.Added, pitch);
  SpanSweep sweep(pitch);
  sweep.Run(lowest, make, [&](const Row& row) {
    image.clear();
    const Spans* covered = &empty;
    std::array<const Spans*, kCauseCount> fileCauses{}, boardCauses{};
    for (std::size_t i = 0; i < row.Layers.size(); ++i) {
      const uint32_t layer = row.Layers[i];
      const Spans& spans = row.SpansOf[i];
      if (layer == kBoardLayer) {
        covered = &spans;
      } else if (layer < kCauseCount) {
        fileCauses[layer] = &spans;
      } else if (layer < kFirstRunLayer) {
        boardCauses[layer - kCauseCount] = &spans;
      } else {
        Paint(image, spans, runClear[layer - kFirstRunLayer], scratch);
      }
    }
    dark += Length(image);
    board += Length(*covered);
    if (covered->empty()) {
      leftSpans = image;
      addedSpans.clear();
    } else {
      Subtract(image, *covered, leftSpans);
      Subtract(*covered, image, addedSpans);
    }
    leftOut += Length(leftSpans);
    addedLength += Length(addedSpans);
    if (reading.Global != Cause::None) {
      leftByCause[static_cast<std::size_t>(reading.Global)] += Length(leftSpans);
      addedByCause[static_cast<std::size_t>(reading.Global)] += Length(addedSpans);
    } else {
      ShareOut(leftSpans, fileCauses, leftByCause, part, rest);
      ShareOut(addedSpans, boardCauses, addedByCause, part, rest);
    }
    if (outlines) {
      leftRects.AddRow(row.Index, leftSpans);
      addedRects.AddRow(row.Index, addedSpans);
    }
  });
  leftRects.Finish();
  addedRects.Finish();
  const double mm2 = pitch / (gerberx::kUnitsPerMm * gerberx::kUnitsPerMm);
  report.DarkMm2 = dark * mm2;
  report.BoardMm2 = board * mm2;
  report.LeftOutMm2 = leftOut * mm2;
  report.AddedMm2 = addedLength * mm2;
  for (std::size_t c = 0; c < kCauseCount; ++c) {
    report.LeftOutByCause[c] = leftByCause[c] * mm2;
    report.AddedByCause[c] = addedByCause[c] * mm2;
  }
  return report;
}

}  // namespace

std::optional<double> LeftOutAnalysis::Share() const {
  if (!Recognised) return 1.0;  // nothing of it reaches the board, whatever its area
  if (Areas) return Areas->Share();
  if (Whole()) return 0.0;
  return std::nullopt;
}

LeftOutAnalysis AnalyseImport(const std::string& file, const ImportFacts& facts, PluginReading reading,
                              const standin::ObjectStore& objects, std::span<const zz::THandle> added) {
  LeftOutAnalysis analysis;
  analysis.Reading = std::move(reading);
  analysis.Recognised = facts.Recognised;
  if (!facts.Recognised) analysis.Reading.Global = Cause::NotRecognised;
  if (analysis.Whole()) return analysis;  // the second step only where the first found something
  std::optional<FileArea> area = ReadFileArea(file, analysis.Reading, analysis.NotMeasured);
  if (area) analysis.Areas = Sweep(*area, analysis.Reading, objects, added, facts.Outlines);
  return analysis;
}

}  // namespace zzreport
