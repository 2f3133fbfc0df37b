#pragma once

#include <QDialog>

#include <functional>

#include "comfort/play_settings.h"

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QSlider;

namespace tsukikage {

// The player's settings on screen: music and sound effects each with a level from 0 to 100
// and a mute box, skip through unread pages, how fast auto mode reads on, and how the full
// screen is filled. Every change
// goes out through `on_change` at once, so a level is heard while its slider moves; keeping
// the settings (OK) or going back to the earlier ones (Cancel) is the caller's business.
class SettingsDialog : public QDialog {
    Q_OBJECT

  public:
    SettingsDialog(const PlaySettings& settings, QWidget* parent);

    std::function<void(const PlaySettings&)> on_change;

    // The settings as the widgets show them.
    PlaySettings settings() const;

    QSlider* music_volume() const { return music_volume_; }
    QCheckBox* music_muted() const { return music_muted_; }
    QSlider* effects_volume() const { return effects_volume_; }
    QCheckBox* effects_muted() const { return effects_muted_; }
    QCheckBox* skip_unread() const { return skip_unread_; }
    // Right is faster: the slider's value runs against the wait for each character.
    QSlider* auto_speed() const { return auto_speed_; }
    QCheckBox* fit_screen() const { return fit_screen_; }
    QCheckBox* self_voicing() const { return self_voicing_; }
    QDialogButtonBox* buttons() const { return buttons_; }

  private:
    void Changed();

    QSlider* music_volume_ = nullptr;
    QCheckBox* music_muted_ = nullptr;
    QSlider* effects_volume_ = nullptr;
    QCheckBox* effects_muted_ = nullptr;
    QCheckBox* skip_unread_ = nullptr;
    QSlider* auto_speed_ = nullptr;
    QCheckBox* fit_screen_ = nullptr;
    QCheckBox* self_voicing_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace tsukikage
