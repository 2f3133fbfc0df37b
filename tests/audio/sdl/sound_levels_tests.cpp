// The player's sound levels on the real mixer, recorded through SDL's disk audio driver.
#ifdef TSUKIKAGE_HAVE_FLUIDSYNTH
#include <optional>

#include "audio/sdl/fluid_music_player.h"
#include "audio/sdl/music_by_kind.h"
#include "audio/sdl/recorded_audio.h"
#include "audio/sdl/sdl_sound_levels.h"

namespace tsukikage {
namespace {

using namespace testing_audio;

// The sound outputs as the program builds them, the output not yet open.
struct Outputs {
    Outputs(const GameFolder& game, const fs::path& folder)
        : voice(audio, [&game](std::string_view name) { return game.FindSound(name); }),
          midi(audio, ChosenSoundFont()),
          mixer(audio),
          music(midi, mixer),
          levels(audio, music),
          device(music, clock, GameMusicResolver(folder)) {}

    std::uint32_t Send(std::string_view command) {
        std::string reply;
        return device.SendString(command, reply);
    }

    SdlAudio audio;
    SdlWaveVoice voice;
    FluidMusicPlayer midi;
    SdlMusicPlayer mixer;
    MusicByKind music;
    SdlSoundLevels levels;
    SteadyMusicClock clock;
    MusicCommandDevice device;
};

TEST_F(RecordedAudioTest, LevelsTurnTheVoiceAndBothKindsOfMusicDownBeforeAndAfterTheOutputOpens) {
    constexpr double kSilent = 1000;
    const struct {
        std::optional<int> level;  // none: never set, as the program played before levels
        bool before_open;          // set before the output opens; else once it is open,
                                   // the music's while the piece plays
        double below_db;           // how much quieter than never set; kSilent: nothing heard
    } kRows[] = {
        {std::nullopt, false, 0}, {100, false, 0},
        {150, true, 0},           {50, true, 12.04},  // a quarter of the amplitude
        {0, false, kSilent},      {-5, true, kSilent},
    };
    fakes::WriteBytes(folder.path() / "midi" / "chime.wav", demo::ChimeWave());
    const char* const kOutputs[] = {"wave voice", "MIDI music", "wave music"};
    Level never_set[3];
    for (const auto& row : kRows) {
        Outputs out(game, folder.path());
        const auto set_voice = [&] {
            if (row.level) out.levels.SetVoiceLevel(*row.level);
        };
        const auto set_music = [&] {
            if (row.level) out.levels.SetMusicLevel(*row.level);
        };
        if (row.before_open) {
            set_voice();
            set_music();
        } else {
            ASSERT_TRUE(out.audio.Ready());
            set_voice();
        }
        Level heard[3];
        ASSERT_EQ(out.voice.PlaySound("\\se\\chime", snd::kAsync), 1);
        heard[0] = Listen(0.15);
        out.voice.PlaySound("", snd::kAsync);

        ASSERT_EQ(out.Send(OpenCommand("theme.mid")), 0u);
        ASSERT_EQ(out.Send("Play MIDI1 from 2000"), 0u);
        if (!row.before_open) set_music();
        Listen(0.1);  // what was mixed before
        heard[1] = Listen(0.3);
        out.Send("Close MIDI1");
        Listen(0.05);
        ASSERT_EQ(out.Send(OpenCommand("chime.wav")), 0u);
        ASSERT_EQ(out.Send("Play MIDI1"), 0u);
        heard[2] = Listen(0.15);

        for (int i = 0; i < 3; ++i) {
            const std::string where = std::string(kOutputs[i]) + " at level " +
                                      (row.level ? std::to_string(*row.level) : "never set");
            if (!row.level) {
                never_set[i] = heard[i];
                EXPECT_GT(heard[i].rms_db, -45) << where;
            } else if (row.below_db == kSilent) {
                EXPECT_EQ(heard[i].peak, 0) << where;
            } else {
                EXPECT_NEAR(heard[i].rms_db, never_set[i].rms_db - row.below_db, 1.5) << where;
            }
        }
    }
}

}  // namespace
}  // namespace tsukikage
#endif
