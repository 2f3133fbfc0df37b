#include "saves/saves.h"

namespace tsukikage {

void Saves::ClaimEvents(EventTable& events) {
    constexpr MenuId kSaveItems[] = {MenuId::save1, MenuId::save2, MenuId::save3, MenuId::save4,
                                     MenuId::save5};
    constexpr MenuId kLoadItems[] = {MenuId::load1, MenuId::load2, MenuId::load3, MenuId::load4,
                                     MenuId::load5};
    for (int slot = 1; slot <= 5; ++slot) {
        events.OnMenu(kSaveItems[slot - 1], [this, slot] { SaveSlot(slot); });
        events.OnMenu(kLoadItems[slot - 1], [this, slot] { LoadSlot(slot); });
    }
}

// The save slots arrive with saving and loading.
void Saves::SaveSlot(int) {}

void Saves::LoadSlot(int) {}

}  // namespace tsukikage
