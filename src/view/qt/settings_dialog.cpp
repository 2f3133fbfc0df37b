#include "view/qt/settings_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace tsukikage {
namespace {

constexpr int kSliderWidth = 220;

QSlider* MakeSlider(QWidget* parent, const char* name, int minimum, int maximum, int value) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(minimum, maximum);
    slider->setPageStep(10);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(10);
    slider->setMinimumWidth(kSliderWidth);
    slider->setValue(value);
    return slider;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& text, bool checked) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

// The slider's value for a wait of so many milliseconds for each character, and back: the
// shortest wait stands at the right end.
int SpeedForWait(int ms_per_character) {
    return kMinAutoMsPerCharacter + kMaxAutoMsPerCharacter - ms_per_character;
}
int WaitForSpeed(int speed) {
    return kMinAutoMsPerCharacter + kMaxAutoMsPerCharacter - speed;
}

// A level's row: its name, the slider, the number it stands at and the mute box.
void AddLevelRow(QGridLayout* grid, int row, const QString& name, QSlider* slider,
                 QCheckBox* muted) {
    auto* parent = grid->parentWidget();
    auto* label = new QLabel(name, parent);
    label->setBuddy(slider);
    auto* number = new QLabel(parent);
    number->setObjectName(slider->objectName() + QStringLiteral("Number"));
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    number->setMinimumWidth(number->fontMetrics().horizontalAdvance(QStringLiteral("100")) + 4);
    number->setNum(slider->value());
    QObject::connect(slider, &QSlider::valueChanged, number, qOverload<int>(&QLabel::setNum));
    grid->addWidget(label, row, 0);
    grid->addWidget(slider, row, 1);
    grid->addWidget(number, row, 2);
    grid->addWidget(muted, row, 3);
}

}  // namespace

SettingsDialog::SettingsDialog(const PlaySettings& shown, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    const PlaySettings settings = Clamped(shown);
    setWindowTitle(QStringLiteral("設定"));
    setModal(true);

    auto* sound = new QGroupBox(QStringLiteral("音量"), this);
    auto* levels = new QGridLayout(sound);
    levels->setColumnStretch(1, 1);
    music_volume_ = MakeSlider(sound, "musicVolume", 0, kMaxVolume, settings.music_volume);
    music_muted_ =
        MakeCheckBox(sound, "musicMuted", QStringLiteral("ミュート"), settings.music_muted);
    effects_volume_ = MakeSlider(sound, "effectsVolume", 0, kMaxVolume, settings.effects_volume);
    effects_muted_ =
        MakeCheckBox(sound, "effectsMuted", QStringLiteral("ミュート"), settings.effects_muted);
    AddLevelRow(levels, 0, QStringLiteral("音楽"), music_volume_, music_muted_);
    AddLevelRow(levels, 1, QStringLiteral("効果音"), effects_volume_, effects_muted_);

    auto* reading = new QGroupBox(QStringLiteral("スキップとオート"), this);
    auto* conveniences = new QGridLayout(reading);
    conveniences->setColumnStretch(2, 1);
    skip_unread_ = MakeCheckBox(reading, "skipUnread", QStringLiteral("未読の文章もスキップする"),
                                settings.skip_unread);
    auto_speed_ = MakeSlider(reading, "autoSpeed", kMinAutoMsPerCharacter, kMaxAutoMsPerCharacter,
                             SpeedForWait(settings.auto_ms_per_character));
    auto* speed_label = new QLabel(QStringLiteral("オートの速さ"), reading);
    speed_label->setBuddy(auto_speed_);
    // The names in one column across both groups.
    const int names = std::max({levels->itemAtPosition(0, 0)->sizeHint().width(),
                                levels->itemAtPosition(1, 0)->sizeHint().width(),
                                speed_label->sizeHint().width()});
    levels->setColumnMinimumWidth(0, names);
    conveniences->setColumnMinimumWidth(0, names);
    conveniences->addWidget(skip_unread_, 0, 0, 1, 4);
    conveniences->addWidget(speed_label, 1, 0);
    conveniences->addWidget(new QLabel(QStringLiteral("遅い"), reading), 1, 1);
    conveniences->addWidget(auto_speed_, 1, 2);
    conveniences->addWidget(new QLabel(QStringLiteral("速い"), reading), 1, 3);

    auto* screen = new QGroupBox(QStringLiteral("全画面表示"), this);
    auto* screen_layout = new QVBoxLayout(screen);
    fit_screen_ =
        MakeCheckBox(screen, "fitScreen", QStringLiteral("画面に合わせる（なめらかに拡大する）"),
                     settings.fit_screen);
    screen_layout->addWidget(fit_screen_);

    auto* speech = new QGroupBox(QStringLiteral("読み上げ"), this);
    auto* speech_layout = new QVBoxLayout(speech);
    self_voicing_ =
        MakeCheckBox(speech, "selfVoicing", QStringLiteral("文章と選択肢を読み上げる（V キー）"),
                     settings.self_voicing);
    speech_layout->addWidget(self_voicing_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(sound);
    layout->addWidget(reading);
    layout->addWidget(screen);
    layout->addWidget(speech);
    layout->addWidget(buttons_);

    for (QSlider* slider : {music_volume_, effects_volume_, auto_speed_}) {
        connect(slider, &QSlider::valueChanged, this, &SettingsDialog::Changed);
    }
    for (QCheckBox* box :
         {music_muted_, effects_muted_, skip_unread_, fit_screen_, self_voicing_}) {
        connect(box, &QCheckBox::toggled, this, &SettingsDialog::Changed);
    }
}

PlaySettings SettingsDialog::settings() const {
    PlaySettings settings;
    settings.music_volume = music_volume_->value();
    settings.music_muted = music_muted_->isChecked();
    settings.effects_volume = effects_volume_->value();
    settings.effects_muted = effects_muted_->isChecked();
    settings.skip_unread = skip_unread_->isChecked();
    settings.auto_ms_per_character = WaitForSpeed(auto_speed_->value());
    settings.fit_screen = fit_screen_->isChecked();
    settings.self_voicing = self_voicing_->isChecked();
    return settings;
}

void SettingsDialog::Changed() {
    if (on_change) on_change(settings());
}

}  // namespace tsukikage
