#pragma once

#include <QPainter>

#include "window/form.h"

namespace tsukikage {

// Draws the conveniences' overlay on the client area: the text history over the whole game
// screen in the game's font (`font`, the page label's), and the sign of skip or auto mode.
void PaintOverlay(QPainter& painter, const Overlay& overlay, const Font& font);

}  // namespace tsukikage
