#pragma once
// An object moved by a map: a block aperture's flash, a step-and-repeat copy, the image transform.

#include "gerberx/Layer.h"
#include "gerberx/Shapes.h"

namespace gerberx {

// The object with its area, points, box, aperture description and macro parts under `map`;
// a whole-unit translation moves them exactly.
Object Placed(const Object& obj, const Affine& map);

}  // namespace gerberx
