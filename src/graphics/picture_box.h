#pragma once

#include <memory>

#include "base/surface.h"
#include "window/form.h"

namespace tsukikage {

// The persistent image of a picture box, ready for drawing. While the box shows just its
// picture, the image is made first: the box's drawing area (inside its border) in its back
// colour, with the picture at the top left.
Surface& DrawingImage(Control& box);

// The size of the image DrawingImage makes for a box: its drawing area.
int DrawingWidth(const Control& box);
int DrawingHeight(const Control& box);

// What the box shows, for reading: its image, or while it shows just its picture, what the
// image would be made of. A picture that fills the drawing area exactly is that already, so
// no image is made for it; any other picture makes the image, as DrawingImage does.
const Surface& ShownPixels(Control& box);

// What the box shows, as a picture that later drawing into the box leaves as it is: a copy
// of its image, or its picture itself when that fills the drawing area exactly.
std::shared_ptr<const Surface> ShownPicture(Control& box);

}  // namespace tsukikage
