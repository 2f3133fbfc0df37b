// Skip through a thousand read pages, and the text history of a thousand pages: opening it and
// moving it by one page, as the engine does them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "bench_game.h"

namespace tsukikage {
namespace {

constexpr int kPages = 1000;

// A thousand pages of three lines, each ending in a wait, then the end of the file.
std::string PagesScenario() {
    std::string s;
    for (int page = 0; page < kPages; ++page) {
        for (int line = 0; line < 3; ++line) s += bench::TextLine();
        s += ".\r\n";
    }
    return s;
}

// Reads every page once by clicks, so that all of them are read pages.
void ReadEveryPage(Engine& engine) {
    engine.MenuCommand(MenuId::NewGame);
    for (int page = 1; page < kPages; ++page) engine.Click(ControlId::imgAhead);
}

void BM_SkipThroughReadPages(benchmark::State& state) {
    const std::string scenario = PagesScenario();
    bench::BenchGame game("comfort-bench", {{"datafile", scenario}});
    Engine& engine = *game.engine;
    ReadEveryPage(engine);
    double slowest_ms = 0;
    for (auto _ : state) {
        engine.MenuCommand(MenuId::NewGame);
        engine.SetSkipHeld(true);
        for (int page = 1; page < kPages; ++page) {
            const auto start = std::chrono::steady_clock::now();
            engine.Tick(TimerId::Comfort);
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            slowest_ms = std::max(slowest_ms, took.count());
        }
        engine.SetSkipHeld(false);
        if (!engine.reader.AtEnd()) state.SkipWithError("the skip stopped before the end");
    }
    state.counters["pages/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * (kPages - 1), benchmark::Counter::kIsRate);
    state.counters["slowest_page_ms"] = slowest_ms;
}
BENCHMARK(BM_SkipThroughReadPages)->Unit(benchmark::kMillisecond);

void BM_HistoryOfAThousandPages(benchmark::State& state) {
    const std::string scenario = PagesScenario();
    bench::BenchGame game("comfort-bench", {{"datafile", scenario}});
    Engine& engine = *game.engine;
    ReadEveryPage(engine);
    const bool scroll = state.range(0) != 0;
    if (scroll) engine.OpenHistory();
    for (auto _ : state) {
        if (scroll) {
            engine.KeyPress(Key::Up);
            if (engine.comfort.history().bottom() == 0) engine.KeyPress(Key::PageDown);
        } else {
            engine.OpenHistory();
            engine.KeyPress(Key::Escape);
        }
    }
    state.SetLabel(scroll ? "scroll one page" : "open and close");
}
BENCHMARK(BM_HistoryOfAThousandPages)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tsukikage
