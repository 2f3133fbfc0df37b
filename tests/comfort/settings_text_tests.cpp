// The player's settings as text: what the desktop's settings file holds, read back the same.
#include <gtest/gtest.h>

#include "comfort/settings_text.h"

namespace tsukikage {
namespace {

TEST(SettingsText, ReadsBackWhatItWrites) {
    PlaySettings changed;
    changed.music_volume = 0;
    changed.music_muted = true;
    changed.effects_volume = 100;
    changed.effects_muted = true;
    changed.skip_unread = true;
    changed.auto_ms_per_character = kMaxAutoMsPerCharacter;
    changed.fit_screen = true;
    changed.self_voicing = true;
    EXPECT_EQ(ParsePlaySettings(PlaySettingsText(changed)), changed);
    EXPECT_EQ(ParsePlaySettings(PlaySettingsText(PlaySettings{})), PlaySettings{});
}

TEST(SettingsText, ReadsTheDesktopFileAndKeepsDefaultsForWhatDoesNotRead) {
    // As the desktop's settings file writes it, with CR LF ends and blanks around the values.
    const std::string desktop =
        "[play]\r\nauto_ms_per_character = 5\r\nskip_unread=TRUE\r\n\r\n"
        "[sound]\r\neffects_muted=1\r\nmusic_volume=250\r\neffects_volume=abc\r\n"
        "music_muted=maybe\r\n[view]\r\nfit_screen=true\r\n[speech]\r\nself_voicing=yes\r\n";
    PlaySettings expected;
    expected.fit_screen = true;
    expected.auto_ms_per_character = kMinAutoMsPerCharacter;  // brought into its range
    expected.skip_unread = true;
    expected.effects_muted = true;
    expected.music_volume = kMaxVolume;
    EXPECT_EQ(ParsePlaySettings(desktop), expected);

    // A key under another group is another key.
    EXPECT_EQ(ParsePlaySettings("[play]\nmusic_volume=10\nmusic_muted=true\nfit_screen=1\n"),
              PlaySettings{});
    EXPECT_EQ(ParsePlaySettings("music_volume=10\n[sound"), PlaySettings{});
    EXPECT_EQ(ParsePlaySettings("[play]\nself_voicing=true\n"), PlaySettings{});
    EXPECT_EQ(ParsePlaySettings("[sound]\nmusic_volume=99999999999999999999\n"), PlaySettings{});
}

}  // namespace
}  // namespace tsukikage
