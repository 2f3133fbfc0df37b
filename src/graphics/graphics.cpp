#include "graphics/graphics.h"

#include "base/numeric.h"
#include "base/runtime_error.h"
#include "base/surface_ops.h"
#include "base/text_file.h"
#include "graphics/design_picture.h"
#include "graphics/effect_frames.h"
#include "graphics/picture_box.h"
#include "graphics/picture_names.h"
#include "graphics/seen_record.h"

namespace tsukikage {
namespace {

constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

ControlId Buffer(int index) {
    return index == 0 ? ControlId::Master0 : ControlId::Master1;
}

}  // namespace

Graphics::Graphics(MainWindow& window) : w_(window) {
    const std::shared_ptr<const Surface> design = BufferDesignPicture();
    w_.form[ControlId::Master0].AssignPicture(design);
    w_.form[ControlId::Master1].AssignPicture(design);
}

void Graphics::ClaimEvents(EventTable& events) {
    events.OnTimer(TimerId::Timer1, "Graphics::Timer1_Timer", [this] { Timer1_Timer(); });
}

void Graphics::LoadRecord() {
    record_read_ = true;
    record_damaged_ =
        LoadSeenRecord(w_.records.Active(), w_.folder, w_.state) == RecordState::Damaged;
}

// Picture `last` is marked after `first`: with first = 250 and last = 251, entry 250 is set
// before the error, and nothing is saved.
void Graphics::MarkSeenAndSave(long long first, long long last) {
    if (!record_read_) LoadRecord();
    for (long long number = first; number <= last; ++number) {
        if (number < kFirstPicture || number > kLastPicture) Raise(err::kSubscriptOutOfRange);
        w_.state.CGSeen[static_cast<std::size_t>(number)] = true;
    }
    if (record_damaged_) {
        if (std::optional<std::filesystem::path> path = w_.records.Active().Find(kSeenRecordName)) {
            KeepDamagedCopy(*path);
        }
        record_damaged_ = false;
    }
    SaveSeenRecord(w_.records.Active(), w_.state, &record_writer_);
}

void Graphics::CGLoad(std::string_view argument) {
    const std::int16_t number = ToInteger(argument);
    MarkSeenAndSave(number, number);
    // The record is written first: a picture that fails to load still counts as seen.
    w_.form[ControlId::Picture1].AssignPicture(w_.LoadPicture(PictureFileName(argument, number)));
    Refresh();
}

void Graphics::ShowPicture(std::uint8_t number) {
    if (number < kFirstPicture || number > kLastPicture) Raise(err::kSubscriptOutOfRange);
    // Loaded first: a picture that cannot be shown leaves the frame and the screen as they were.
    std::shared_ptr<const Surface> picture;
    if (w_.state.CGSeen[number]) picture = w_.LoadPicture(PictureFileName(number));
    w_.form[ControlId::Shape1].visible = false;
    if (picture) w_.form[ControlId::Picture1].AssignPicture(std::move(picture));
    Refresh();
}

void Graphics::EffectA(std::string_view argument) {
    PrepareEffect(argument, kSqueeze);
}

void Graphics::EffectB(std::string_view argument) {
    PrepareEffect(argument, kShrink);
}

void Graphics::EffectC(std::string_view argument) {
    PrepareEffect(argument, kTurn);
}

void Graphics::PrepareEffect(std::string_view argument, Effect effect) {
    WindowState& s = w_.state;
    const std::int16_t number = ToInteger(argument);
    const int incoming = number + 1;
    MarkSeenAndSave(number, incoming);
    s.EffectMode = effect;
    s.EffectStep = 0;
    // A running transition restarts from here with the new pictures.
    w_.form[ControlId::imgAhead].enabled = false;
    w_.form[ControlId::Master0].AssignPicture(w_.LoadPicture(PictureFileName(incoming)));
    Refresh();
    w_.form[ControlId::Master1].AssignPicture(w_.LoadPicture(PictureFileName(argument, number)));
    Refresh();
}

void Graphics::Timer1_Timer() {
    WindowState& s = w_.state;
    if (s.EffectMode == kSqueeze || s.EffectMode == kShrink) {
        // Frames 0 to N - 1; the last one is shown before the finish copies over it.
        const bool squeeze = s.EffectMode == kSqueeze;
        DrawFrame(squeeze ? SqueezeFrame(s.EffectStep) : ShrinkFrame(s.EffectStep));
        ++s.EffectStep;
        Refresh();
        if (s.EffectStep >= (squeeze ? kSqueezeFrames : kShrinkFrames)) FinishEffect();
    } else if (s.EffectMode == kTurn) {
        // Frames 1 to N; the finish comes before the screen is shown.
        ++s.EffectStep;
        DrawFrame(TurnFrame(s.EffectStep));
        if (s.EffectStep >= kTurnFrames) FinishEffect();
        Refresh();
    }
}

void Graphics::FinishRunningEffect() {
    if (w_.state.EffectMode != kNoEffect) FinishEffect();
}

void Graphics::DrawFrame(const EffectFrame& frame) {
    Surface& screen = DrawingImage(w_.form[ControlId::Picture1]);
    if (frame.black_first) FillSurface(screen, kWholeBuffer, kOpaqueBlack);
    for (int i = 0; i < frame.count; ++i) {
        const FrameCopy& copy = frame.copies[static_cast<std::size_t>(i)];
        const Surface& buffer = ShownPixels(w_.form[Buffer(copy.buffer)]);
        w_.state.written_only.SndResult =
            copy.scaled ? StretchSurface(screen, copy.to, buffer, copy.from)
                        : CopySurface(screen, copy.to.x, copy.to.y, buffer, copy.from);
    }
}

void Graphics::FinishEffect() {
    w_.state.EffectMode = kNoEffect;
    Surface& screen = DrawingImage(w_.form[ControlId::Picture1]);
    w_.state.written_only.SndResult =
        CopySurface(screen, 0, 0, ShownPixels(w_.form[ControlId::Master0]), kWholeBuffer);
    w_.form.Show(ControlId::imgAhead);
    w_.form.Changed();
}

// The screen shows the persistent images as they stand.
void Graphics::Refresh() {
    w_.form.Changed();
}

}  // namespace tsukikage
