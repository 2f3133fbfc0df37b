#include "graphics/graphics.h"

#include "app/engine.h"

namespace tsukikage {

// Numbered pictures and transitions arrive with the picture layer; the commands are
// accepted and read on.
void Graphics::CGLoad(std::string_view) {}

void Graphics::EffectA(std::string_view) {}

void Graphics::EffectB(std::string_view) {}

void Graphics::EffectC(std::string_view) {}

void Graphics::Timer1_Timer() {}

}  // namespace tsukikage
