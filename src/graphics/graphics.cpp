#include "graphics/graphics.h"

#include "app/engine.h"
#include "graphics/design_picture.h"
#include "graphics/effect_frames.h"
#include "graphics/picture_box.h"
#include "graphics/picture_names.h"
#include "graphics/seen_record.h"
#include "platform/numeric.h"
#include "platform/runtime_error.h"
#include "platform/surface_ops.h"

namespace tsukikage {
namespace {

constexpr std::int32_t kPixelDropping = 3;
constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

// Marks one picture seen; a number outside the record raises 9 and changes nothing.
void MarkSeen(WindowState& state, long long number) {
    if (number < kFirstPicture || number > kLastPicture) Raise(err::kSubscriptOutOfRange);
    state.CGSeen[static_cast<std::size_t>(number)] = true;
}

ControlId Buffer(int index) {
    return index == 0 ? ControlId::Master0 : ControlId::Master1;
}

}  // namespace

Graphics::Graphics(Engine& engine) : e_(engine) {
    const std::shared_ptr<const Surface> design = BufferDesignPicture();
    e_.form[ControlId::Master0].AssignPicture(design);
    e_.form[ControlId::Master1].AssignPicture(design);
}

void Graphics::CGLoad(std::string_view argument) {
    const std::int16_t number = ToInteger(argument);
    MarkSeen(e_.state, number);
    SaveSeenRecord(e_.folder, e_.state);
    // The record is written first: a picture that fails to load still counts as seen.
    e_.form[ControlId::Picture1].AssignPicture(e_.LoadPicture(PictureFileName(argument, number)));
    Refresh();
}

void Graphics::ShowPicture() {
    e_.form[ControlId::Shape1].visible = false;
    CGViewing = true;
    if (CGNumber < kFirstPicture || CGNumber > kLastPicture) Raise(err::kSubscriptOutOfRange);
    if (e_.state.CGSeen[CGNumber]) {
        e_.form[ControlId::Picture1].AssignPicture(e_.LoadPicture(PictureFileName(CGNumber)));
    }
    Refresh();
}

void Graphics::EffectA(std::string_view argument) {
    PrepareEffect(argument, 1);
}

void Graphics::EffectB(std::string_view argument) {
    PrepareEffect(argument, 2);
}

void Graphics::EffectC(std::string_view argument) {
    PrepareEffect(argument, 3);
}

void Graphics::PrepareEffect(std::string_view argument, std::uint8_t effect) {
    WindowState& s = e_.state;
    const std::int16_t number = ToInteger(argument);
    const int incoming = number + 1;
    // Picture N + 1 is marked after N: with N = 250, entry 250 is set before the error.
    MarkSeen(s, number);
    MarkSeen(s, incoming);
    SaveSeenRecord(e_.folder, s);
    s.EffectMode = effect;
    s.EffectStep = 0;
    // A running transition restarts from here with the new pictures.
    e_.form[ControlId::imgAhead].enabled = false;
    e_.form[ControlId::Master0].AssignPicture(e_.LoadPicture(PictureFileName(incoming)));
    Refresh();
    e_.form[ControlId::Master1].AssignPicture(e_.LoadPicture(PictureFileName(argument, number)));
    Refresh();
}

void Graphics::Timer1_Timer() {
    WindowState& s = e_.state;
    s.SndResult = stretch_mode_;
    stretch_mode_ = kPixelDropping;
    switch (s.EffectMode) {
        case 1:
            DrawFrame(SqueezeFrame(s.EffectStep));
            ++s.EffectStep;
            Refresh();
            if (s.EffectStep >= kSqueezeFrames) FinishEffect();
            break;
        case 2:
            DrawFrame(ShrinkFrame(s.EffectStep));
            ++s.EffectStep;
            Refresh();
            if (s.EffectStep >= kShrinkFrames) FinishEffect();
            break;
        case 3: {
            ++s.EffectStep;
            DrawFrame(TurnFrame(s.EffectStep));
            if (s.EffectStep >= kTurnFrames) FinishEffect();
            Refresh();
            break;
        }
        default:
            break;
    }
}

void Graphics::DrawFrame(const EffectFrame& frame) {
    Surface& screen = DrawingImage(e_.form[ControlId::Picture1]);
    if (frame.black_first) FillSurface(screen, kWholeBuffer, kOpaqueBlack);
    for (int i = 0; i < frame.count; ++i) {
        const FrameCopy& copy = frame.copies[static_cast<std::size_t>(i)];
        const Surface& buffer = DrawingImage(e_.form[Buffer(copy.buffer)]);
        e_.state.SndResult = copy.scaled
                                 ? StretchSurface(screen, copy.to, buffer, copy.from)
                                 : CopySurface(screen, copy.to.x, copy.to.y, buffer, copy.from);
    }
}

void Graphics::FinishEffect() {
    e_.state.EffectMode = 0;
    Surface& screen = DrawingImage(e_.form[ControlId::Picture1]);
    e_.state.SndResult =
        CopySurface(screen, 0, 0, DrawingImage(e_.form[ControlId::Master0]), kWholeBuffer);
    Control& ahead = e_.form[ControlId::imgAhead];
    ahead.enabled = true;
    ahead.visible = true;
    e_.form.Changed();
}

// The screen shows the persistent images as they stand.
void Graphics::Refresh() {
    e_.form.Changed();
}

}  // namespace tsukikage
