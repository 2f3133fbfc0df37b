// Loading a 640 x 480 JPEG into a buffer through the Qt picture decoder (Qt stays out of
// engine_bench, so this is a program of its own).
#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <filesystem>

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
        tsukikage::Surface surface = decoder.Decode(path);
        benchmark::DoNotOptimize(surface.pixels.data());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_DecodeJpeg640x480)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
