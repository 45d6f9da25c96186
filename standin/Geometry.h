#pragma once

// The area an object covers on the board, in internal units: what the bounding rectangle query
// answers, what the tool reports and what frames the board drawing.

#include <cstddef>
#include <optional>

#include "standin/Board.h"
#include "standin/ObjectStore.h"

namespace standin {

struct Box {
  double Left = 0.0;
  double Bottom = 0.0;
  double Right = 0.0;
  double Top = 0.0;

  double Width() const { return Right - Left; }
  double Height() const { return Top - Bottom; }
};

// Grows an optional box to hold a point or another box.
void Include(std::optional<Box>& box, double x, double y);
void Include(std::optional<Box>& box, const Box& other);

// Arc angles as drawn: counter-clockwise from the start angle; an end angle below the start
// angle has 360 added. A sweep of 0 is a degenerate arc (its one end point); 360 and more is a
// whole circle.
double ArcSweep(double startAngle, double endAngle);

// None for objects without a shape of their own (kinds the importer never creates) and for
// unknown handles.
std::optional<Box> ObjectBounds(const ObjectStore& objects, THandle handle);
// The area of the board's objects from the first-th on (in the order added); none when none
// of them has a shape.
std::optional<Box> BoardBounds(const ObjectStore& objects, const Board& board, std::size_t first = 0);

}  // namespace standin
