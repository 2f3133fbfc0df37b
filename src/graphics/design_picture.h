#pragma once

#include <memory>

#include "base/surface.h"

namespace tsukikage {

// The 640 x 480 picture that the transition buffers hold from the window's design: a night
// sky over a dark hill with a crescent moon, drawn in code once and shared.
std::shared_ptr<const Surface> BufferDesignPicture();

}  // namespace tsukikage
