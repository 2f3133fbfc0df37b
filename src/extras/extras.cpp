#include "extras/extras.h"

#include "app/engine.h"

namespace tsukikage {

// The ending record and the scene replay arrive with the extras.
void Extras::Finish(std::string_view) {}

void Extras::Check(std::string_view) {}

}  // namespace tsukikage
