#include "comfort/comfort.h"

#include <string>
#include <utility>

#include "base/runtime_error.h"
#include "graphics/graphics.h"
#include "scenario/page.h"
#include "scenario/reader.h"

namespace tsukikage {
namespace {

// Entries moved by Page Up and Page Down in the history; one for the arrows and the wheel.
constexpr std::size_t kHistoryPageStep = 5;

// Auto mode counts its wait in steps this long; skip takes a page per screen refresh.
constexpr int kAutoTickMs = 100;

constexpr std::string_view kSkipSign = "スキップ";
constexpr std::string_view kAutoSign = "オート";

// A page as the history keeps it: without the line end after its last line.
std::string PageText(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (unsigned char byte : utf8) {
        if ((byte & 0xC0) != 0x80 && byte != '\r' && byte != '\n') ++count;
    }
    return count;
}

int Level(int volume, bool muted) {
    return muted ? 0 : volume;
}

}  // namespace

Comfort::Comfort(MainWindow& window, Reader& reader, Page& page, Graphics& graphics,
                 std::filesystem::path read_folder)
    : w_(window),
      reader_(reader),
      page_(page),
      graphics_(graphics),
      read_(std::move(read_folder)) {}

void Comfort::ClaimEvents(EventTable& events) {
    events.OnTimer(TimerId::Comfort, "Comfort::Tick", [this] { Tick(); });
}

void Comfort::AfterEvent() {
    if (reader_.open_count() != seen_open_count_) {
        seen_open_count_ = reader_.open_count();
        SaveReadPages();
        history_.Clear();
        read_.Open(reader_.ScenarioBytes());
    }
    if (page_.shown_count() != seen_page_count_) {
        seen_page_count_ = page_.shown_count();
        NotePage();
    }
    if (!w_.state.GameMode) {
        StopStartedSkip();
        CloseHistory();
    }
    if (w_.state.MusicMode != music_room_levels_) ApplyLevels();
    UpdateTimerAndSign();
}

// A page brought on screen: the history takes it when it shows text, and the record of read
// pages notes where it stands.
void Comfort::NotePage() {
    auto_waited_ms_ = 0;
    if (!w_.state.GameMode) return;
    const Control& label = w_.form[ControlId::Label1];
    if (label.visible) {
        std::string text = PageText(label.caption);
        if (!text.empty()) {
            if (page_shown) page_shown(text);
            history_.AddPage(std::move(text));
        }
    }
    page_read_before_ = read_.Contains(reader_.position());
    if (read_.Mark(reader_.position()) && !skipping()) SaveReadPages();
}

void Comfort::RecordPick(std::string_view caption) {
    history_.AddPick(std::string(caption));
}

bool Comfort::KeyPress(Key key, bool choosing) {
    if (history_.open()) {
        switch (key) {
            case Key::Up:
            case Key::WheelUp:
                history_.Back(1);
                break;
            case Key::PageUp:
                history_.Back(kHistoryPageStep);
                break;
            case Key::Down:
            case Key::WheelDown:
                history_.Forward(1);
                break;
            case Key::PageDown:
                history_.Forward(kHistoryPageStep);
                break;
            case Key::Escape:
            case Key::Backspace:
                history_.Close();
                break;
            default:
                break;
        }
        ShowHistory();
        return true;
    }
    if (key == Key::A) {
        ToggleAuto();
        return true;
    }
    StopStartedSkip();
    // Backspace is the way back: it opens the history here, and closes it above.
    const bool history_key = key == Key::WheelUp || key == Key::PageUp || key == Key::Backspace ||
                             (key == Key::Up && !choosing);
    if (history_key && w_.state.GameMode) {
        OpenHistory();
        return true;
    }
    return key == Key::Escape;
}

void Comfort::MouseDown() {
    StopStartedSkip();
}

bool Comfort::OpenHistory() {
    if (!w_.state.GameMode || !history_.Open()) return false;
    ShowHistory();
    return true;
}

void Comfort::CloseHistory() {
    if (!history_.open()) return;
    history_.Close();
    ShowHistory();
}

void Comfort::ShowHistory() {
    w_.form.overlay.history = history_.View();
    w_.form.Changed();
}

void Comfort::SetSkipHeld(bool held) {
    skip_held_ = held;
    if (!skipping()) SaveReadPages();
    UpdateTimerAndSign();
}

void Comfort::StartSkip() {
    if (!w_.state.GameMode) return;
    skip_started_ = true;
    UpdateTimerAndSign();
}

void Comfort::StopStartedSkip() {
    if (!skip_started_) return;
    skip_started_ = false;
    if (!skipping()) SaveReadPages();
    UpdateTimerAndSign();
}

void Comfort::ToggleAuto() {
    auto_on_ = !auto_on_;
    auto_waited_ms_ = 0;
    UpdateTimerAndSign();
}

void Comfort::Tick() {
    if (history_.open() || !w_.state.GameMode) return;
    if (skipping()) {
        SkipStep();
    } else if (auto_on_) {
        AutoStep();
    }
}

void Comfort::SkipStep() {
    if (w_.state.EffectMode != 0) {
        graphics_.FinishRunningEffect();
        return;
    }
    const bool read_enough = page_read_before_ || settings_.skip_unread;
    if (!CanAdvance() || !read_enough) {
        // A choice, a page never shown, or the end: a skip from the menu ends there; one held
        // with Control waits for the player.
        StopStartedSkip();
        return;
    }
    if (advance) advance();
}

void Comfort::AutoStep() {
    if (!CanAdvance()) {
        auto_waited_ms_ = 0;
        return;
    }
    auto_waited_ms_ += w_.form.timer(TimerId::Comfort).interval_ms;
    const std::size_t characters = CharacterCount(w_.form[ControlId::Label1].caption);
    if (auto_waited_ms_ < AutoWaitMs(settings_, characters)) return;
    auto_waited_ms_ = 0;
    if (advance) advance();
}

bool Comfort::CanAdvance() const {
    const Control& marker = w_.form[ControlId::imgAhead];
    return w_.form.IsShown(ControlId::imgAhead) && marker.enabled && !w_.form.ChoicesShown() &&
           w_.state.EffectMode == 0 && !reader_.AtEnd();
}

void Comfort::Apply(const PlaySettings& settings) {
    settings_ = Clamped(settings);
    ApplyLevels();
}

// The music room plays its pieces on the wave voice: there the voice follows the music level.
void Comfort::ApplyLevels() {
    music_room_levels_ = w_.state.MusicMode;
    SoundLevels& levels = w_.platform.sound_levels;
    const int music = Level(settings_.music_volume, settings_.music_muted);
    const int effects = Level(settings_.effects_volume, settings_.effects_muted);
    levels.SetMusicLevel(music);
    levels.SetVoiceLevel(music_room_levels_ ? music : effects);
}

void Comfort::UpdateTimerAndSign() {
    const bool running = skipping() || auto_on_;
    Timer& timer = w_.form.timer(TimerId::Comfort);
    std::string sign;
    if (running && w_.state.GameMode) sign = skipping() ? kSkipSign : kAutoSign;
    const int interval = skipping() ? kComfortTickMs : kAutoTickMs;
    if (timer.enabled != running || timer.interval_ms != interval || w_.form.overlay.sign != sign) {
        timer.enabled = running;
        timer.interval_ms = interval;
        w_.form.overlay.sign = std::move(sign);
        w_.form.Changed();
    }
}

void Comfort::SaveReadPages() {
    const std::optional<int> error = read_.Save();
    if (!error || read_error_shown_) return;
    // Once per run: the game goes on, only the record of read pages is behind.
    read_error_shown_ = true;
    w_.form.Changed();
    w_.platform.message_box.Show("既読の記録を保存できませんでした。\n" + ErrorDescription(*error),
                                 MessageIcon::Exclamation, "既読の記録");
}

}  // namespace tsukikage
