#include "view/web/conveniences.h"

namespace tsukikage::web {
namespace {

// The speed slider's value for a wait, and back: the shortest wait at the right end.
int Mirrored(int value) {
    return kMinAutoMsPerCharacter + kMaxAutoMsPerCharacter - value;
}

std::string Bool(bool value) {
    return value ? "true" : "false";
}

}  // namespace

std::string ConveniencesJson(bool game_screen, std::size_t history_entries, bool auto_on,
                             bool full_screen, const PlaySettings& shown) {
    const PlaySettings settings = Clamped(shown);
    // The items stand in the desktop menu's order.
    std::string out = "{\"items\":[";
    out += "{\"name\":\"history\",\"caption\":\"履歴\",\"enabled\":" +
           Bool(game_screen && history_entries > 0) + "},";
    out += "{\"name\":\"skip\",\"caption\":\"スキップ\",\"enabled\":" + Bool(game_screen) + "},";
    out +=
        "{\"name\":\"auto\",\"caption\":\"オート\",\"enabled\":true,\"checked\":" + Bool(auto_on) +
        "},";
    out += "{\"name\":\"fullscreen\",\"caption\":\"全画面表示\",\"enabled\":true,\"checked\":" +
           Bool(full_screen) + "},";
    out += "{\"name\":\"-\"},";
    out += "{\"name\":\"settings\",\"caption\":\"設定...\",\"enabled\":true}";
    out += "],\"settings\":{\"musicVolume\":" + std::to_string(settings.music_volume) +
           ",\"musicMuted\":" + Bool(settings.music_muted) +
           ",\"effectsVolume\":" + std::to_string(settings.effects_volume) +
           ",\"effectsMuted\":" + Bool(settings.effects_muted) +
           ",\"skipUnread\":" + Bool(settings.skip_unread) +
           ",\"autoSpeed\":" + std::to_string(Mirrored(settings.auto_ms_per_character)) +
           ",\"autoSpeedRange\":[" + std::to_string(kMinAutoMsPerCharacter) + "," +
           std::to_string(kMaxAutoMsPerCharacter) +
           "],\"maxVolume\":" + std::to_string(kMaxVolume) + "}}";
    return out;
}

PlaySettings SettingsFromPage(int music_volume, bool music_muted, int effects_volume,
                              bool effects_muted, bool skip_unread, int auto_speed) {
    PlaySettings settings;
    settings.music_volume = music_volume;
    settings.music_muted = music_muted;
    settings.effects_volume = effects_volume;
    settings.effects_muted = effects_muted;
    settings.skip_unread = skip_unread;
    // Clamped first, so a speed far out of range cannot wrap into the other end.
    settings.auto_ms_per_character =
        Mirrored(std::clamp(auto_speed, kMinAutoMsPerCharacter, kMaxAutoMsPerCharacter));
    return Clamped(settings);
}

}  // namespace tsukikage::web
