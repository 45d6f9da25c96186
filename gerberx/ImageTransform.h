#pragma once
// The deprecated image parameters (%MI, %SF, %OF, %IR, %AS), which move the whole image.

#include "gerberx/Geometry.h"
#include "gerberx/Shapes.h"

namespace gerberx {

struct ImageParameters {
  bool mirrorA = false, mirrorB = false;
  double scaleA = 1, scaleB = 1;
  Point offset;  // grid units
  double rotation = 0;
  bool swapAxes = false;
};

// The map from the drawn image to the one the file shows.
Affine ImageMap(const ImageParameters& image);

}  // namespace gerberx
