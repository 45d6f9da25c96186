#pragma once
// Aperture macros (%AM): their primitives and assignments, and the shape of one instance.

#include <string>
#include <vector>

#include "gerberx/Expression.h"
#include "gerberx/Geometry.h"
#include "gerberx/Layer.h"
#include "gerberx/Shapes.h"

namespace gerberx {

struct MacroLimits {
  int maxPrimitives = 100'000;
  int maxVerticesPerPrimitive = 100'000;
  long long maxVertices = 10'000'000;  // of one instance, all primitives together
};

// A primitive or an assignment as written.
struct MacroItem {
  int line = 0;
  std::string text;
  bool assignment = false;
  int variable = 0;  // assignment: $variable = expression
  int code = 0;      // primitive code
  std::vector<Expression> parameters;
};

// A macro whose instance cannot be built; the caller adds the file and line.
class MacroError : public std::runtime_error {
 public:
  MacroError(int line, const std::string& what) : std::runtime_error(what), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

class MacroTemplate {
 public:
  // Parses the body of %AM; throws MacroError naming the part that is wrong.
  static MacroTemplate Parse(std::string name, const std::vector<std::string>& body, const std::vector<int>& lines);
  const std::string& Name() const { return name_; }
  std::size_t Size() const { return items_.size(); }

  // The area of the instance with these parameters; `map` takes macro coordinates (file units)
  // to the grid, `chordError` is in grid units. With `parts`, also each primitive as placed.
  // Throws MacroError.
  Area Instantiate(const std::vector<double>& parameters, const Affine& map, double chordError,
                   const MacroLimits& limits, std::vector<MacroPart>* parts = nullptr) const;

 private:
  std::string name_;
  std::vector<MacroItem> items_;
};

}  // namespace gerberx
