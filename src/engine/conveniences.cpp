// The right button's menu of the player's conveniences: what it shows and what its items do,
// and the questions asked before a step that leaves the game or the program.
#include "engine/engine.h"

namespace tsukikage {

std::vector<ConvenienceItem> Engine::ConveniencesMenu(const ConvenienceViewState& view) const {
    return tsukikage::ConveniencesMenu(*this, comfort, saves, view);
}

bool Engine::ChooseConvenience(std::string_view name) {
    if (name == "history") {
        OpenHistory();
    } else if (name == "skip") {
        StartSkip();
    } else if (name == "auto") {
        ToggleAuto();
    } else if (name == kBackToTitleItem) {
        BackToTitle();
    } else if (const std::optional<int> slot = SlotOfItem(name, kSaveItemPrefix)) {
        if (!state.GameMode) return true;
        if (saves.SlotSummary(*slot).used &&
            !Confirm("スロット" + std::to_string(*slot) + "のセーブに上書きしますか？")) {
            return true;
        }
        MenuCommand(SaveItem(*slot));
    } else if (const std::optional<int> slot = SlotOfItem(name, kLoadItemPrefix)) {
        if (state.GameMode) MenuCommand(LoadItem(*slot));
    } else {
        return false;
    }
    return true;
}

// The new game and the end image of the title screen, chosen with the keys, ask first: a key
// is pressed by mistake more easily than an image is clicked.
bool Engine::ConfirmKeyedTitleImage(ControlId image) {
    if (!state.TitleMode) return true;
    if (image == ControlId::NewGameImage) return Confirm("はじめから始めますか？");
    if (image == ControlId::EndImage) return Confirm("ゲームを終了しますか？");
    return true;
}

}  // namespace tsukikage
