// The Excellon reader on any text, and the drill file's conversion into what the Gerber writer
// takes.
//
// Input: the drill file. The bound on holes and cuts is small, so that each input stays quick;
// what it stops is a ReadError like any other.
//
// Besides crashes, hangs, leaks and sanitizer reports, a finding is: an exception other than
// ReadError; a ReadError without the file's name or line; more holes and cuts than the bound; a
// hole or cut without a positive diameter or beyond the board's reach; a converted layer with
// another number of objects than the file; a writer failure other than more apertures than the
// importer's D-codes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "gerberx/Geometry.h"
#include "gerberx/convert/GerberWriter.h"
#include "gerberx/drill/DrillConvert.h"
#include "gerberx/drill/DrillReader.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "finding: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

void CheckPoint(gerberx::drill::IntPoint p) {
  if (std::abs(p.X) > gerberx::kCoordLimit || std::abs(p.Y) > gerberx::kCoordLimit) Fail("a point beyond reach");
}

void CheckDiameter(std::int64_t d) {
  if (d <= 0 || d > gerberx::kCoordLimit) Fail("a diameter that is not positive or beyond reach");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  gerberx::drill::DrillLimits limits;
  limits.MaxObjects = 5000;
  try {
    const gerberx::drill::DrillFile drill = gerberx::drill::ReadDrillText(text, "fuzz.drl", limits);
    if (drill.ObjectCount() > limits.MaxObjects) Fail("more holes and cuts than the bound");
    for (const auto& h : drill.Holes) {
      CheckPoint(h.At);
      CheckDiameter(h.Diameter);
    }
    for (const auto* cuts : {&drill.Slots, &drill.RoutedLines}) {
      for (const auto& c : *cuts) {
        CheckPoint(c.From);
        CheckPoint(c.To);
        CheckDiameter(c.Diameter);
      }
    }
    for (const auto& a : drill.RoutedArcs) {
      CheckPoint(a.From);
      CheckPoint(a.To);
      CheckPoint(a.Centre);
      CheckDiameter(a.Diameter);
    }
    const gerberx::convert::ConvertedLayer layer = gerberx::drill::ToConvertedLayer(drill);
    if (layer.KeptCount() != drill.ObjectCount()) Fail("another number of objects after conversion");
    (void)gerberx::drill::DrillSummary(drill);
    try {
      std::ostringstream out;
      gerberx::convert::WriteGerber(out, layer);
    } catch (const std::length_error&) {  // more apertures than the importer's D-codes
    }
  } catch (const gerberx::ReadError& e) {
    if (e.File() != "fuzz.drl" || std::string(e.what()).find("fuzz.drl:") != 0 || e.Line() <= 0) {
      Fail(std::string("error without the file name or line: ") + e.what());
    }
  } catch (const std::exception& e) {
    Fail(std::string("exception other than ReadError: ") + e.what());
  } catch (...) {
    Fail("unknown exception");
  }
  return 0;
}
