#include "engine/engine.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "base/runtime_error.h"
#include "base/scoped_count.h"
#include "engine/extras_keys.h"
#include "platform/application.h"
#include "window/design_pictures.h"

namespace tsukikage {
namespace {

// A quiet timer still wakes now and then, so that no clock fault can keep it asleep for long.
constexpr std::int64_t kLongestTimerWaitMs = 60000;

// The run-time error report of the platform, for an error that no handler caught.
std::string UnhandledErrorText(const RuntimeError& error) {
    return "実行時エラー '" + std::to_string(error.number()) + "':\n\n" +
           ErrorDescription(error.number());
}

}  // namespace

Engine::Engine(Platform& platform, std::filesystem::path game_folder,
               std::filesystem::path user_records, std::filesystem::path read_pages)
    : MainWindow(platform, std::move(game_folder), std::move(user_records)),
      sound(*this),
      graphics(*this),
      page(*this),
      reader(*this, page, commands),
      choices(*this, reader),
      new_game(*this, reader, page, sound),
      saves(*this, reader, new_game, sound, read_pages),
      extras(*this, reader, graphics, sound),
      title(*this, new_game, graphics, sound, extras),
      quit(*this, reader, sound),
      about_box(*this),
      comfort(*this, reader, page, graphics, std::move(read_pages)),
      voicing(*this, page, comfort) {
    FillCommandTable();
    sound.ClaimEvents(events);
    graphics.ClaimEvents(events);
    page.ClaimEvents(events);
    reader.ClaimEvents(events);
    choices.ClaimEvents(events);
    new_game.ClaimEvents(events);
    saves.ClaimEvents(events);
    extras.ClaimEvents(events);
    title.ClaimEvents(events);
    quit.ClaimEvents(events);
    about_box.ClaimEvents(events);
    comfort.ClaimEvents(events);
    comfort.advance = [this] { Click(ControlId::imgAhead); };
    choices.on_pick = [this](std::string_view caption) { comfort.RecordPick(caption); };
    comfort.page_shown = [this](std::string_view text) { saves.NotePage(text); };

    Control& ahead = form[ControlId::imgAhead];
    ahead.picture = AheadMarkerPicture();
    ahead.mouse_icon = AheadMousePointer();
    for (ControlId button :
         {ControlId::CGGo, ControlId::CGBack, ControlId::SystemBack, ControlId::MusicGo,
          ControlId::MusicBack, ControlId::MusicPlay, ControlId::MusicStop}) {
        form[button].picture = ButtonDesignPicture(button);
    }
    for (int i = 0; i < 2; ++i) {
        form[ImgSel(i)].picture = ChoiceMarkerPicture();
        form[ImgSel(i)].mouse_icon = ChoiceMousePointer();
        form[LblSel(i)].mouse_icon = ChoiceMousePointer();
    }
}

// After the outermost handler, the conveniences look at what it changed.
template <typename Handler>
void Engine::Guarded(Handler&& handler) {
    try {
        {
            const ScopedCount handling(handling_);
            handler();
        }
        if (handling_ == 0) {
            comfort.AfterEvent();
            voicing.AfterEvent();
        }
    } catch (const RuntimeError& error) {
        form.Changed();
        platform.message_box.Show(UnhandledErrorText(error), MessageIcon::Critical,
                                  application::kTitle);
        EndProgram(platform.process, ExitStatus::Failed);
    }
}

void Engine::Form_Load() {
    Guarded([&] { title.Form_Load(); });
    form.Changed();
}

void Engine::Form_Unload() {
    Guarded([&] { quit.Form_Unload(); });
}

void Engine::Click(ControlId control) {
    if (comfort.history_open()) return;
    if (!form.IsShown(control) || !form[control].enabled) return;
    const EventTable::Action* action = events.Click(control, state);
    if (!action) return;
    // A click may open a message box: the window is brought up to date before and after.
    form.Changed();
    Guarded(*action);
    form.Changed();
}

void Engine::MouseMove(ControlId control, int x, int y) {
    if (comfort.history_open()) return;
    if (!form.IsShown(control) || !form[control].enabled) return;
    if (const EventTable::PointerAction* action = events.MouseMove(control, state)) {
        Guarded([&] { (*action)(x, y); });
    }
}

void Engine::MouseDown(int x, int y, bool double_click) {
    comfort.MouseDown();
    pressed_ = form.HitTest(x, y);
    pressing_ = true;
    double_click_ = double_click;
}

void Engine::MouseUp(int x, int y) {
    if (!pressing_) return;
    pressing_ = false;
    const std::optional<ControlId> pressed = std::exchange(pressed_, std::nullopt);
    if (double_click_ || !pressed || form.HitTest(x, y) != pressed) return;
    Click(*pressed);
}

void Engine::MouseMoveAt(int x, int y) {
    const std::optional<ControlId> target = pressing_ ? pressed_ : form.HitTest(x, y);
    if (target) MouseMove(*target, x, y);
}

void Engine::ClickAt(int x, int y) {
    MouseDown(x, y, false);
    MouseUp(x, y);
}

void Engine::MenuCommand(MenuId item) {
    if (!form.IsMenuAvailable(item)) return;
    comfort.CloseHistory();
    const EventTable::Action* action = events.Menu(item);
    if (!action) return;
    form.Changed();
    Guarded(*action);
    form.Changed();
}

void Engine::Tick(TimerId timer) {
    // Skip and auto wait while a handler has a message box open.
    if (timer == TimerId::Comfort && handling_ > 0) return;
    if (const EventTable::Action* action = events.Timer(timer)) Guarded(*action);
}

bool Engine::TimerIdle(TimerId timer) const {
    switch (timer) {
        case TimerId::Timer1:
            return state.EffectMode == 0;
        case TimerId::Timer2:
            return !state.TitleMode || !state.StartupRunning;
        default:
            return false;
    }
}

int Engine::TimerWaitMs(TimerId timer) {
    const int interval = form.timer(timer).interval_ms;
    if (timer != TimerId::BgmWatch || interval <= 0) return interval;
    const std::optional<std::int64_t> quiet = sound.BgmWatchQuietMs();
    if (!quiet || *quiet <= interval) return interval;
    // The first tick on the interval's beat at or after the end: no later than before.
    const std::int64_t ticks = (*quiet + interval - 1) / interval;
    return static_cast<int>(std::min<std::int64_t>(ticks * interval, kLongestTimerWaitMs));
}

bool Engine::ComfortKeyPress(Key key, bool choosing) {
    if (key == Key::V) {
        Guarded([&] { voicing.Toggle(); });
        return true;
    }
    bool taken = false;
    Guarded([&] { taken = comfort.KeyPress(key, choosing); });
    return taken;
}

bool Engine::ExtrasKeyPress(Key key) {
    if (!state.CGMode && !state.MusicMode && !state.SceneMode) return false;
    Guarded([&] { PressOnExtras(*this, key); });
    return true;
}

bool Engine::RightClick() {
    if (!comfort.history_open()) return false;
    Guarded([&] { comfort.CloseHistory(); });
    return true;
}

void Engine::SetSkipHeld(bool held) {
    Guarded([&] { comfort.SetSkipHeld(held); });
}

void Engine::StartSkip() {
    Guarded([&] { comfort.StartSkip(); });
}

void Engine::ToggleAuto() {
    Guarded([&] { comfort.ToggleAuto(); });
}

void Engine::OpenHistory() {
    Guarded([&] { comfort.OpenHistory(); });
}

void Engine::ApplySettings(const PlaySettings& settings) {
    Guarded([&] { comfort.Apply(settings); });
}

// As the scenario's end goes back: the page is left, the sound stops, the title comes.
void Engine::BackToTitle() {
    if (!state.GameMode || !Confirm("タイトルへ戻りますか？")) return;
    // The box waited: the game may have left the screen meanwhile.
    if (!state.GameMode) return;
    form.Changed();
    Guarded([&] { new_game.EndOfScenario(); });
    form.Changed();
}

bool Engine::Confirm(std::string_view question) {
    form.Changed();
    bool yes = false;
    Guarded([&] { yes = platform.message_box.Ask(question, application::kTitle); });
    form.Changed();
    return yes;
}

void Engine::AboutOK() {
    Guarded([&] { about_box.cmdOK_Click(); });
}

void Engine::AboutClosed() {
    Guarded([&] { about_box.Form_Unload(); });
}

}  // namespace tsukikage
