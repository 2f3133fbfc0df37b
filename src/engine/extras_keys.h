#pragma once

#include "window/form.h"

namespace tsukikage {

class Engine;

// A key on the gallery, the music room or the scene list, one of which is shown.
void PressOnExtras(Engine& engine, Key key);

}  // namespace tsukikage
