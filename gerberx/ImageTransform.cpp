#include "gerberx/ImageTransform.h"

namespace gerberx {

Affine ImageMap(const ImageParameters& image) {
  // Always in the order MI, SF, OF, IR, AS, whatever the order of the statements.
  Affine m = Affine::Scaling(image.mirrorA ? -1 : 1, image.mirrorB ? -1 : 1);
  m = Affine::Scaling(image.scaleA, image.scaleB).After(m);
  m = Affine::Translation(image.offset.x, image.offset.y).After(m);
  m = Affine::Rotation(image.rotation).After(m);
  if (image.swapAxes) m = Affine{0, 1, 1, 0, 0, 0}.After(m);
  return m;
}

}  // namespace gerberx
