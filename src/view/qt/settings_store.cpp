#include "view/qt/settings_store.h"

#include <QSettings>

#include <algorithm>

namespace tsukikage {
namespace {

constexpr auto kName = "tsukikage";

// The keys of the file, one group for the sound and one for the player's conveniences.
constexpr auto kMusicVolume = "sound/music_volume";
constexpr auto kMusicMuted = "sound/music_muted";
constexpr auto kEffectsVolume = "sound/effects_volume";
constexpr auto kEffectsMuted = "sound/effects_muted";
constexpr auto kSkipUnread = "play/skip_unread";
constexpr auto kAutoMsPerCharacter = "play/auto_ms_per_character";
constexpr auto kFitScreen = "view/fit_screen";
constexpr auto kSelfVoicing = "speech/self_voicing";

QSettings UserFile() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kName),
                     QString::fromLatin1(kName));
}

// A whole number, kept within what an int holds (the range itself is Clamped's business).
int ReadNumber(const QSettings& file, const char* key, int fallback) {
    bool ok = false;
    const long long value =
        file.value(QString::fromLatin1(key)).toString().trimmed().toLongLong(&ok);
    if (!ok) return fallback;
    return static_cast<int>(std::clamp<long long>(value, -1'000'000, 1'000'000));
}

bool ReadTruth(const QSettings& file, const char* key, bool fallback) {
    const QString text = file.value(QString::fromLatin1(key)).toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1")) return true;
    if (text == QLatin1String("false") || text == QLatin1String("0")) return false;
    return fallback;
}

}  // namespace

PlaySettings LoadPlaySettings() {
    const QSettings file = UserFile();
    const PlaySettings defaults;
    PlaySettings settings;
    settings.music_volume = ReadNumber(file, kMusicVolume, defaults.music_volume);
    settings.music_muted = ReadTruth(file, kMusicMuted, defaults.music_muted);
    settings.effects_volume = ReadNumber(file, kEffectsVolume, defaults.effects_volume);
    settings.effects_muted = ReadTruth(file, kEffectsMuted, defaults.effects_muted);
    settings.skip_unread = ReadTruth(file, kSkipUnread, defaults.skip_unread);
    settings.auto_ms_per_character =
        ReadNumber(file, kAutoMsPerCharacter, defaults.auto_ms_per_character);
    settings.fit_screen = ReadTruth(file, kFitScreen, defaults.fit_screen);
    settings.self_voicing = ReadTruth(file, kSelfVoicing, defaults.self_voicing);
    return Clamped(settings);
}

bool SavePlaySettings(const PlaySettings& settings) {
    QSettings file = UserFile();
    file.setValue(QString::fromLatin1(kMusicVolume), settings.music_volume);
    file.setValue(QString::fromLatin1(kMusicMuted), settings.music_muted);
    file.setValue(QString::fromLatin1(kEffectsVolume), settings.effects_volume);
    file.setValue(QString::fromLatin1(kEffectsMuted), settings.effects_muted);
    file.setValue(QString::fromLatin1(kSkipUnread), settings.skip_unread);
    file.setValue(QString::fromLatin1(kAutoMsPerCharacter), settings.auto_ms_per_character);
    file.setValue(QString::fromLatin1(kFitScreen), settings.fit_screen);
    file.setValue(QString::fromLatin1(kSelfVoicing), settings.self_voicing);
    file.sync();
    // A format error is the old file's (it is written over all the same); only a file that
    // could not be written loses the settings.
    return file.status() != QSettings::AccessError;
}

QString PlaySettingsFile() {
    return UserFile().fileName();
}

}  // namespace tsukikage
