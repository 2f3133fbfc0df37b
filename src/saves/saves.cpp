#include "saves/saves.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "base/runtime_error.h"
#include "base/text_file.h"
#include "scenario/new_game.h"
#include "scenario/reader.h"
#include "sound/sound.h"
#include "window/title_images.h"

namespace tsukikage {
namespace {

constexpr int kSlots = Saves::kLastSlot;
constexpr MenuId kSaveItems[] = {MenuId::save1, MenuId::save2, MenuId::save3, MenuId::save4,
                                 MenuId::save5};
constexpr MenuId kLoadItems[] = {MenuId::load1, MenuId::load2, MenuId::load3, MenuId::load4,
                                 MenuId::load5};
// The words of the page a slot shows, in characters.
constexpr std::size_t kFirstWords = 20;
// A save file larger than this is no save of the game's (it holds a number).
constexpr std::uintmax_t kMaxSaveBytes = 1024;
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

MenuId SaveItem(int slot) {
    return kSaveItems[static_cast<std::size_t>(std::clamp(slot, 1, kSlots) - 1)];
}

MenuId LoadItem(int slot) {
    return kLoadItems[static_cast<std::size_t>(std::clamp(slot, 1, kSlots) - 1)];
}

Saves::Saves(MainWindow& window, Reader& reader, NewGame& new_game, Sound& sound,
             std::filesystem::path notes_folder)
    : w_(window),
      reader_(reader),
      new_game_(new_game),
      sound_(sound),
      notes_folder_(std::move(notes_folder)) {}

void Saves::ClaimEvents(EventTable& events) {
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
        const std::string bytes = SlotBytes(w_.state.PartNo);
        ReplaceFile(*path, bytes);
        NoteSave(slot, bytes);
    } catch (const RuntimeError& error) {
        w_.form.Changed();
        w_.platform.message_box.Show(SlotText(slot) + "にセーブできませんでした。\n" +
                                         ErrorDescription(error.number()) +
                                         "\n前のセーブはそのまま残っています。",
                                     MessageIcon::Exclamation, kSaveErrorTitle);
    }
}

// A note that cannot be written leaves the save as it is: the slot is then told by its part.
void Saves::NoteSave(int slot, std::string_view bytes) {
    SlotNotes::Note note;
    note.fingerprint = SaveFingerprint(bytes);
    note.saved_at = clock ? clock() : 0;
    note.first_words = FirstWords(part_page_, kFirstWords);
    Notes().Set(slot, std::move(note));
}

SlotNotes& Saves::Notes() const {
    if (!notes_) {
        std::filesystem::path file;
        if (!notes_folder_.empty()) {
            file = notes_folder_ / SlotNotesFileName(w_.records.Active().root());
        }
        notes_ = std::make_unique<SlotNotes>(std::move(file));
    }
    return *notes_;
}

void Saves::NotePage(std::string_view text) {
    if (reader_.open_count() != noted_open_ || w_.state.PartNo != noted_part_) {
        noted_open_ = reader_.open_count();
        noted_part_ = w_.state.PartNo;
        part_page_.clear();
    }
    if (part_page_.empty()) part_page_ = text;
}

const SlotNotes::Note* Saves::MatchingNote(int slot) const {
    const std::optional<std::filesystem::path> path = w_.records.Active().Find(SlotFileName(slot));
    std::error_code error;
    if (!path || std::filesystem::file_size(*path, error) > kMaxSaveBytes || error) return nullptr;
    std::ifstream in(*path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const SlotNotes::Note* note = Notes().Find(slot);
    return note && note->fingerprint == SaveFingerprint(bytes) ? note : nullptr;
}

Saves::Summary Saves::SlotSummary(int slot) const {
    Summary summary;
    summary.caption = SlotText(slot) + "　";
    summary.used = w_.records.Active().Find(SlotFileName(slot)).has_value();
    if (!summary.used) {
        summary.caption += "（空き）";
    } else if (const SlotNotes::Note* note = MatchingNote(slot)) {
        summary.caption += SavedAtText(note->saved_at);
        if (!note->first_words.empty()) summary.caption += "　" + note->first_words;
    } else {
        // Saved by another program: the part is all the slot tells.
        const std::optional<std::int16_t> part = ReadSlot(slot);
        summary.caption += part ? "第" + std::to_string(*part) + "部" : "（読めないセーブ）";
    }
    return summary;
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
    // The loaded part's page is the one the slot was told by, until another part comes.
    const SlotNotes::Note* note = MatchingNote(slot);
    noted_open_ = reader_.open_count();
    noted_part_ = w_.state.PartNo;
    part_page_ = note ? note->first_words : std::string();
}

}  // namespace tsukikage
