#include "extras/extras.h"

#include "app/engine.h"

namespace tsukikage {

// The scene replay arrives with the extras.
void Extras::Check(std::string_view) {}

}  // namespace tsukikage
