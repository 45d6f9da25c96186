#include "gerberx/SpanSweep.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace gerberx {

namespace {

// Merges the boundaries of a and b and keeps what `keep(inA, inB)` says.
template <typename Keep>
void Combine(std::span<const Span> a, std::span<const Span> b, Spans& out, Keep keep) {
  out.clear();
  std::size_t i = 0, j = 0;
  bool inA = false, inB = false, in = false;
  double begin = 0;
  while (i < 2 * a.size() || j < 2 * b.size()) {
    const double xa = i < 2 * a.size() ? (i % 2 == 0 ? a[i / 2].Begin : a[i / 2].End) : HUGE_VAL;
    const double xb = j < 2 * b.size() ? (j % 2 == 0 ? b[j / 2].Begin : b[j / 2].End) : HUGE_VAL;
    const double x = std::min(xa, xb);
    if (xa == x) inA = (i++ % 2) == 0;
    if (xb == x) inB = (j++ % 2) == 0;
    const bool now = keep(inA, inB);
    if (now && !in) begin = x;
    if (!now && in && x > begin) out.push_back({begin, x});
    in = now;
  }
}

constexpr auto kUnion = [](bool x, bool y) { return x || y; };
constexpr auto kDifference = [](bool x, bool y) { return x && !y; };
constexpr auto kIntersection = [](bool x, bool y) { return x && y; };

bool ByFirst(const auto& a, const auto& b) { return a.First > b.First; }  // a min-heap

}  // namespace

void Unite(const Spans& a, const Spans& b, Spans& out) { Combine(a, b, out, kUnion); }
void Subtract(const Spans& a, const Spans& b, Spans& out) { Combine(a, b, out, kDifference); }
void Intersect(const Spans& a, const Spans& b, Spans& out) { Combine(a, b, out, kIntersection); }
double Length(const Spans& spans) {
  double sum = 0;
  for (const Span& s : spans) sum += s.End - s.Begin;
  return sum;
}

void Paint(Spans& image, const Spans& spans, bool cut, Spans& scratch) {
  if (spans.empty()) return;
  if (image.empty()) {
    if (!cut) image = spans;
    return;
  }
  const double from = spans.front().Begin, to = spans.back().End;
  const auto lo = std::lower_bound(image.begin(), image.end(), from, [](const Span& s, double x) { return s.End < x; });
  const auto hi = std::upper_bound(lo, image.end(), to, [](double x, const Span& s) { return x < s.Begin; });
  // Read in place: the image changes only once the result is in `scratch`.
  const std::span<const Span> window(lo, hi);
  if (cut) {
    Combine(window, spans, scratch, kDifference);
  } else {
    Combine(window, spans, scratch, kUnion);
  }
  const auto at = image.erase(lo, hi);
  image.insert(at, scratch.begin(), scratch.end());
}

int64_t SpanSweep::RowAt(double y) const { return static_cast<int64_t>(std::ceil(y / pitch_ - 0.5)); }

void SpanSweep::AddEdges(uint32_t layer, const Ring& ring) {
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const Point a = ring[i];
    const Point b = ring[(i + 1) % ring.size()];
    if (a.y == b.y) continue;
    const bool down = a.y > b.y;
    const Point lo = down ? b : a, hi = down ? a : b;
    const int64_t first = RowAt(lo.y), end = RowAt(hi.y);
    if (first >= end) continue;
    const double dxdy = (double(hi.x) - lo.x) / (double(hi.y) - lo.y);
    const double y = (static_cast<double>(first) + 0.5) * pitch_;
    // Going down on the left of a counter-clockwise ring: crossing it enters the ring.
    pending_.push_back({lo.x + (y - lo.y) * dxdy, dxdy * pitch_, first, end, layer, down ? 1 : -1});
    std::push_heap(pending_.begin(), pending_.end(), ByFirst<Edge, Edge>);
  }
}

void SpanSweep::Run(const std::vector<Coord>& lowest, const MakeItem& make,
                    const std::function<void(const Row&)>& onRow) {
  std::vector<std::size_t> order(lowest.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return lowest[a] < lowest[b]; });
  const AddRing add = [this](uint32_t layer, const Ring& ring) { AddEdges(layer, ring); };
  const auto byLayerAndX = [](const Edge& a, const Edge& b) {
    return a.Layer != b.Layer ? a.Layer < b.Layer : a.X < b.X;
  };

  std::vector<uint32_t> layers;
  std::vector<Spans> spans;
  std::size_t next = 0;
  int64_t row = INT64_MIN / 2;  // the first item's row, below
  pending_.clear();
  active_.clear();
  while (next < order.size() || !pending_.empty() || !active_.empty()) {
    if (active_.empty()) {
      // Nothing in work: on to the next row that has something.
      int64_t to = INT64_MAX;
      if (!pending_.empty()) to = pending_.front().First;
      if (next < order.size()) to = std::min(to, RowAt(lowest[order[next]]) - 1);
      row = std::max(row, to);
    }
    // Items are made a row early: an item's edges never start below the row of its lowest y.
    while (next < order.size() && RowAt(lowest[order[next]]) <= row + 1) make(order[next++], add);
    std::size_t sorted = active_.size();
    while (!pending_.empty() && pending_.front().First <= row) {
      std::pop_heap(pending_.begin(), pending_.end(), ByFirst<Edge, Edge>);
      Edge e = pending_.back();
      pending_.pop_back();
      e.X += e.Dx * static_cast<double>(row - e.First);
      if (row < e.End) active_.push_back(e);
    }
    // Mostly in order from the row before: an insertion sort is linear then.
    std::sort(active_.begin() + static_cast<std::ptrdiff_t>(sorted), active_.end(), byLayerAndX);
    std::inplace_merge(active_.begin(), active_.begin() + static_cast<std::ptrdiff_t>(sorted), active_.end(),
                       byLayerAndX);
    if (!active_.empty()) {
      layers.clear();
      std::size_t used = 0;
      for (std::size_t i = 0; i < active_.size();) {
        const uint32_t layer = active_[i].Layer;
        if (used == spans.size()) spans.emplace_back();
        Spans& out = spans[used];
        out.clear();
        int32_t wind = 0;
        double begin = 0;
        for (; i < active_.size() && active_[i].Layer == layer; ++i) {
          const int32_t before = wind;
          wind += active_[i].Wind;
          if (before <= 0 && wind > 0) begin = active_[i].X;
          if (before > 0 && wind <= 0 && active_[i].X > begin) {
            if (!out.empty() && out.back().End >= begin) {
              out.back().End = std::max(out.back().End, active_[i].X);
            } else {
              out.push_back({begin, active_[i].X});
            }
          }
        }
        if (!out.empty()) {
          layers.push_back(layer);
          ++used;
        }
      }
      if (used != 0) {
        onRow({row, (static_cast<double>(row) + 0.5) * pitch_, layers, std::span<const Spans>(spans.data(), used)});
      }
    }
    // To the next row: edges move along, those that end drop out, the order is mended.
    ++row;
    std::size_t kept = 0;
    for (Edge& e : active_) {
      if (e.End <= row) continue;
      e.X += e.Dx;
      active_[kept++] = e;
    }
    active_.resize(kept);
    for (std::size_t i = 1; i < active_.size(); ++i) {
      const Edge e = active_[i];
      std::size_t j = i;
      for (; j > 0 && byLayerAndX(e, active_[j - 1]); --j) active_[j] = active_[j - 1];
      active_[j] = e;
    }
  }
}

}  // namespace gerberx
