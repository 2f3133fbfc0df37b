// One tick of each transition at its costliest frame, through the engine's timer handler:
// the frame budget is the 50 ms timer interval.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "engine/engine.h"
#include "fakes/recording_platform.h"
#include "graphics/picture_box.h"

namespace tsukikage {
namespace {

std::shared_ptr<const Surface> Pattern(std::uint32_t tint) {
    auto s = std::make_shared<Surface>(640, 480);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) s->at(x, y) = 0xFF000000u | tint | (y << 8) | x;
    }
    return s;
}

// Runs the tick at `step` of effect `mode` over and over.
void TransitionTick(benchmark::State& state, std::uint8_t mode, std::uint8_t step) {
    fakes::RecordingPlatform fakes;
    Engine engine(fakes.platform, std::filesystem::temp_directory_path());
    engine.form[ControlId::Master0].AssignPicture(Pattern(0x800000));
    engine.form[ControlId::Master1].AssignPicture(Pattern(0x400000));
    engine.Tick(TimerId::Timer1);  // the first tick sets the stretch mode
    for (auto _ : state) {
        engine.state.EffectMode = mode;
        engine.state.EffectStep = step;
        engine.Tick(TimerId::Timer1);
        benchmark::DoNotOptimize(DrawingImage(engine.form[ControlId::Picture1]).pixels.data());
    }
}

// A: two scaled copies covering the screen (every frame costs the same).
void BM_SqueezeFrame(benchmark::State& state) {
    TransitionTick(state, 1, 10);
}
// B, frame 0: the unscaled copy and a full-size scaled copy.
void BM_ShrinkFrame(benchmark::State& state) {
    TransitionTick(state, 2, 0);
}
// C, step 1: the black fill and 27 strips of 23 x 480.
void BM_TurnFrame(benchmark::State& state) {
    TransitionTick(state, 3, 0);
}
// The finishing tick of C: the fill, the last refresh and the final unscaled copy.
void BM_TurnFinish(benchmark::State& state) {
    TransitionTick(state, 3, 47);
}

BENCHMARK(BM_SqueezeFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShrinkFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TurnFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TurnFinish)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tsukikage
