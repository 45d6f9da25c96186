#pragma once
// The statement loop of the reader: the graphics state, apertures, macros, blocks and
// step-and-repeat, turning statements into the layer's objects. Internal to gerberx: Reader.h is
// its face. Its members are defined by concept: the loop and its statements in Interpreter.cpp,
// the rest in Interpreter{Operations,Apertures,Blocks,Objects,Image}.cpp.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gerberx/DarkArea.h"
#include "gerberx/ImageTransform.h"
#include "gerberx/Layer.h"
#include "gerberx/Macro.h"
#include "gerberx/Reader.h"
#include "gerberx/Shapes.h"
#include "gerberx/Statements.h"

namespace gerberx {

class Interpreter {
 public:
  Interpreter(std::string file, const Options& options);
  Interpreter(const Interpreter&) = delete;  // the dark area reports its work to this one
  Interpreter& operator=(const Interpreter&) = delete;
  Layer Run(std::string_view text);

 private:
  enum class Interpolation { Linear, Clockwise, CounterClockwise };

  struct ApertureDef {
    ApertureShape shape = ApertureShape::Circle;
    std::vector<double> params;  // in file units (C/R/O/P), or the macro's parameters
    double unitScale = 1;        // grid units per file unit when it was defined
    std::string macroName;
    int block = -1;
    int line = 0;
  };

  // What a flash or draw with one aperture gives under the current object transform.
  struct ApertureUse {
    Aperture description;
    Area area;                     // relative to the flash point
    Ring outline;                  // the shape a draw sweeps (no hole)
    Box box;                       // of the area, relative to the flash point
    double diameter = 0;           // circle: in grid units
    std::vector<MacroPart> parts;  // macro: its primitives, relative to the flash point
    long long vertices = 0;        // of the area
  };

  // What objects place: primitives and polygon vertices (see Options).
  struct Cost {
    long long primitives = 0;
    long long vertices = 0;
    long long objects = 0;
  };

  // A block aperture or a step-and-repeat being recorded.
  struct Collector {
    bool block = false;
    int dcode = 0;
    int line = 0;
    long long xCount = 1, yCount = 1;
    double xStep = 0, yStep = 0;  // grid units
    std::vector<Object> objects;
    Cost cost;  // of the objects recorded
  };

  void Statement(const gerberx::Statement& s);
  void Word(const std::string& text);
  void Extended(const gerberx::Statement& s);
  void ApertureDefinition(const std::string& text);
  void MacroDefinition(const gerberx::Statement& s);
  void ApertureBlock(const std::string& text);
  void StepRepeat(const std::string& text);
  void AttributeStatement(const std::string& text);
  void ImageStatement(const std::string& code, const std::string& text);
  void ObjectTransformStatement(const std::string& code, const std::string& text);

  void Operate(int op, Point target, bool hasIJ, Point offset);
  void Flash(Point at);
  void Draw(Point from, Point to, bool hasIJ, Point offset);
  void CloseContour();
  void CloseStepRepeat();

  const ApertureUse& Use(int dcode);
  ApertureUse BuildUse(int dcode, const ApertureDef& def);
  Affine ObjectTransform() const;
  bool ObjectTransformIsIdentity() const;
  bool SkipsArea(const Object& obj) const;

  void Produce(Object obj);
  void Emit(Object obj);
  // Counts the object against the bounds; gives what it cost.
  Cost CountProduced(const Object& obj);
  static Cost CostOf(const Object& obj);
  // Fails when `times` times `cost` more would pass the budget: before the work is done.
  void Afford(const Cost& cost, long long times, const char* what, const char* does = "would place");
  // Counts the vertices a boolean of the dark area goes through against the budget, before it runs.
  void ChargeDarkArea(long long vertices);

  Coord ParseCoordinate(std::string_view digits, bool xAxis);
  double UnitScale();
  double ParseDecimal(const std::string& text, const char* what);
  bool ArcCentre(Point start, Point end, Point offset, bool clockwise, Point& centre, bool& full);
  void Warn(const std::string& text);
  [[noreturn]] void Fail(const std::string& reason);
  void UpdateImageMap();

  std::string file_;
  Options options_;
  double chordError_;  // grid units
  bool needAreas_;     // off: objects with their descriptions and boxes only, no polygons
  Layer layer_;
  DarkArea dark_;

  // Graphics state.
  Units units_ = Units::Unknown;
  bool unitsWarned_ = false;
  Interpolation interpolation_ = Interpolation::Linear;
  bool multiQuadrant_ = false;
  bool incremental_ = false;  // G91
  Point current_;
  int aperture_ = 0;
  bool clear_ = false;  // %LPC
  bool mirrorX_ = false, mirrorY_ = false;
  double rotation_ = 0, scale_ = 1;
  int lastOperation_ = 0;  // for coordinates without an operation code
  bool inRegion_ = false;
  std::vector<Point> contour_;
  int contourLine_ = 0;
  int contourEdges_ = 0;  // D01s of the contour (an arc is one)
  bool ended_ = false;

  // Image parameters (deprecated statements that move the whole image).
  bool negative_ = false;
  ImageParameters image_;
  Affine imageMap_;
  bool imageMapIdentity_ = true;

  std::map<int, ApertureDef> apertures_;
  std::map<int, ApertureUse> uses_;  // cached for the current object transform
  std::map<std::string, MacroTemplate> macros_;
  std::vector<std::vector<Object>> blocks_;
  std::vector<Cost> blockCosts_;  // of one flash of each block
  std::vector<Collector> collectors_;
  int openBlocks_ = 0;
  bool stepRepeatOpen_ = false;

  long long produced_ = 0;
  long long vertices_ = 0;
  long long primitives_ = 0;
  long long primitiveBudget_ = 0;
  long long vertexBudget_ = 0;
  const gerberx::Statement* statement_ = nullptr;
};

}  // namespace gerberx
