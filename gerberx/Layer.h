#pragma once
// What the reader gives for one Gerber file: its settings as read, its graphical objects in the
// order the image draws them, and its final dark area.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gerberx/Geometry.h"

namespace gerberx {

enum class Units { Unknown, Millimetres, Inches };
enum class ZeroOmission { Leading, Trailing };
enum class Notation { Absolute, Incremental };

struct Format {
  bool declared = false;
  int xInteger = 0, xDecimal = 0;
  int yInteger = 0, yDecimal = 0;
  ZeroOmission zeros = ZeroOmission::Leading;
  Notation notation = Notation::Absolute;
};

enum class Polarity : std::uint8_t { Dark, Clear };

enum class ObjectKind : std::uint8_t {
  Flash,       // flash of a standard aperture (C, R, O, P)
  Stroke,      // linear draw (D01 in G01)
  Arc,         // circular draw (D01 in G02/G03)
  Region,      // G36/G37 region (also the background of a negative image)
  MacroFlash,  // flash of an aperture macro
};

enum class ApertureShape : std::uint8_t { Circle, Rectangle, Obround, Polygon, Macro, Block };

// An aperture as one object uses it, with %LM/%LR/%LS and the image transforms applied.
struct Aperture {
  int dcode = 0;
  ApertureShape shape = ApertureShape::Circle;
  bool mirrored = false;   // the shape is mirrored (before the rotation) about its x axis
  Coord xSize = 0;         // circle and polygon: the (outer) diameter
  Coord ySize = 0;         // circle and polygon: the same as xSize
  int vertices = 0;        // polygon: 3 to 12
  Coord holeDiameter = 0;  // 0: no hole. A hole is no part of the object's area.
  double rotation = 0;     // degrees counter-clockwise: the polygon's own rotation plus the transforms
  bool distorted = false;  // an image map that does not keep angles drew it: the sizes are only its mean
  std::string macroName;   // ApertureShape::Macro
};

// One primitive of a macro flash, as placed: what the converter can write as a pad of its own.
struct MacroPart {
  enum class Shape { Circle, Rectangle, Thermal, Other };  // Other: outline, polygon, moire
  Shape shape = Shape::Other;
  bool dark = true;     // exposure on (off and toggled primitives are not dark)
  Point centre;         // Circle, Rectangle, Thermal
  Coord xSize = 0;      // Circle: the diameter; Rectangle: along its own x axis; Thermal: outer diameter
  Coord ySize = 0;      // Circle: the diameter; Thermal: inner diameter
  Coord gap = 0;        // Thermal: the width of its gaps
  double rotation = 0;  // Rectangle, Thermal: degrees counter-clockwise of its own x axis
};

struct Object {
  ObjectKind kind = ObjectKind::Flash;
  Polarity polarity = Polarity::Dark;
  bool clockwise = false;             // Arc
  bool fullCircle = false;            // Arc: start == end, the whole circle
  int line = 0;                       // line of the statement that drew it (1-based)
  int edges = 0;                      // Region: the edges of its contour as written (an arc is one)
  Aperture aperture;                  // Flash, MacroFlash, Stroke, Arc
  Point start;                        // Stroke, Arc: where the draw starts
  Point end;                          // Stroke, Arc: where it ends; Flash, MacroFlash: the flash point
  Point centre;                       // Arc
  Area area;                          // the object's own shape (empty when Options::keepObjectAreas is off)
  Box box;                            // bounding box of its shape
  int blockDepth = 0;                 // 0: drawn at top level; >0: part of a block aperture's flash
  int blockDcode = 0;                 // the outermost block aperture it was flashed with, if any
  int stepRepeatCopy = -1;            // -1: outside step-and-repeat; else the copy's index (0 is the original place)
  std::vector<MacroPart> macroParts;  // MacroFlash: its primitives in order

  bool IsStandardFlash() const { return kind == ObjectKind::Flash; }
  bool IsRoundDraw() const {
    return (kind == ObjectKind::Stroke || kind == ObjectKind::Arc) && aperture.shape == ApertureShape::Circle;
  }
  // What the file places with it: one for a stroke or flash, the primitives of a macro flash,
  // the edges of a region.
  std::size_t Primitives() const;
  // Exactly what its description says, in a shape the importer has: a flash of a circle, or of a
  // rectangle or obround turned by whole quarter turns, without a hole; a draw of a circle; a
  // straight draw of such a rectangle along an axis.
  bool IsPlain() const;
};

// A rotation in whole quarter turns (0 to 3), or -1 when it is not a whole number of them.
int QuarterTurns(double degrees);

struct Attribute {
  std::string name;  // with its leading dot for the standard ones: ".FileFunction"
  std::vector<std::string> values;
};

// How many of each thing the reader met, for summaries.
struct Counts {
  int flashes = 0;  // standard-aperture flashes (after expansion)
  int strokes = 0;
  int arcs = 0;
  int regions = 0;
  int macroFlashes = 0;
  int blockFlashes = 0;        // flash statements of block apertures (each counted once, at any depth)
  int clearObjects = 0;        // objects of clear polarity (after %IP and block polarity)
  int stepRepeatBlocks = 0;    // %SR blocks with more than one copy
  int stepRepeatCopies = 0;    // objects added by step-and-repeat beyond the first copy
  int transformedObjects = 0;  // objects drawn under %LM, %LR or %LS other than the identity
  int imageParameters = 0;     // image statements that changed the image (%IP NEG, %MI, %OF, %SF, %IR, %AS)
  int attributes = 0;          // %TF/%TA/%TO/%TD statements
  int comments = 0;            // G04
  int deprecated = 0;          // deprecated statements read (G70/G71/G90/G91/G54/G55/%IN/%LN/...)
  int statements = 0;
};

// Something read that the reader accepted with an assumption (units not stated, an unknown
// command skipped).
struct Warning {
  int line = 0;
  std::string text;
};

struct Layer {
  std::string file;              // as given to the reader
  Units units = Units::Unknown;  // the last units statement (%MO, G70/G71, or inside %FS)
  Format format;
  std::vector<Attribute> fileAttributes;  // %TF, in file order
  std::string imageName;                  // %IN
  std::string layerName;                  // the last %LN
  bool negative = false;                  // %IPNEG
  std::vector<Object> objects;            // in drawing order; a clear object cuts those before it
  Area dark;                              // the layer's final dark area
  Counts counts;
  std::vector<Warning> warnings;

  // The values of %TF.FileFunction joined by ",", e.g. "Copper,L1,Top"; empty when absent.
  std::string FileFunction() const;
  // The values of a file attribute (the last one of that name), or nullptr.
  const Attribute* FindFileAttribute(const std::string& name) const;
};

}  // namespace gerberx
