// Loading a 640 x 480 JPEG into a buffer through the Qt picture decoder, and drawing the
// text history over the client area (Qt stays out of engine_bench, so this is a program of
// its own).
#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <filesystem>

#include "view/qt/overlay_painter.h"
#include "view/qt/qt_platform.h"

namespace {

std::filesystem::path WriteJpeg() {
    QImage image(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, (x ^ y) % 256));
    }
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "tsukikage-picture-bench.jpg";
    image.save(QString::fromStdString(path.string()), "JPG", 90);
    return path;
}

void BM_DecodeJpeg640x480(benchmark::State& state) {
    const std::filesystem::path path = WriteJpeg();
    tsukikage::QtPictureDecoder decoder;
    for (auto _ : state) {
        const auto surface = decoder.Decode(path);
        benchmark::DoNotOptimize(surface->pixels.data());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_DecodeJpeg640x480)->Unit(benchmark::kMillisecond);

// The history of a thousand pages of three long lines drawn over the client area: opened
// (every page in view laid out), or moved back by one page (one page laid out).
void BM_PaintHistory(benchmark::State& state) {
    const bool moving = state.range(0) != 0;
    const std::string line = "月影の回廊を、静かな足音がひとつ、またひとつと遠ざかっていく。";
    std::vector<tsukikage::HistoryEntry> pages;
    for (int i = 0; i < 1000; ++i) {
        pages.push_back({std::to_string(i) + line + "\r\n" + line + "\r\n" + line, i % 7 == 0});
    }
    const tsukikage::Font font{"ＭＳ Ｐゴシック", 12, 16};
    QImage frame(tsukikage::kClientWidth, tsukikage::kClientHeight, QImage::Format_RGB32);
    tsukikage::OverlayPainter kept;
    std::size_t bottom = pages.size();
    for (auto _ : state) {
        tsukikage::Overlay overlay;
        overlay.history.open = true;
        overlay.history.count = pages.size();
        overlay.history.position = bottom;
        overlay.history.entries.assign(pages.begin() + static_cast<std::ptrdiff_t>(bottom - 40),
                                       pages.begin() + static_cast<std::ptrdiff_t>(bottom));
        tsukikage::OverlayPainter fresh;
        QPainter painter(&frame);
        (moving ? kept : fresh).Paint(painter, overlay, font);
        if (moving) bottom = bottom > 40 ? bottom - 1 : pages.size();
    }
    state.SetLabel(moving ? "move one page" : "open");
}
BENCHMARK(BM_PaintHistory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
