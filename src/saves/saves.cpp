#include "saves/saves.h"

#include "base/runtime_error.h"
#include "base/text_file.h"
#include "scenario/new_game.h"
#include "scenario/reader.h"
#include "sound/sound.h"
#include "window/title_images.h"

namespace tsukikage {
namespace {

constexpr int kSlots = 5;
constexpr std::string_view kWaitingPicture = "\\data\\nowload.jpg";
constexpr std::string_view kSaveErrorTitle = "セーブエラー";
constexpr std::string_view kLoadErrorTitle = "ロードエラー";

std::string SlotText(int slot) {
    return "スロット" + std::to_string(slot);
}

}  // namespace

std::string SlotFileName(int slot) {
    return "\\save" + std::to_string(slot) + ".dat";
}

std::string SlotBytes(std::int16_t part) {
    TextOutput out;
    out.PrintNumber(part).EndLine();
    return out.bytes();
}

void Saves::ClaimEvents(EventTable& events) {
    constexpr MenuId kSaveItems[] = {MenuId::save1, MenuId::save2, MenuId::save3, MenuId::save4,
                                     MenuId::save5};
    constexpr MenuId kLoadItems[] = {MenuId::load1, MenuId::load2, MenuId::load3, MenuId::load4,
                                     MenuId::load5};
    for (int slot = 1; slot <= kSlots; ++slot) {
        const auto at = static_cast<std::size_t>(slot - 1);
        events.OnMenu(kSaveItems[at], {"Saves::SaveSlot", slot}, [this, slot] { SaveSlot(slot); });
        events.OnMenu(kLoadItems[at], {"Saves::LoadSlot", slot}, [this, slot] { LoadSlot(slot); });
        // On the load screen the first five title images are the slots.
        events.OnClick(
            kTitleImages[at].image, {"Saves::LoadSlot", slot}, [this, slot] { LoadSlot(slot); },
            Screen::Load);
    }
    // And the last leads back to the title.
    events.OnClick(
        kTitleImages[kSlots].image, "Saves::BackToTitle", [this] { w_.SelectMode(Mode::Title); },
        Screen::Load);
}

void Saves::SaveSlot(int slot) {
    const std::string name = SlotFileName(slot);
    try {
        const std::optional<std::filesystem::path> path = w_.records.Active().PathForWriting(name);
        if (!path) Raise(err::kPathNotFound);
        ReplaceFile(*path, SlotBytes(w_.state.PartNo));
    } catch (const RuntimeError& error) {
        w_.form.Changed();
        w_.platform.message_box.Show(SlotText(slot) + "にセーブできませんでした。\n" +
                                         ErrorDescription(error.number()) +
                                         "\n前のセーブはそのまま残っています。",
                                     MessageIcon::Exclamation, kSaveErrorTitle);
    }
}

std::optional<std::int16_t> Saves::ReadSlot(int slot) const {
    const std::optional<std::filesystem::path> path = w_.records.Active().Find(SlotFileName(slot));
    if (!path) return std::nullopt;
    try {
        return TextInput::Open(*path).ReadInteger();
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

void Saves::LoadSlot(int slot) {
    // The slot is read first: one that cannot be read leaves the game as it was.
    const std::optional<std::int16_t> part = ReadSlot(slot);
    if (!part) {
        const bool missing = !w_.records.Active().Find(SlotFileName(slot));
        w_.form.Changed();
        w_.platform.message_box.Show(
            SlotText(slot) + (missing ? "にはセーブがありません。"
                                      : "のセーブが壊れているため、ロードできませんでした。"),
            MessageIcon::Exclamation, kLoadErrorTitle);
        return;
    }
    reader_.CloseScenario();
    w_.SelectMode(Mode::Game);
    w_.state.Loading = true;
    Control& screen = w_.form[ControlId::Picture1];
    try {
        screen.AssignPicture(w_.LoadPictureIfPresent(kWaitingPicture));
    } catch (const RuntimeError&) {
        screen.AssignPicture(nullptr);  // the wait shows on an empty screen instead
    }
    w_.form.Changed();
    sound_.StopAllSound();
    w_.state.PartNo = *part;
    new_game_.LoadPart();
    Form& form = w_.form;
    form.Hide(ControlId::imgAhead);
    form.Show(ControlId::lblSel0);
    form.Show(ControlId::lblSel1);
    form[ControlId::txtTell].visible = false;
    form[ControlId::Label1].visible = false;
    w_.state.Loading = false;
}

}  // namespace tsukikage
