// The reader of the whole Gerber format on any text, and the converter on what it reads.
//
// Input: the Gerber file. The bounds are small, so that each input stays quick; what a bound
// stops is a ReadError like any other.
//
// Besides crashes, hangs, leaks and sanitizer reports, a finding is: an exception other than
// ReadError; a ReadError without the file's name; counts by kind that do not add up to the
// objects; a negative dark area; a dark area larger than the objects' boxes together (but for a
// negative image); another list of objects when no polygon is built, or when plain objects come
// without theirs; a converter failure other than a coordinate or aperture count beyond what the
// importer holds; a written file that does not read back, or whose proof against the original
// shows a difference past the tolerance.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "gerberx/Reader.h"
#include "gerberx/convert/Convert.h"
#include "gerberx/convert/GerberWriter.h"
#include "gerberx/convert/Proof.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "finding: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

constexpr double kToleranceMm = 0.005;  // the converter's default

gerberx::Options SmallBounds() {
  gerberx::Options o;
  o.maxStepRepeatCopies = 1000;
  o.maxObjects = 5000;
  // Under the sanitizers a vertex through the dark area's booleans costs some 100 us: this many
  // keep the first read of any input within a few seconds.
  o.maxVertices = 30'000;
  o.maxPrimitives = 100'000;
  o.maxBlockDepth = 8;
  o.maxMacroPrimitives = 1000;
  o.maxVerticesPerPrimitive = 5000;
  o.maxStatementLength = 100'000;
  return o;
}

void Check(const gerberx::Layer& layer) {
  const gerberx::Counts& n = layer.counts;
  const long long kinds = static_cast<long long>(n.flashes) + n.strokes + n.arcs + n.regions + n.macroFlashes;
  if (kinds != static_cast<long long>(layer.objects.size())) Fail("counts by kind do not add up to the objects");
  const double dark = gerberx::AreaOf(layer.dark);
  if (dark < 0) Fail("negative dark area");
  double boxes = 0;
  for (const gerberx::Object& o : layer.objects)
    if (!o.box.empty) boxes += (double(o.box.max.x) - o.box.min.x) * (double(o.box.max.y) - o.box.min.y);
  // A negative image's background is the box around everything, larger than the boxes' sum.
  if (!layer.negative && dark > boxes * (1 + 1e-9) + 1) Fail("dark area larger than the objects' boxes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const gerberx::Layer full = gerberx::ReadGerberText(text, "fuzz.gbr", SmallBounds());
    Check(full);
    // Without polygons: the same objects.
    gerberx::Options bare = SmallBounds();
    bare.keepObjectAreas = bare.computeDarkArea = false;
    const gerberx::Layer quick = gerberx::ReadGerberText(text, "fuzz.gbr", bare);
    if (quick.objects.size() != full.objects.size()) Fail("another number of objects without polygons");
    for (std::size_t i = 0; i < quick.objects.size(); ++i)
      if (quick.objects[i].kind != full.objects[i].kind) Fail("another kind of object without polygons");
    // As the converter reads: the areas of plain objects left out, curves as chords within the
    // share of the tolerance the proof allows them.
    gerberx::Options converting = SmallBounds();
    const gerberx::Options reading = gerberx::convert::ReadingOptions(kToleranceMm);
    converting.computeDarkArea = reading.computeDarkArea;
    converting.plainObjectAreas = reading.plainObjectAreas;
    converting.chordErrorMm = reading.chordErrorMm;
    const gerberx::Layer lean = gerberx::ReadGerberText(text, "fuzz.gbr", converting);
    if (lean.objects.size() != full.objects.size()) Fail("another number of objects without plain areas");
    std::ostringstream out;
    try {
      // The cuts' bound as small as the reader's: their booleans run as slowly under the sanitizers.
      gerberx::convert::DecomposeOptions options;
      options.MaxCutEdges = 30'000;
      gerberx::convert::WriteGerber(out, gerberx::convert::ConvertLayer(lean, options));
    } catch (const std::range_error&) {  // beyond the importer's coordinates
      return 0;
    } catch (const std::length_error&) {  // more apertures than its D-codes
      return 0;
    } catch (const gerberx::convert::WorkBoundError& e) {  // clear cuts past the bound on work
      if (std::string(e.what()).find("fuzz.gbr:") != 0) Fail("bound on work without the file name");
      return 0;
    }
    // The proof: what was written, read back, covers the original within the tolerance.
    gerberx::Options back = converting;
    back.maxObjects = 1'000'000;
    back.maxPrimitives = 1'000'000;
    back.maxVertices = 1'000'000;  // its fills count, where plain objects did not
    gerberx::Layer written;
    try {
      written = gerberx::ReadGerberText(out.str(), "written.gbr", back);
    } catch (const gerberx::ReadError& e) {
      Fail(std::string("the written file does not read back: ") + e.what());
    }
    // The proof's sweep bounded to a small share of its work, so that an input stays quick under
    // the sanitizers: a tall input is then measured in coarser rows.
    constexpr double kProofCrossings = 2e6;
    const gerberx::convert::ProofResult proof =
        gerberx::convert::Prove(lean, written, gerberx::convert::DecomposeOptions{}.Tolerance, kProofCrossings);
    if (proof.Exceeds()) {
      Fail("the conversion differs from the original past the tolerance: " + std::to_string(proof.UncoveredMm2) +
           " mm2 uncovered, " + std::to_string(proof.AddedMm2) + " mm2 added, the largest piece " +
           std::to_string(proof.WorstMm2) + " mm2");
    }
  } catch (const gerberx::ReadError& e) {
    if (e.File() != "fuzz.gbr" || std::string(e.what()).find("fuzz.gbr") != 0) Fail("error without the file name");
  } catch (const std::exception& e) {
    Fail(std::string("exception other than ReadError: ") + e.what());
  } catch (...) {
    Fail("unknown exception");
  }
  return 0;
}
