#include "view/web/conveniences.h"

#include "view/web/frame.h"

namespace tsukikage::web {
namespace {

// The speed slider's value for a wait, and back: the shortest wait at the right end.
int Mirrored(int value) {
    return kMinAutoMsPerCharacter + kMaxAutoMsPerCharacter - value;
}

std::string Bool(bool value) {
    return value ? "true" : "false";
}

void AppendItems(std::string& out, const std::vector<ConvenienceItem>& items) {
    out += '[';
    for (const ConvenienceItem& item : items) {
        if (out.back() != '[') out += ',';
        if (item.separator) {
            out += "{\"name\":\"-\"}";
            continue;
        }
        out += "{\"name\":";
        AppendJsonString(out, item.name);
        out += ",\"caption\":";
        AppendJsonString(out, item.text);
        out += ",\"enabled\":" + Bool(item.enabled);
        if (item.checked) out += ",\"checked\":" + Bool(*item.checked);
        if (!item.items.empty()) {
            out += ",\"items\":";
            AppendItems(out, item.items);
        }
        out += '}';
    }
    out += ']';
}

}  // namespace

std::string ConveniencesJson(const std::vector<ConvenienceItem>& items, const PlaySettings& shown) {
    const PlaySettings settings = Clamped(shown);
    std::string out = "{\"items\":";
    AppendItems(out, items);
    out += ",\"settings\":{\"musicVolume\":" + std::to_string(settings.music_volume) +
           ",\"musicMuted\":" + Bool(settings.music_muted) +
           ",\"effectsVolume\":" + std::to_string(settings.effects_volume) +
           ",\"effectsMuted\":" + Bool(settings.effects_muted) +
           ",\"skipUnread\":" + Bool(settings.skip_unread) +
           ",\"selfVoicing\":" + Bool(settings.self_voicing) +
           ",\"autoSpeed\":" + std::to_string(Mirrored(settings.auto_ms_per_character)) +
           ",\"autoSpeedRange\":[" + std::to_string(kMinAutoMsPerCharacter) + "," +
           std::to_string(kMaxAutoMsPerCharacter) +
           "],\"maxVolume\":" + std::to_string(kMaxVolume) + "}}";
    return out;
}

PlaySettings SettingsFromPage(int music_volume, bool music_muted, int effects_volume,
                              bool effects_muted, bool skip_unread, int auto_speed,
                              bool self_voicing) {
    PlaySettings settings;
    settings.music_volume = music_volume;
    settings.music_muted = music_muted;
    settings.effects_volume = effects_volume;
    settings.effects_muted = effects_muted;
    settings.skip_unread = skip_unread;
    settings.self_voicing = self_voicing;
    // Clamped first, so a speed far out of range cannot wrap into the other end.
    settings.auto_ms_per_character =
        Mirrored(std::clamp(auto_speed, kMinAutoMsPerCharacter, kMaxAutoMsPerCharacter));
    return Clamped(settings);
}

}  // namespace tsukikage::web
