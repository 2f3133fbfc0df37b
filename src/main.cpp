#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <filesystem>
#include <iostream>
#include <system_error>

#include "engine/engine.h"
#include "platform/silent_sound.h"
#include "view/qt/game_window.h"
#include "view/qt/qt_platform.h"
#ifdef TSUKIKAGE_HAVE_SDL
#include "audio/sdl/sdl_audio.h"
#include "audio/sdl/sdl_music_player.h"
#include "audio/sdl/sdl_wave_voice.h"
#include "base/game_folder.h"
#include "sound/music_command.h"
#endif

namespace {

// The game lives beside the program, as the original did.
std::filesystem::path ProgramFolder(const char* argv0) {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) program = std::filesystem::absolute(argv0, error);
    return program.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);  // takes Qt's own options out of argv

    std::filesystem::path game_folder;
    if (argc > 2) {
        std::cerr << "usage: " << argv[0] << " [game folder]\n";
        return 2;
    }
    if (argc == 2) {
        game_folder = argv[1];
        std::error_code error;
        if (!std::filesystem::is_directory(game_folder, error)) {
            std::cerr << argv[0] << ": " << argv[1] << ": not a folder\n";
            return 2;
        }
    } else {
        game_folder = ProgramFolder(argv[0]);
    }

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
    tsukikage::SdlMusicPlayer music_player(audio);
    tsukikage::SteadyMusicClock music_clock;
    tsukikage::MusicCommandDevice music_device(music_player, music_clock,
                                               tsukikage::GameMusicResolver(game_folder));
#else
    tsukikage::SilentWaveVoice wave_voice;
    tsukikage::SilentMusicDevice music_device;
#endif
    tsukikage::Platform platform{message_box,     beeper,     busy_pointer, process,
                                 picture_decoder, wave_voice, music_device};

    tsukikage::Engine engine(platform, game_folder);
    tsukikage::GameWindow window(engine);
    message_box.SetOwner(&window, [&window] { window.RepaintNow(); });
    window.FormLoad();
    window.show();
    return QApplication::exec();
}
