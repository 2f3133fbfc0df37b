#include "comfort/settings_text.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "base/ascii.h"

namespace tsukikage {
namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<int> Number(std::string_view text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return static_cast<int>(std::clamp<long long>(value, -1'000'000, 1'000'000));
}

std::optional<bool> Truth(std::string_view text) {
    const std::string lower = ascii::Lower(text);
    if (lower == "true" || lower == "1") return true;
    if (lower == "false" || lower == "0") return false;
    return std::nullopt;
}

}  // namespace

std::string PlaySettingsText(const PlaySettings& settings) {
    const auto truth = [](bool value) { return value ? "true" : "false"; };
    std::string text = "[sound]\n";
    text += "music_volume=" + std::to_string(settings.music_volume) + "\n";
    text += std::string("music_muted=") + truth(settings.music_muted) + "\n";
    text += "effects_volume=" + std::to_string(settings.effects_volume) + "\n";
    text += std::string("effects_muted=") + truth(settings.effects_muted) + "\n";
    text += "\n[play]\n";
    text += std::string("skip_unread=") + truth(settings.skip_unread) + "\n";
    text += "auto_ms_per_character=" + std::to_string(settings.auto_ms_per_character) + "\n";
    text += "\n[view]\n";
    text += std::string("fit_screen=") + truth(settings.fit_screen) + "\n";
    text += "\n[speech]\n";
    text += std::string("self_voicing=") + truth(settings.self_voicing) + "\n";
    return text;
}

PlaySettings ParsePlaySettings(std::string_view text) {
    PlaySettings settings;
    std::string group;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            group = std::string(line.substr(1, line.size() - 2));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string key = group + "/" + std::string(Trimmed(line.substr(0, equals)));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        const auto number = [&](int& field) {
            if (const std::optional<int> read = Number(value)) field = *read;
        };
        const auto truth = [&](bool& field) {
            if (const std::optional<bool> read = Truth(value)) field = *read;
        };
        if (key == "sound/music_volume") number(settings.music_volume);
        if (key == "sound/music_muted") truth(settings.music_muted);
        if (key == "sound/effects_volume") number(settings.effects_volume);
        if (key == "sound/effects_muted") truth(settings.effects_muted);
        if (key == "play/skip_unread") truth(settings.skip_unread);
        if (key == "play/auto_ms_per_character") number(settings.auto_ms_per_character);
        if (key == "view/fit_screen") truth(settings.fit_screen);
        if (key == "speech/self_voicing") truth(settings.self_voicing);
    }
    return Clamped(settings);
}

}  // namespace tsukikage
