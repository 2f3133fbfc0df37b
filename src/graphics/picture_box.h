#pragma once

#include "base/surface.h"
#include "window/form.h"

namespace tsukikage {

// The persistent image of a picture box, ready for drawing. While the box shows just its
// picture, the image is made first: the box's drawing area (inside its border) in its back
// colour, with the picture at the top left.
Surface& DrawingImage(Control& box);

}  // namespace tsukikage
