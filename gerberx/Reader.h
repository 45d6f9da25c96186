#pragma once
// The reader of the whole current Gerber format (RS-274-X with X2 attributes, and the deprecated
// forms real files still hold).

#include <cstddef>
#include <string>
#include <string_view>

#include "gerberx/Layer.h"
#include "gerberx/ReadError.h"

namespace gerberx {

struct Options {
  // Largest distance between a circle or arc and the polygon that stands for it, in mm.
  double chordErrorMm = 0.001;
  // Keep each object's own area (Object::area). Off saves memory on very large files.
  bool keepObjectAreas = true;
  // With keepObjectAreas: off, plain objects (Object::IsPlain: flashes and draws that are exactly
  // what their description says) come without an area, saving most of the time and memory of a
  // large file. DrawnShapes.h builds one when it is needed.
  bool plainObjectAreas = true;
  // Work out Layer::dark. With keepObjectAreas also off, no polygon is built at all: the objects
  // come with their descriptions and boxes only, many times faster.
  bool computeDarkArea = true;
  // Bounds on expansion: a small file must not take unbounded time or memory.
  long long maxStepRepeatCopies = 1'000'000;  // copies of one %SR block (X times Y)
  long long maxObjects = 20'000'000;          // objects after all expansion
  // One budget of work: primitives placed (each stroke, flash and region edge, each primitive of
  // each macro flash and of each macro instance built, every copy a block aperture or
  // step-and-repeat makes) and polygon vertices kept, both checked before an expansion is made;
  // with computeDarkArea, also the vertices and crossings each boolean of the dark area goes
  // through, checked before it runs.
  // A file of N bytes has maxPrimitives + N * primitivesPerByte of the one and maxVertices +
  // N * verticesPerByte of the other: 2.3 million primitives and 9 million vertices for 1 MB, so
  // that reading it without the dark area, converting or measuring it stays within seconds and
  // under a gigabyte.
  long long maxPrimitives = 2'000'000;
  double primitivesPerByte = 0.25;
  long long maxVertices = 8'000'000;
  double verticesPerByte = 1.0;
  int maxBlockDepth = 32;                       // nesting of %AB blocks
  int maxMacroPrimitives = 100'000;             // primitives of one macro
  int maxVerticesPerPrimitive = 100'000;        // vertices of one outline or region contour
  std::size_t maxStatementLength = 10'000'000;  // characters of one statement
};

// Throws ReadError naming the file, the line and the statement.
Layer ReadGerberText(std::string_view text, const std::string& fileName, const Options& options = {});
// Reads the file; a file that cannot be opened is a ReadError at line 0.
Layer ReadGerberFile(const std::string& path, const Options& options = {});

}  // namespace gerberx
