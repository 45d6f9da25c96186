#pragma once

// The board drawn to scale for a browser: copper on a dark background, y up, the viewBox and
// the page size in millimetres with a small margin around the objects.
//
// Tracks are lines with round caps; arcs are paths with round caps, counter-clockwise from the
// start angle to the end angle (an end angle below the start angle has 360 added; a sweep of
// 360 or more is a whole circle); fills are rectangles; pads by their top shape: round (1) a
// circle, or a stadium when the sizes differ, rectangle (2) a rectangle, octagon (3) an
// octagon, any other shape a circle as wide as the larger size. A pad's hole shows dark.

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "standin/Board.h"
#include "standin/ObjectStore.h"

namespace zzcli {

// An area drawn over the board in a colour of its own and named in a legend below it (what an
// import left out): outlines in internal units, holes inside their outer rings, filled even-odd.
struct SvgOverlay {
  std::string Name;
  std::string Colour;
  std::vector<std::vector<std::pair<double, double>>> Rings;
};

void WriteBoardSvg(std::ostream& out, const standin::ObjectStore& objects, const standin::Board& board,
                   const std::vector<SvgOverlay>& overlays = {});
std::string BoardSvg(const standin::ObjectStore& objects, const standin::Board& board);

// A file imported onto a layer of the board.
struct LayerFile {
  zz::TLayerNumber Layer = 0;
  std::string File;
};

// A board of several layers: one group per layer, id the layer's name, each in its own colour,
// drawn from the bottom of the stack up (bottom side, inner layers, top side, then the other
// layers, mechanical layers and the keep-out layer last); below the board a legend names each
// layer and the files imported onto it. Layers holding objects appear whether or not a file
// names them.
void WriteLayeredBoardSvg(std::ostream& out, const standin::ObjectStore& objects, const standin::Board& board,
                          const std::vector<LayerFile>& sources, const std::vector<SvgOverlay>& overlays = {});
std::string LayeredBoardSvg(const standin::ObjectStore& objects, const standin::Board& board,
                            const std::vector<LayerFile>& sources);

// Internal units (1/10000 mil) in millimetres.
constexpr double kMillimetresPerUnit = 0.0254 / 10000.0;

}  // namespace zzcli
