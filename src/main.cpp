#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/messages.h"
#include "base/record_folder.h"
#include "cli/command_line.h"
#include "cli/default_game.h"
#include "engine/engine.h"
#include "platform/silent_sound.h"
#include "view/qt/game_window.h"
#include "view/qt/qt_platform.h"
#include "view/qt/settings_store.h"
#ifdef TSUKIKAGE_HAVE_SDL
#include "audio/sdl/music_by_kind.h"
#include "audio/sdl/sdl_audio.h"
#include "audio/sdl/sdl_music_player.h"
#include "audio/sdl/sdl_sound_levels.h"
#include "audio/sdl/sdl_wave_voice.h"
#ifdef TSUKIKAGE_HAVE_FLUIDSYNTH
#include "audio/sdl/fluid_music_player.h"
#endif
#include "base/game_folder.h"
#include "sound/music_command.h"
#include "view/pad/sdl_pad.h"
#endif
#ifdef TSUKIKAGE_HAVE_SPEECHD
#include "speech/speechd_speaker.h"
#endif

namespace {

// The game lives beside the program, as the original did.
std::filesystem::path ProgramFolder(const char* argv0) {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) program = std::filesystem::absolute(argv0, error);
    return program.parent_path();
}

// The player's data folder: XDG_DATA_HOME, or ~/.local/share; none without a home.
std::filesystem::path DataHome() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') return xdg;
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        return std::filesystem::path(home) / ".local" / "share";
    }
    return {};
}

// The player's own folder for this game's records, used when the game folder cannot be
// written.
std::filesystem::path UserRecords(const std::filesystem::path& game_folder) {
    const std::filesystem::path data_home = DataHome();
    return data_home.empty() ? data_home : tsukikage::UserRecordFolder(data_home, game_folder);
}

// Where the records of the pages the player has read live, one file per scenario.
std::filesystem::path ReadPagesFolder() {
    const std::filesystem::path data_home = DataHome();
    return data_home.empty() ? data_home : data_home / "tsukikage" / "read-pages";
}

}  // namespace

int main(int argc, char** argv) {
    // Help, version, the scenario check and a wrong command line need no window (nor a
    // display): they are answered before Qt starts.
    // What the terminal is told follows the locale, chosen once.
    const tsukikage::Language language = tsukikage::LanguageFromEnvironment();
    std::filesystem::path game_folder;
    tsukikage::WindowOptions window_options;
    {
        const std::vector<std::string_view> arguments(argv + 1, argv + argc);
        std::string out;
        std::string err;
        const std::string program = std::filesystem::path(argv[0]).filename().string();
        const std::optional<int> status = tsukikage::RunWithoutWindow(
            arguments, program, tsukikage::DefaultGameFolder(ProgramFolder(argv[0])), out, err,
            game_folder, window_options, language);
        std::cout << out;
        std::cerr << err;
        if (status) return *status;
    }

    QApplication app(argc, argv);

    tsukikage::InstallFontSubstitutions();
    // Standard dialog buttons in Japanese, like the rest of the game.
    QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&translator);
    }

    tsukikage::QtMessageBox message_box;
    tsukikage::QtBeeper beeper;
    tsukikage::QtBusyPointer busy_pointer;
    tsukikage::QtProcessControl process;
    tsukikage::QtPictureDecoder picture_decoder;
#ifdef TSUKIKAGE_HAVE_SDL
    // Audio opens on the first sound, so the window is not kept waiting.
    tsukikage::SdlAudio audio;
    tsukikage::GameFolder sound_folder(game_folder);
    tsukikage::SdlWaveVoice wave_voice(
        audio, [&sound_folder](std::string_view name) { return sound_folder.FindSound(name); });
#ifdef TSUKIKAGE_HAVE_FLUIDSYNTH
    // The soundfont loads on a thread of its own from here on; MIDI plays on FluidSynth and
    // every other kind of music through the mixer.
    tsukikage::FluidMusicPlayer midi_player(audio, tsukikage::ChosenSoundFont(), language);
    tsukikage::SdlMusicPlayer mixer_player(audio);
    tsukikage::MusicByKind music_player(midi_player, mixer_player);
#else
    tsukikage::SdlMusicPlayer music_player(audio);
#endif
    tsukikage::SdlSoundLevels sound_levels(audio, music_player);
    tsukikage::SteadyMusicClock music_clock;
    tsukikage::MusicCommandDevice music_device(music_player, music_clock,
                                               tsukikage::GameMusicResolver(game_folder));
#else
    tsukikage::SilentWaveVoice wave_voice;
    tsukikage::SilentMusicDevice music_device;
    tsukikage::SoundLevels& sound_levels = tsukikage::FixedSoundLevels();
#endif
#ifdef TSUKIKAGE_HAVE_SPEECHD
    tsukikage::SpeechdSpeaker speaker(
        language, [](std::string_view line) { std::cerr << "tsukikage: " << line << '\n'; });
#else
    tsukikage::Speaker& speaker = tsukikage::NoSpeech();
#endif
    tsukikage::Platform platform{message_box, beeper,       busy_pointer, process, picture_decoder,
                                 wave_voice,  music_device, sound_levels, speaker};

    tsukikage::Engine engine(platform, game_folder, UserRecords(game_folder), ReadPagesFolder());
    if (tsukikage::IsInstalledDemo(ProgramFolder(argv[0]), game_folder)) {
        engine.records.SetWritableTest([](const std::filesystem::path&) { return false; });
    }
    engine.ApplySettings(tsukikage::LoadPlaySettings());
    tsukikage::GameWindow window(engine);
    message_box.SetOwner(&window, [&window] { window.RepaintNow(); });
    window.FormLoad();
    if (window_options.scale > 0) {
        const int used = window.SetFactor(window_options.scale);
        if (used != window_options.scale) {
            std::cerr << "tsukikage: "
                      << tsukikage::Text(
                             language, tsukikage::Message::ScaleTooLarge,
                             {std::to_string(window_options.scale), std::to_string(used)})
                      << '\n';
        }
    }
    window.SetFullscreen(window_options.fullscreen);
    window.show();
#ifdef TSUKIKAGE_HAVE_SDL
    // Game controllers are looked for once the window is up: their start takes a few
    // milliseconds the first paint does not wait for.
    constexpr int kPadStartMs = 500;
    std::optional<tsukikage::SdlPad> pad;
    QTimer::singleShot(kPadStartMs, &window, [&pad, &window] {
        pad.emplace([&window](tsukikage::PadButton button, bool pressed) {
            if (pressed) {
                window.PadPressed(button);
            } else {
                window.PadReleased(button);
            }
        });
    });
#endif
    return QApplication::exec();
}
