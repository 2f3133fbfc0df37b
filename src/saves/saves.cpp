#include "saves/saves.h"

#include "app/engine.h"

namespace tsukikage {

// The save slots arrive with saving and loading.
void Saves::SaveSlot(int) {}

void Saves::LoadSlot(int) {}

}  // namespace tsukikage
