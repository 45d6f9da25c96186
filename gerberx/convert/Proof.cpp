#include "gerberx/convert/Proof.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <optional>
#include <span>
#include <tuple>
#include <vector>

#include "gerberx/BoxGroups.h"
#include "gerberx/ObjectOutlines.h"
#include "gerberx/Overlaps.h"
#include "gerberx/SpanSweep.h"

namespace gerberx::convert {
namespace {

// What makes two plain objects draw the same shape.
struct Key {
  ObjectKind Kind = ObjectKind::Flash;
  ApertureShape Shape = ApertureShape::Circle;
  bool Clockwise = false, Full = false;
  Coord W = 0, H = 0;
  Point Start, End, Centre;
  auto Tied() const {
    return std::tie(Kind, Shape, Clockwise, Full, W, H, Start.x, Start.y, End.x, End.y, Centre.x, Centre.y);
  }
  friend bool operator<(const Key& a, const Key& b) { return a.Tied() < b.Tied(); }
};

Key KeyOf(const Object& o) {
  const Aperture& a = o.aperture;
  const bool across = a.shape != ApertureShape::Circle && QuarterTurns(a.rotation) % 2 == 1;
  Key k;
  k.Kind = o.kind;
  k.Shape = a.shape;
  k.W = across ? a.ySize : a.xSize;
  k.H = a.shape == ApertureShape::Circle ? k.W : (across ? a.xSize : a.ySize);
  k.End = o.end;
  k.Start = o.kind == ObjectKind::Flash ? o.end : o.start;
  if (o.kind == ObjectKind::Arc) {
    k.Centre = o.centre;
    k.Clockwise = o.clockwise;
    k.Full = o.fullCircle;
  }
  return k;
}

const Spans kNoSpans;  // of a row that had nothing

// The spans of `row` that reach into [from, to].
std::span<const Span> Within(const Spans& row, double from, double to) {
  const auto lo = std::lower_bound(row.begin(), row.end(), from, [](const Span& s, double x) { return s.End < x; });
  const auto hi = std::upper_bound(lo, row.end(), to, [](double x, const Span& s) { return x < s.Begin; });
  return {lo, hi};
}

// Each span narrowed by `by` at both ends (those narrower than twice that are gone).
void Shrunk(std::span<const Span> spans, double by, Spans& out) {
  out.clear();
  for (const Span& s : spans) {
    if (s.End - s.Begin > 2 * by) out.push_back({s.Begin + by, s.End - by});
  }
}

// Each span widened by `by` at both ends, those that then overlap merged.
void Grown(std::span<const Span> spans, double by, Spans& out) {
  out.clear();
  for (const Span& s : spans) {
    if (!out.empty() && out.back().End >= s.Begin - by) {
      out.back().End = std::max(out.back().End, s.End + by);
    } else {
      out.push_back({s.Begin - by, s.End + by});
    }
  }
}

// What `original` holds and `written` does not (`missing`), and the other way round (`extra`).
void Differences(const Spans& original, const Spans& written, Spans& missing, Spans& extra) {
  missing.clear();
  extra.clear();
  std::size_t i = 0, j = 0;
  bool inO = false, inW = false;
  double from = 0;
  while (i < 2 * original.size() || j < 2 * written.size()) {
    const double xo = i < 2 * original.size() ? (i % 2 == 0 ? original[i / 2].Begin : original[i / 2].End) : HUGE_VAL;
    const double xw = j < 2 * written.size() ? (j % 2 == 0 ? written[j / 2].Begin : written[j / 2].End) : HUGE_VAL;
    const double x = std::min(xo, xw);
    if (inO != inW && x > from) (inO ? missing : extra).push_back({from, x});
    if (xo == x) inO = (i++ % 2) == 0;
    if (xw == x) inW = (j++ % 2) == 0;
    from = x;
  }
}

// Each span of `part`, all within spans of `row`, narrowed to what lies `by` inside the span of
// `row` that holds it.
void DeepAlongRow(const Spans& part, const Spans& row, double by, Spans& out) {
  out.clear();
  std::size_t j = 0;
  for (const Span& s : part) {
    while (j + 1 < row.size() && row[j].End < s.End) ++j;
    const double begin = std::max(s.Begin, row[j].Begin + by), end = std::min(s.End, row[j].End - by);
    if (begin < end) out.push_back({begin, end});
  }
}

// Each span of `part`, all outside the spans of `row`, narrowed to what lies farther than `by`
// from them.
void ClearAlongRow(const Spans& part, const Spans& row, double by, Spans& out) {
  out.clear();
  std::size_t j = 0;
  for (const Span& s : part) {
    while (j < row.size() && row[j].End <= s.Begin) ++j;
    const double begin = j > 0 ? std::max(s.Begin, row[j - 1].End + by) : s.Begin;
    const double end = j < row.size() ? std::min(s.End, row[j].Begin - by) : s.End;
    if (begin < end) out.push_back({begin, end});
  }
}

// The pieces of a difference, row by row: spans of consecutive rows that overlap are one piece.
// A piece counts when it is larger than a square as wide as the tolerance and thicker than half
// of it (some point of it a quarter of the tolerance from its edges): the original's curves are
// read as chords up to a quarter of the tolerance inside them, and the converter may use the whole
// tolerance besides, so slivers that thin along curved edges are the measurement's own.
class PieceTally {
 public:
  PieceTally(double pitch, double tolerance) : pitch_(pitch), tolerance_(tolerance) {}

  // Rows in increasing order; rows without spans may be left out.
  void AddRow(int64_t row, const Spans& spans) {
    if (spans.empty()) return;
    Line now{row, spans, {}};
    for (const Span& s : spans) {
      now.Nodes.push_back(parent_.size());
      parent_.push_back(parent_.size());
      Piece piece;
      piece.Area = (s.End - s.Begin) * pitch_;
      piece.Box[0] = s.Begin;
      piece.Box[1] = double(row) * pitch_;
      piece.Box[2] = s.End;
      piece.Box[3] = double(row + 1) * pitch_;
      pieces_.push_back(piece);
      total_ += piece.Area;
    }
    if (!lines_.empty() && lines_.back().Row == row - 1) {
      const Line& below = lines_.back();
      for (std::size_t i = 0, j = 0; i < below.Cover.size() && j < now.Cover.size();) {
        const Span &a = below.Cover[i], &b = now.Cover[j];
        if (a.Begin < b.End && b.Begin < a.End) Join(below.Nodes[i], now.Nodes[j]);
        (a.End < b.End ? i : j)++;
      }
    }
    lines_.push_back(std::move(now));
    if (lines_.size() >= 2) FindCore(lines_.size() - 2);
    if (lines_.size() > 2) lines_.pop_front();
  }

  void Finish(ProofResult& result) {
    lines_.clear();
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
      if (Root(i) != i) continue;
      const Piece& p = pieces_[i];
      // Rows measure a piece's area to about one row of its width: a piece counts when it is
      // larger than a tolerance square by more than that.
      if (p.Area <= tolerance_ * tolerance_ + pitch_ * (p.Box[2] - p.Box[0]) || !p.Core) continue;
      ++result.Pieces;
      const double mm2 = ToMm(ToMm(p.Area));
      if (mm2 > result.WorstMm2) {
        result.WorstMm2 = mm2;
        result.Worst = Box();
        result.Worst.Add(Point{static_cast<Coord>(std::floor(p.Box[0])), static_cast<Coord>(std::floor(p.Box[1]))});
        result.Worst.Add(Point{static_cast<Coord>(std::ceil(p.Box[2])), static_cast<Coord>(std::ceil(p.Box[3]))});
      }
    }
  }

  double TotalMm2() const { return ToMm(ToMm(total_)); }

 private:
  struct Piece {
    double Area = 0;
    double Box[4] = {0, 0, 0, 0};  // min x, min y, max x, max y
    bool Core = false;
  };
  struct Line {
    int64_t Row;
    Spans Cover;
    std::vector<std::size_t> Nodes;
  };

  std::size_t Root(std::size_t i) {
    while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
    return i;
  }
  void Join(std::size_t a, std::size_t b) {
    a = Root(a);
    b = Root(b);
    if (a == b) return;
    Piece &into = pieces_[a], &from = pieces_[b];
    into.Area += from.Area;
    into.Core = into.Core || from.Core;
    into.Box[0] = std::min(into.Box[0], from.Box[0]);
    into.Box[1] = std::min(into.Box[1], from.Box[1]);
    into.Box[2] = std::max(into.Box[2], from.Box[2]);
    into.Box[3] = std::max(into.Box[3], from.Box[3]);
    parent_[b] = a;
  }

  // Whether line `at` holds a point a quarter of the tolerance from the piece's edges: along the
  // row, and in the rows on either side (a quarter of the tolerance away at the finest pitch;
  // farther on coarser rows, which then ask for a thicker piece).
  void FindCore(std::size_t at) {
    const Line& mid = lines_[at];
    const Line* sides[2] = {at > 0 && lines_[at - 1].Row == mid.Row - 1 ? &lines_[at - 1] : nullptr,
                            at + 1 < lines_.size() && lines_[at + 1].Row == mid.Row + 1 ? &lines_[at + 1] : nullptr};
    if (sides[0] == nullptr || sides[1] == nullptr) return;
    Shrunk(mid.Cover, tolerance_ / 4, core_);
    for (const Line* side : sides) {
      Intersect(core_, side->Cover, scratch_);
      core_.swap(scratch_);
    }
    for (const Span& c : core_) {
      const auto in = std::upper_bound(mid.Cover.begin(), mid.Cover.end(), c.Begin,
                                       [](double x, const Span& s) { return x < s.Begin; });
      if (in != mid.Cover.begin()) pieces_[Root(mid.Nodes[std::size_t(in - mid.Cover.begin()) - 1])].Core = true;
    }
  }

  double pitch_, tolerance_;
  std::vector<std::size_t> parent_;
  std::vector<Piece> pieces_;
  std::deque<Line> lines_;  // the last two rows with spans
  Spans core_, scratch_;
  double total_ = 0;
};

class Prover {
 public:
  Prover(const Layer& original, const Layer& written, std::int64_t tolerance, double maxCrossings)
      : original_(original),
        written_(written),
        maxCrossings_(std::max(1.0, maxCrossings)),
        tolerance_(static_cast<double>(std::max<std::int64_t>(1, tolerance))),
        chord_(tolerance_ / 4),
        pitch_(std::max(1.0, tolerance_ / 4)) {}

  ProofResult Run() {
    const std::vector<bool> compared = Unmatched();
    const std::vector<bool> beside = MatchedBeside(compared);
    // The original's compared objects and its clear objects in drawing order, then the written
    // file's: each run of one polarity a layer of the sweep, the original's first. The matched
    // objects beside them (one of each pair) are a layer of their own, after those.
    const std::size_t n = original_.objects.size();
    std::vector<std::size_t> items, matchedItems;
    std::vector<uint32_t> layerOf;
    for (std::size_t i = 0; i < compared.size(); ++i) {
      if (i == n) firstWrittenLayer_ = runClear_.size();
      const Object& o = i < n ? original_.objects[i] : written_.objects[i - n];
      const bool clear = o.polarity == Polarity::Clear;
      if (o.box.empty) continue;
      if (i < n && beside[i]) matchedItems.push_back(i);
      if (!compared[i] && !clear) continue;
      if (runClear_.empty() || runClear_.size() == firstWrittenLayer_ || runClear_.back() != clear)
        runClear_.push_back(clear);
      items.push_back(i);
      layerOf.push_back(static_cast<uint32_t>(runClear_.size() - 1));
      if (!clear) ++result_.Compared;
    }
    if (firstWrittenLayer_ > runClear_.size()) firstWrittenLayer_ = runClear_.size();
    matchedLayer_ = runClear_.size();
    runClear_.push_back(false);
    for (const std::size_t i : matchedItems) {
      items.push_back(i);
      layerOf.push_back(static_cast<uint32_t>(matchedLayer_));
    }
    Outline outline;
    // The sweep starts each item at its outline's lowest point: an object's box may be narrower
    // than the outline the importer draws (a circle under an image scaled unevenly).
    double crossings = 0;  // of rows by edges at the finest pitch
    std::vector<Coord> lowest(items.size(), 0);
    for (std::size_t k = 0; k < items.size(); ++k) {
      const std::size_t i = items[k];
      outline.clear();
      ObjectOutline(outline, i < n ? original_.objects[i] : written_.objects[i - n], chord_);
      Coord low = std::numeric_limits<Coord>::max();
      for (const Ring& ring : outline) {
        for (std::size_t e = 0; e < ring.size(); ++e) {
          low = std::min(low, ring[e].y);
          crossings += std::abs(double(ring[e].y) - ring[(e + 1) % ring.size()].y) / pitch_ + 1;
        }
      }
      if (low != std::numeric_limits<Coord>::max()) lowest[k] = low;
    }
    // Rows wider apart where they would cross more edges than the bound of work allows: the
    // measurement is coarser there, and no slower.
    UsePitch(pitch_ * std::max(1.0, crossings / maxCrossings_));
    const auto make = [&](std::size_t k, const SpanSweep::AddRing& add) {
      const std::size_t i = items[k];
      outline.clear();
      ObjectOutline(outline, i < n ? original_.objects[i] : written_.objects[i - n], chord_);
      for (const Ring& ring : outline) add(layerOf[k], ring);
    };
    SpanSweep sweep(pitch_);
    sweep.Run(lowest, make, [&](const Row& row) { Take(row); });
    while (!rows_.empty()) Settle();
    uncovered_->Finish(result_);
    added_->Finish(result_);
    result_.UncoveredMm2 = uncovered_->TotalMm2();
    result_.AddedMm2 = added_->TotalMm2();
    result_.ComparedDarkMm2 = ToMm(ToMm(dark_));
    return result_;
  }

 private:
  struct Line {
    int64_t Row = 0;
    Spans Original;  // the compared objects, as the original paints them
    Spans Full;      // with the matched objects beside them, where there are any
    Spans Written;   // the written file's compared objects and those matched
    const Spans& Whole() const { return Full.empty() ? Original : Full; }
  };

  // Rows coarser than the finest widen the band by their pitch: what lies between two rows is not
  // seen, and a band of the tolerance alone would count the slivers along shallow edges.
  void UsePitch(double pitch) {
    const bool coarse = pitch > pitch_;
    pitch_ = pitch;
    band_ = coarse ? tolerance_ + pitch_ : tolerance_;
    reach_ = static_cast<int64_t>(std::floor(band_ / pitch_));
    halfChord_.clear();
    for (int64_t k = -reach_; k <= reach_; ++k) {
      const double dy = double(k) * pitch_;
      halfChord_.push_back(std::sqrt(std::max(0.0, band_ * band_ - dy * dy)));
    }
    uncovered_.emplace(pitch_, tolerance_);
    added_.emplace(pitch_, tolerance_);
  }

  // For each object of the original (first) and of the written file (after them): whether it is
  // compared by its area, or was written exactly as the original draws it.
  std::vector<bool> Unmatched() {
    const std::size_t n = original_.objects.size();
    std::vector<bool> compared(n + written_.objects.size(), true);
    const std::vector<bool> cut = CutByLaterClear(original_, chord_);
    // Both sides sorted by what they draw, then walked together: a million objects in a second.
    std::vector<std::pair<Key, std::size_t>> plain, drawn;
    for (std::size_t i = 0; i < n; ++i) {
      const Object& o = original_.objects[i];
      if (o.polarity == Polarity::Clear) {
        compared[i] = false;  // it only cuts: what it cuts is in the dark objects' areas
      } else if (o.IsPlain() && !cut[i]) {
        plain.emplace_back(KeyOf(o), i);
      }
    }
    for (std::size_t j = 0; j < written_.objects.size(); ++j) drawn.emplace_back(KeyOf(written_.objects[j]), n + j);
    const auto byKey = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::sort(plain.begin(), plain.end(), byKey);
    std::sort(drawn.begin(), drawn.end(), byKey);
    for (std::size_t i = 0, j = 0; i < plain.size() && j < drawn.size();) {
      if (plain[i].first < drawn[j].first) {
        ++i;
      } else if (drawn[j].first < plain[i].first) {
        ++j;
      } else {
        matched_.emplace_back(plain[i].second, drawn[j].second);
        compared[plain[i++].second] = false;
        compared[drawn[j++].second] = false;
        ++result_.Identical;
      }
    }
    return compared;
  }

  // The matched objects (both of each pair) that come within a few tolerances of one compared:
  // the converter leaves to a kept object what it covers, so where they meet, the compared ones
  // alone would differ; and the band along the original's edges is where they all make them.
  std::vector<bool> MatchedBeside(const std::vector<bool>& compared) const {
    std::vector<bool> beside(compared.size(), false);
    const std::size_t n = original_.objects.size();
    std::vector<Box> boxes;
    for (std::size_t i = 0; i < compared.size(); ++i) {
      const Object& o = i < n ? original_.objects[i] : written_.objects[i - n];
      if (compared[i] && !o.box.empty) boxes.push_back(o.box);
    }
    if (boxes.empty() || matched_.empty()) return beside;
    const BoxIndex index(boxes);
    const auto reach = static_cast<Coord>(std::ceil(4 * tolerance_));
    for (const auto& [i, j] : matched_) {
      Box near = original_.objects[i].box;
      if (near.empty) continue;
      near.min = {near.min.x - reach, near.min.y - reach};
      near.max = {near.max.x + reach, near.max.y + reach};
      bool meets = false;
      index.ForEachTouching(near, [&](std::size_t) { meets = true; });
      beside[i] = beside[j] = meets;
    }
    return beside;
  }

  // A row of the sweep: the original's image painted run by run, and what was written. A row is
  // measured once the rows a tolerance above it are in.
  void Take(const Row& row) {
    Line line;
    line.Row = row.Index;
    const Spans* matched = nullptr;
    for (std::size_t i = 0; i < row.Layers.size(); ++i) {
      const uint32_t layer = row.Layers[i];
      if (layer == matchedLayer_) {
        matched = &row.SpansOf[i];
      } else {
        Paint(layer < firstWrittenLayer_ ? line.Original : line.Written, row.SpansOf[i], runClear_[layer], scratch_);
      }
    }
    if (matched != nullptr) {
      Unite(line.Original, *matched, line.Full);
      Unite(line.Written, *matched, scratch_);
      line.Written.swap(scratch_);
    }
    dark_ += Length(line.Original) * pitch_;
    rows_.push_back(std::move(line));
    while (rows_.front().Row + reach_ < row.Index) Settle();
  }

  // The line of `row` (none if that row had nothing).
  const Line* LineAt(int64_t row) const {
    if (row < rows_.front().Row) {
      for (const Line& l : behind_) {
        if (l.Row == row) return &l;
      }
      return nullptr;
    }
    for (const Line& l : rows_) {
      if (l.Row == row) return &l;
      if (l.Row > row) break;
    }
    return nullptr;
  }

  // Measures the front row, then keeps it for the rows after it that reach back to it.
  void Settle() {
    Line& line = rows_.front();
    // Uncovered: what is not written of the original, where the original holds a disc as wide as
    // the tolerance around it, row by row of the disc. The matched objects cover, but the band is
    // along the compared objects' own edges: the converter may use the tolerance there, even where
    // a kept object lies beyond.
    Differences(line.Original, line.Written, missing_, extra_);
    DeepAlongRow(missing_, line.Original, band_, candidates_);
    InBand(line.Row, true);
    uncovered_->AddRow(line.Row, found_);
    // Added: what is written off the original, matched objects and all, farther than the
    // tolerance from it.
    if (!line.Full.empty()) Differences(line.Full, line.Written, scratch_, extra_);
    ClearAlongRow(extra_, line.Whole(), band_, candidates_);
    InBand(line.Row, false);
    added_->AddRow(line.Row, found_);
    behind_.push_back(std::move(line));
    rows_.pop_front();
    while (!behind_.empty() && (rows_.empty() || behind_.front().Row + reach_ < rows_.front().Row)) behind_.pop_front();
  }

  // The candidates of `row` (already clear of the band along the row itself) kept where the disc
  // of the tolerance around them lies within the original (`inside`) or clear of it: row by row
  // of the disc, the widest first, so that most candidates are settled at once. Into found_.
  void InBand(int64_t row, bool inside) {
    found_.clear();
    for (const Span& s : candidates_) {
      part_.assign(1, s);
      for (int64_t d = 1; d <= reach_ && !part_.empty(); ++d) {
        const double half = halfChord_[std::size_t(d + reach_)];
        for (const int64_t k : {row - d, row + d}) {
          const Line* at = LineAt(k);
          const Spans& original = at == nullptr ? kNoSpans : (inside ? at->Original : at->Whole());
          const std::span<const Span> near = Within(original, s.Begin - half, s.End + half);
          if (inside) {
            Shrunk(near, half, chords_);
            Intersect(part_, chords_, scratch_);
          } else {
            Grown(near, half, chords_);
            Subtract(part_, chords_, scratch_);
          }
          part_.swap(scratch_);
        }
      }
      found_.insert(found_.end(), part_.begin(), part_.end());
    }
  }

  const Layer& original_;
  const Layer& written_;
  double maxCrossings_;
  double tolerance_;
  double chord_;                   // of the curves of plain objects, in grid units
  double pitch_;                   // between rows: a quarter of the tolerance, or more on a very large file
  double band_ = 0;                // along the original's edges, left out: the tolerance, or more on coarser rows
  int64_t reach_ = 0;              // rows within the band on either side
  std::vector<double> halfChord_;  // of the tolerance's disc on each of those rows
  std::vector<std::pair<std::size_t, std::size_t>> matched_;  // original, written (after the original's)
  std::vector<bool> runClear_;                                // by layer: the original's runs, then the written file's
  std::size_t firstWrittenLayer_ = SIZE_MAX;
  std::size_t matchedLayer_ = SIZE_MAX;
  std::deque<Line> rows_;    // rows in work, the front one next to be measured
  std::deque<Line> behind_;  // rows measured that later rows still reach back to
  Spans scratch_, missing_, extra_, candidates_, found_, part_, chords_;
  double dark_ = 0;
  std::optional<PieceTally> uncovered_, added_;
  ProofResult result_;
};

}  // namespace

ProofResult Prove(const Layer& original, const Layer& written, std::int64_t tolerance, double maxCrossings) {
  return Prover(original, written, tolerance, maxCrossings).Run();
}

}  // namespace gerberx::convert
