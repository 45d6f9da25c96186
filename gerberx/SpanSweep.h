#pragma once
// Fills rings by their winding, row by row, into spans: the areas of many layers at once as a
// run-length image, rows `pitch` apart and exact along each row. Shapes are made only when the
// sweep reaches the row of their box, and forgotten behind it, so memory follows the rows in
// work, not the file.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "gerberx/Geometry.h"

namespace gerberx {

struct Span {
  double Begin = 0;
  double End = 0;
};
using Spans = std::vector<Span>;

// Sorted, disjoint spans: set operations and length.
void Unite(const Spans& a, const Spans& b, Spans& out);
void Subtract(const Spans& a, const Spans& b, Spans& out);
void Intersect(const Spans& a, const Spans& b, Spans& out);
double Length(const Spans& spans);
// `image` with `spans` added to it (or cut from it, `cut`): only the part of the image within the
// spans' reach is redone, so that many small runs along a long row cost what they touch.
void Paint(Spans& image, const Spans& spans, bool cut, Spans& scratch);

// One row: for each layer that has anything on it, its spans (winding above zero), layers in
// increasing order.
struct Row {
  int64_t Index = 0;
  double Y = 0;  // the row's centre
  std::span<const uint32_t> Layers;
  std::span<const Spans> SpansOf;  // by position in Layers
};

class SpanSweep {
 public:
  using AddRing = std::function<void(uint32_t layer, const Ring& ring)>;
  // Makes the rings of item `index`; asked once, when the sweep reaches the item's lowest y.
  using MakeItem = std::function<void(std::size_t index, const AddRing& add)>;

  explicit SpanSweep(double pitch) : pitch_(pitch) {}

  // `lowest[i]` is a y at or below everything item i makes. Calls `onRow` for every row that
  // has spans, in increasing y.
  void Run(const std::vector<Coord>& lowest, const MakeItem& make, const std::function<void(const Row&)>& onRow);

  double Pitch() const { return pitch_; }

 private:
  struct Edge {
    double X;       // at the current row
    double Dx;      // per row
    int64_t First;  // first row it crosses
    int64_t End;    // one past its last row
    uint32_t Layer;
    int32_t Wind;  // what crossing it left to right adds
  };
  void AddEdges(uint32_t layer, const Ring& ring);
  int64_t RowAt(double y) const;  // the first row whose centre is at or above y

  double pitch_;
  std::vector<Edge> pending_;  // a heap by First
  std::vector<Edge> active_;   // sorted by layer and x
};

}  // namespace gerberx
