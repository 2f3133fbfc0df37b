// Reading speed of the scenario: restoring a position deep in a large file, jumping to its
// last label, and long runs of continuing commands. The reference for decoding speed is
// glibc iconv converting the same bytes.
#include <benchmark/benchmark.h>
#include <iconv.h>
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

constexpr int kLines = 200'000;

// About 10 MB of CP932 text: Japanese text lines with a label every 100 lines and the
// marker of part 9999 on the last line.
std::string LargeScenario() {
    std::string s;
    s.reserve(static_cast<std::size_t>(kLines) * 52);
    for (int i = 0; i < kLines - 1; ++i) {
        if (i % 100 == 99) {
            s += ".L" + std::to_string(i) + "\r\n";
        } else {
            s += bench::TextLine();
        }
    }
    s += ".p 9999\r\n";
    return s;
}

const std::string& Scenario() {
    static const std::string s = LargeScenario();
    return s;
}

void BM_LoadPartToTheLastLine(benchmark::State& state) {
    bench::BenchGame game("scenario-bench", {{"datafile", Scenario()}});
    for (auto _ : state) {
        game.engine->reader.CloseScenario();
        game.engine->state.PartNo = 9999;
        game.engine->new_game.LoadPart();
        benchmark::DoNotOptimize(game.engine->form[ControlId::txtTell].caption.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Scenario().size()));
}
BENCHMARK(BM_LoadPartToTheLastLine)->Unit(benchmark::kMillisecond);

// The reference: glibc iconv converting the same bytes in memory.
void BM_IconvReference(benchmark::State& state) {
    const std::string& in = Scenario();
    std::string out(in.size() * 2, '\0');
    for (auto _ : state) {
        iconv_t cd = iconv_open("UTF-8", "CP932");
        char* src = const_cast<char*>(in.data());
        std::size_t src_left = in.size();
        char* dst = out.data();
        std::size_t dst_left = out.size();
        iconv(cd, &src, &src_left, &dst, &dst_left);
        iconv_close(cd);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(in.size()));
}
BENCHMARK(BM_IconvReference)->Unit(benchmark::kMillisecond);

void BM_DecodeOnly(benchmark::State& state) {
    const std::string& in = Scenario();
    for (auto _ : state) {
        std::string out = Cp932ToUtf8(in);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(in.size()));
}
BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMillisecond);

void BM_JumpToTheLastLabel(benchmark::State& state) {
    bench::BenchGame game("scenario-bench", {{"datafile", Scenario()}});
    game.engine->reader.OpenScenario();
    const std::string last = "L" + std::to_string((kLines - 2) / 100 * 100 - 1);
    for (auto _ : state) {
        bool found = game.engine->reader.SeekLabel(last);
        benchmark::DoNotOptimize(found);
        if (!found) state.SkipWithError("label not found");
    }
}
BENCHMARK(BM_JumpToTheLastLabel)->Unit(benchmark::kMillisecond);

// One click that reads the whole scenario behind a first wait line: the longest the window
// waits for the reader. `Fill` writes what stands between the two wait lines.
template <typename Fill>
void ReadOneLongStretch(benchmark::State& state, Fill fill) {
    std::string s = ".\r\n";
    fill(s);
    s += ".\r\n";
    bench::BenchGame game("scenario-bench", {{"datafile", s}});
    for (auto _ : state) {
        state.PauseTiming();
        game.engine->MenuCommand(MenuId::NewGame);
        state.ResumeTiming();
        game.engine->Click(ControlId::imgAhead);
        if (!game.engine->reader.AtEnd()) state.SkipWithError("the stretch was not read");
    }
    state.counters["deepest_advance"] = game.engine->reader.deepest_advance();
}

void BM_MillionContinuingCommands(benchmark::State& state) {
    ReadOneLongStretch(state, [](std::string& s) {
        for (int i = 0; i < 1'000'000; ++i) s += ".z\r\n";
    });
}
BENCHMARK(BM_MillionContinuingCommands)->Unit(benchmark::kMillisecond);

// A page of 10,000 text lines (about 500 KB), shown at once.
void BM_PageOfTenThousandLines(benchmark::State& state) {
    ReadOneLongStretch(state, [](std::string& s) {
        for (int i = 0; i < 10'000; ++i) s += bench::TextLine();
    });
}
BENCHMARK(BM_PageOfTenThousandLines)->Unit(benchmark::kMillisecond);

// A thousand labels, each jumping to the next: every jump reads the file from its start.
void BM_ThousandJumpsInARow(benchmark::State& state) {
    ReadOneLongStretch(state, [](std::string& s) {
        for (int i = 0; i < 1'000; ++i) {
            s += ".j L" + std::to_string(i) + "\r\n";
            s += ".L" + std::to_string(i) + "\r\n";
        }
    });
}
BENCHMARK(BM_ThousandJumpsInARow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tsukikage

BENCHMARK_MAIN();
