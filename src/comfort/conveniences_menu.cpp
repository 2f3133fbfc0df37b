#include "comfort/conveniences_menu.h"

#include <array>

namespace tsukikage {
namespace {

ConvenienceItem Item(std::string_view name, std::string_view text, bool enabled,
                     std::optional<bool> checked = std::nullopt) {
    ConvenienceItem item;
    item.name = name;
    item.text = text;
    item.enabled = enabled;
    item.checked = checked;
    return item;
}

ConvenienceItem Separator() {
    ConvenienceItem item;
    item.separator = true;
    item.enabled = false;
    return item;
}

ConvenienceItem Note(std::string_view text) {
    ConvenienceItem item;
    item.text = text;
    item.enabled = false;
    return item;
}

using SlotSummaries = std::array<Saves::Summary, Saves::kLastSlot - Saves::kFirstSlot + 1>;

// The five slots under one item; a slot is offered while the menu bar's item for it is.
ConvenienceItem SlotList(const MainWindow& window, const SlotSummaries& summaries, bool load) {
    ConvenienceItem list = Item(load ? "load" : "save", load ? "ロード" : "セーブ", false);
    for (int slot = Saves::kFirstSlot; slot <= Saves::kLastSlot; ++slot) {
        const Saves::Summary& summary =
            summaries[static_cast<std::size_t>(slot - Saves::kFirstSlot)];
        const MenuId item = load ? LoadItem(slot) : SaveItem(slot);
        const bool enabled =
            window.state.GameMode && window.form.IsMenuAvailable(item) && (summary.used || !load);
        list.items.push_back(
            Item(std::string(load ? kLoadItemPrefix : kSaveItemPrefix) + std::to_string(slot),
                 summary.caption, enabled));
        list.enabled = list.enabled || enabled;
    }
    if (load) {
        list.items.push_back(Separator());
        list.items.push_back(Note("ロードすると最後の区切りから始まります"));
    }
    return list;
}

}  // namespace

std::optional<int> SlotOfItem(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + 1 || name.substr(0, prefix.size()) != prefix) {
        return std::nullopt;
    }
    const int slot = name.back() - '0';
    if (slot < Saves::kFirstSlot || slot > Saves::kLastSlot) return std::nullopt;
    return slot;
}

std::vector<ConvenienceItem> ConveniencesMenu(const MainWindow& window, const Comfort& comfort,
                                              const Saves& saves,
                                              const ConvenienceViewState& view) {
    const bool game_screen = window.state.GameMode;
    std::vector<ConvenienceItem> menu;
    menu.push_back(Item("history", "履歴", game_screen && comfort.history().size() > 0));
    menu.push_back(Item("skip", "スキップ", game_screen));
    menu.push_back(Item("auto", "オート", true, comfort.auto_on()));
    menu.push_back(Item(kFullScreenItem, "全画面表示", true, view.full_screen));
    if (view.offers_fit) {
        menu.push_back(Item(kFitItem, "画面に合わせる", true, comfort.settings().fit_screen));
    }
    menu.push_back(Separator());
    // Each slot's files are read once for both lists.
    SlotSummaries summaries;
    for (int slot = Saves::kFirstSlot; slot <= Saves::kLastSlot; ++slot) {
        summaries[static_cast<std::size_t>(slot - Saves::kFirstSlot)] = saves.SlotSummary(slot);
    }
    menu.push_back(SlotList(window, summaries, false));
    menu.push_back(SlotList(window, summaries, true));
    menu.push_back(Item(kBackToTitleItem, "タイトルへ戻る", game_screen));
    menu.push_back(Separator());
    menu.push_back(Item(kSettingsItem, "設定...", true));
    return menu;
}

}  // namespace tsukikage
