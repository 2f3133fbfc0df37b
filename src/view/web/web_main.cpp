// The browser player's entry points, called by the page (web/player.js). Every call that may
// run a handler can suspend through Asyncify (a message box, a picture being decoded): the
// page calls them with ccall's async option, one at a time.
#include <emscripten.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "base/game_folder.h"
#include "engine/engine.h"
#include "saves/record_check.h"
#include "saves/slot_notes.h"
#include "view/web/browser_keys.h"
#include "view/web/conveniences.h"
#include "view/web/frame.h"
#include "view/web/kept_records.h"
#include "view/web/packed_waves.h"
#include "view/web/text_ahead.h"
#include "view/web/timer_schedule.h"
#include "view/web/web_platform.h"
#include "view/web/web_sound.h"
#include "view/web/web_speaker.h"
#include "window/title_images.h"

namespace tsukikage::web {
namespace {

// clang-format off
EM_JS(void, PaintNow, (), { Module.page.paintNow(); });
// clang-format on

// The player's own records of the game played: its read pages and its settings. The game's
// records stay in its folder. The page keeps both in the browser's storage and puts them back
// here before a game starts (web/records.js).
constexpr std::string_view kPlayerFolder = "/player";

class Player {
  public:
    explicit Player(const char* game_folder)
        : message_box_([this] { BeforeBox(); }, [this] { TickDue(); }),
          game_folder_(game_folder),
          wave_voice_([this](std::string_view name) { return game_folder_.FindSound(name); }),
          music_device_(music_player_, music_clock_, GameMusicResolver(game_folder)),
          platform_{message_box_, beeper_,       busy_pointer_, process_, picture_decoder_,
                    wave_voice_,  music_device_, sound_levels_, speaker_},
          engine(platform_, game_folder, {}, std::filesystem::path(kPlayerFolder) / "read-pages"),
          settings_(std::filesystem::path(kPlayerFolder) / "settings.ini") {
        if (const std::optional<PlaySettings> kept = settings_.Load()) engine.ApplySettings(*kept);
    }

    // Runs one event, then lets the timers follow the model, as the desktop's Sync does. An
    // event that ended the game leaves this engine as the end left it: the page calls it no
    // more, and a new start makes a new one.
    template <typename Handler>
    void Dispatch(Handler&& handler) {
        try {
            handler();
        } catch (const GameEnded&) {
            return;
        }
        schedule.Sync(engine.form, emscripten_get_now());
        settings_.Keep(engine.comfort.settings());
    }

    // The text the next pages will show (view/web/text_ahead.h).
    std::string TextAhead(std::size_t max_bytes) const {
        const Reader& reader = engine.reader;
        if (!reader.IsOpen()) return TextAheadOfNewGame(game_folder_, max_bytes);
        return tsukikage::web::TextAhead(reader.ScenarioBytes(), reader.position(), max_bytes);
    }

    void TickDue() {
        schedule.TickDue(engine.form, emscripten_get_now(),
                         [this](TimerId id) { engine.Tick(id); });
    }

  private:
    // A box must cover the screen as the game left it, not a frame from before the event.
    void BeforeBox() {
        schedule.Sync(engine.form, emscripten_get_now());
        PaintNow();
    }

    WebMessageBox message_box_;
    WebBeeper beeper_;
    WebBusyPointer busy_pointer_;
    WebProcessControl process_;
    WebPictureDecoder picture_decoder_;
    GameFolder game_folder_;  // its sounds, and its scenario before a game begins
    WebWaveVoice wave_voice_;
    WebMusicPlayer music_player_;
    SteadyMusicClock music_clock_;
    MusicCommandDevice music_device_;
    WebSoundLevels sound_levels_;
    WebSpeaker speaker_;
    Platform platform_;

  public:
    Engine engine;
    // A timer whose tick would change nothing sleeps, so a waiting page never wakes.
    TimerSchedule schedule{[this](TimerId id) { return engine.TimerIdle(id); },
                           [this](TimerId id) { return engine.TimerWaitMs(id); }};
    PictureTable pictures;
    // Kept until the page's next call for a text.
    std::string text;

  private:
    KeptSettings settings_;
};

// Kept until the page's next call for a text, with or without a game.
std::string reply;

std::unique_ptr<Player> player;

}  // namespace
}  // namespace tsukikage::web

using tsukikage::web::player;

extern "C" {

// Starts the game of a folder in emscripten's file system: the window loads.
EMSCRIPTEN_KEEPALIVE void tk_start(const char* game_folder) {
    player = std::make_unique<tsukikage::web::Player>(game_folder);
    player->Dispatch([] { player->engine.Form_Load(); });
}

// The files of the pictures the start-up shows first, as found in the game folder, one a
// line: the page begins decoding them while the engine starts.
EMSCRIPTEN_KEEPALIVE const char* tk_startup_pictures(const char* game_folder) {
    tsukikage::web::reply.clear();
    const tsukikage::GameFolder folder(game_folder);
    if (const auto path = folder.Find(tsukikage::kLetteringPicture)) {
        tsukikage::web::reply = path->string() + "\n";
    }
    return tsukikage::web::reply.c_str();
}

// Restores the bundled game's packed waves (view/web/packed_waves.h) before it first starts.
EMSCRIPTEN_KEEPALIVE int tk_unpack_waves(const char* list, const char* game_folder) {
    return tsukikage::web::UnpackListedWaves(list, game_folder);
}

// The name of the record of read pages of the folder's scenario, which tells games apart; ""
// when the folder holds no scenario.
EMSCRIPTEN_KEEPALIVE const char* tk_scenario_record(const char* game_folder) {
    tsukikage::web::reply = tsukikage::web::ScenarioRecordName(game_folder).value_or("");
    return tsukikage::web::reply.c_str();
}

// The name of the player's notes on the save slots of the folder's game (saves/slot_notes.h).
EMSCRIPTEN_KEEPALIVE const char* tk_slot_notes_record(const char* game_folder) {
    tsukikage::web::reply = tsukikage::SlotNotesFileName(game_folder);
    return tsukikage::web::reply.c_str();
}

// The kept record a file stands for by its name (saves/record_check.h), or "".
EMSCRIPTEN_KEEPALIVE const char* tk_kept_record_name(const char* file_name,
                                                     const char* read_pages_name) {
    tsukikage::web::reply =
        tsukikage::KeptRecordName(file_name, read_pages_name).value_or(std::string());
    return tsukikage::web::reply.c_str();
}

// What is wrong with the bytes of a file as a kept record, for the player; "" when they read
// whole.
EMSCRIPTEN_KEEPALIVE const char* tk_record_problem(const char* record, const char* file) {
    tsukikage::web::reply = tsukikage::web::KeptRecordProblem(record, file).value_or("");
    return tsukikage::web::reply.c_str();
}

// The left button and the pointer at client-area points.
EMSCRIPTEN_KEEPALIVE void tk_mouse_down(int x, int y, int double_click) {
    player->Dispatch([&] { player->engine.MouseDown(x, y, double_click != 0); });
}
EMSCRIPTEN_KEEPALIVE void tk_mouse_up(int x, int y) {
    player->Dispatch([&] { player->engine.MouseUp(x, y); });
}
EMSCRIPTEN_KEEPALIVE void tk_mouse_move(int x, int y) {
    player->Dispatch([&] { player->engine.MouseMoveAt(x, y); });
}

// A key by its KeyboardEvent.key, or "WheelDown" / "WheelUp"; 1 when the game takes it.
EMSCRIPTEN_KEEPALIVE int tk_key(const char* name) {
    const std::optional<tsukikage::Key> key = tsukikage::web::KeyFromBrowser(name);
    if (!key) return 0;
    player->Dispatch([&] { player->engine.KeyPress(*key); });
    return 1;
}

// Control held down or let go: skip.
EMSCRIPTEN_KEEPALIVE void tk_skip_held(int held) {
    player->Dispatch([&] { player->engine.SetSkipHeld(held != 0); });
}

// The right button; 1 when it closed the history.
EMSCRIPTEN_KEEPALIVE int tk_right_click() {
    bool closed = false;
    player->Dispatch([&] { closed = player->engine.RightClick(); });
    return closed ? 1 : 0;
}

// A menu item chosen, or a menu opened (its Click).
EMSCRIPTEN_KEEPALIVE void tk_menu(int item) {
    if (item < 0 || item >= tsukikage::kMenuCount) return;
    player->Dispatch([&] { player->engine.MenuCommand(static_cast<tsukikage::MenuId>(item)); });
}

// The conveniences' menu and the settings as the page shows them; full screen is the page's.
EMSCRIPTEN_KEEPALIVE const char* tk_conveniences(int full_screen) {
    const tsukikage::Engine& engine = player->engine;
    tsukikage::ConvenienceViewState view;
    view.full_screen = full_screen != 0;
    player->text =
        tsukikage::web::ConveniencesJson(engine.ConveniencesMenu(view), engine.comfort.settings());
    return player->text.c_str();
}
// An item of that menu chosen by its name, but the page's own (full screen, settings).
EMSCRIPTEN_KEEPALIVE void tk_convenience(const char* name) {
    const std::string chosen = name;
    player->Dispatch([&] { player->engine.ChooseConvenience(chosen); });
}
EMSCRIPTEN_KEEPALIVE void tk_open_history() {
    player->Dispatch([] { player->engine.OpenHistory(); });
}
EMSCRIPTEN_KEEPALIVE void tk_start_skip() {
    player->Dispatch([] { player->engine.StartSkip(); });
}
EMSCRIPTEN_KEEPALIVE void tk_toggle_auto() {
    player->Dispatch([] { player->engine.ToggleAuto(); });
}
// The settings dialog's controls, applied as they change; the dialog's Cancel applies the
// ones it opened with.
EMSCRIPTEN_KEEPALIVE void tk_apply_settings(int music_volume, int music_muted, int effects_volume,
                                            int effects_muted, int skip_unread, int auto_speed,
                                            int self_voicing) {
    const tsukikage::PlaySettings settings = tsukikage::web::SettingsFromPage(
        music_volume, music_muted != 0, effects_volume, effects_muted != 0, skip_unread != 0,
        auto_speed, self_voicing != 0);
    player->Dispatch([&] { player->engine.ApplySettings(settings); });
}

EMSCRIPTEN_KEEPALIVE void tk_about_ok() {
    player->Dispatch([] { player->engine.AboutOK(); });
}
EMSCRIPTEN_KEEPALIVE void tk_about_closed() {
    player->Dispatch([] { player->engine.AboutClosed(); });
}

// Ticks the timers that are due; the page calls it when tk_next_due said.
EMSCRIPTEN_KEEPALIVE void tk_tick_due() {
    player->Dispatch([] { player->TickDue(); });
}

// Milliseconds until the next timer is due; negative when none runs.
EMSCRIPTEN_KEEPALIVE double tk_next_due() {
    return player->schedule.NextDueIn(emscripten_get_now());
}

// The model's revision: the page paints again only when it changed.
EMSCRIPTEN_KEEPALIVE double tk_revision() {
    return static_cast<double>(player->engine.form.revision);
}

// The window to paint (view/web/frame.h); valid until the next text asked for.
EMSCRIPTEN_KEEPALIVE const char* tk_frame() {
    player->text =
        tsukikage::web::FrameJson(player->engine.form, player->engine.about_form, player->pictures);
    return player->text.c_str();
}

// The scenario's text the next pages will show (view/web/text_ahead.h).
EMSCRIPTEN_KEEPALIVE const char* tk_text_ahead(int max_bytes) {
    player->text = player->TextAhead(static_cast<std::size_t>(std::max(max_bytes, 0)));
    return player->text.c_str();
}

// The pointer over a client-area point.
EMSCRIPTEN_KEEPALIVE const char* tk_pointer(int x, int y) {
    player->text = tsukikage::web::PointerJson(player->engine.form, x, y, player->pictures);
    return player->text.c_str();
}

// A picture's pixels as RGBA bytes (its size is in the frame); null once it is gone.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* tk_picture_rgba(int id) {
    return player->pictures.Rgba(id);
}

// Brings `total_bytes` of the heap into the tab's memory, a piece a call, while the page is
// idle: a page the tab touches for the first time costs tens of microseconds, and the first
// pictures of play would pay for a few hundred of them in a click. 1 while pieces are left;
// the last call gives them all back to the heap, whose later blocks then lie in touched memory.
EMSCRIPTEN_KEEPALIVE int tk_warm_heap(int total_bytes) {
    constexpr std::size_t kPieceBytes = 2 << 20;
    static std::array<void*, 64> pieces{};
    static std::size_t count = 0;
    const std::size_t wanted =
        std::min(pieces.size(), static_cast<std::size_t>(std::max(total_bytes, 0)) / kPieceBytes);
    if (count < wanted) {
        void* piece = std::malloc(kPieceBytes);
        if (piece) {
            volatile unsigned char* touch = static_cast<volatile unsigned char*>(piece);
            for (std::size_t at = 0; at < kPieceBytes; at += 4096) touch[at] = 0;
            pieces[count++] = piece;
            if (count < wanted) return 1;
        }
    }
    for (std::size_t i = 0; i < count; ++i) std::free(pieces[i]);
    count = 0;
    return 0;
}

}  // extern "C"
