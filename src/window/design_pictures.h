#pragma once

#include <memory>

#include "base/surface.h"
#include "window/form.h"

namespace tsukikage {

// Pictures of the window's own design, drawn in code so the program needs no resource files.

// The advance marker: a 32 x 32 pointer-shaped picture (transparent around it).
std::shared_ptr<const Surface> AheadMarkerPicture();
// The pointer shown over the advance marker: a 32 x 32 pointing hand-like arrow.
MouseIcon AheadMousePointer();
// The choice marker beside each choice caption, and its pointer.
std::shared_ptr<const Surface> ChoiceMarkerPicture();
MouseIcon ChoiceMousePointer();
// The design picture of an extras button (CGGo, CGBack, SystemBack, MusicGo, MusicBack,
// MusicPlay, MusicStop), as wide as the button.
std::shared_ptr<const Surface> ButtonDesignPicture(ControlId button);
// The 211 x 26 design picture of a title image: its own for the new-game, load and end
// images, one shared locked look for the three extras.
std::shared_ptr<const Surface> TitleImageDesignPicture(ControlId image);

}  // namespace tsukikage
