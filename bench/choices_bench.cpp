// A pick that jumps to a label at the end of a large scenario, and an ending written to
// "\endlist.dat" (a flushed temporary file renamed over the record).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "base/text_codec.h"
#include "bench_game.h"
#include "engine/engine.h"
#include "fakes/recording_platform.h"

namespace tsukikage {
namespace {

constexpr int kTextLines = 200'000;

// A choice block on the first line whose both targets are the last label, after about
// 10 MB of text; the label's page ends in an ending and a wait.
std::string ChoiceScenario() {
    std::string s = Utf8ToCp932(".s\r\nＺ\r\n左\r\nＺ\r\n右\r\n\r\n");
    s.reserve(static_cast<std::size_t>(kTextLines) * 52);
    for (int i = 0; i < kTextLines; ++i) s += bench::TextLine();
    s += Utf8ToCp932(".Ｚ\r\n終わり\r\n.\r\n");
    return s;
}

void BM_PickJumpsToTheLastLabel(benchmark::State& state) {
    const std::string scenario = ChoiceScenario();
    bench::BenchGame game("choices-bench",
                          {{"datafile", scenario}, {"endlist.dat", "3\r\n0\r\n0\r\n0\r\n"}});
    game.engine->MenuCommand(MenuId::NewGame);
    for (auto _ : state) {
        game.engine->Click(ControlId::lblSel1);  // the emptied caption repeats the pick
        benchmark::DoNotOptimize(game.engine->form[ControlId::Label1].caption.data());
    }
}
BENCHMARK(BM_PickJumpsToTheLastLabel)->Unit(benchmark::kMillisecond);

void BM_FinishWritesTheRecord(benchmark::State& state) {
    const std::string scenario = ChoiceScenario();
    bench::BenchGame game("choices-bench",
                          {{"datafile", scenario}, {"endlist.dat", "3\r\n0\r\n0\r\n0\r\n"}});
    for (auto _ : state) game.engine->extras.Finish("2");
}
BENCHMARK(BM_FinishWritesTheRecord)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tsukikage
