// A player built or run without sound still plays the whole game.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "fakes/game_fixture.h"
#include "platform/silent_sound.h"

namespace tsukikage {
namespace {

TEST(SilentSoundTest, LoopingMusicNeitherEndsTheGameNorKeepsRestarting) {
    fakes::RecordingPlatform fakes;
    SilentMusicDevice silent;
    Platform platform{
        fakes.message_box, fakes.beeper, fakes.busy_pointer, fakes.process, fakes.picture_decoder,
        fakes.wave_voice,  silent};
    test_support::TempFolder folder;
    fakes::WriteBytes(folder.path() / "datafile",
                      fakes::Scenario({".y bgm\\theme.mid", "続き", "."}));
    Engine engine(platform, folder.path());
    engine.Form_Load();
    for (int tick = 0; tick < 3; ++tick) engine.Tick(TimerId::Timer2);
    engine.Click(ControlId::NewGameImage);
    for (int i = 0; i < 3; ++i) engine.sound.BgmLoopWatch();
    engine.Click(ControlId::imgAhead);
    EXPECT_TRUE(fakes.message_box.shown.empty());
    EXPECT_EQ(engine.form[ControlId::Label1].caption, "続き\r\n");
}

}  // namespace
}  // namespace tsukikage
