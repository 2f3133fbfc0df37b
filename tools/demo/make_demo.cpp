// Writes the demo game into a game folder: make_demo <game folder>
#include <QImage>
#include <QString>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "demo_pictures.h"
#include "demo_scenario.h"
#include "demo_sounds.h"

namespace tsukikage::demo {
namespace {

namespace fs = std::filesystem;

fs::path Prepare(const fs::path& game_folder, std::string_view name) {
    fs::path path = game_folder / GamePath(name);
    fs::create_directories(path.parent_path());
    return path;
}

void WriteFile(const fs::path& game_folder, std::string_view name, std::string_view bytes) {
    fs::path path = Prepare(game_folder, name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void SavePicture(const fs::path& game_folder, std::string_view name, const QImage& image,
                 const char* format) {
    fs::path path = Prepare(game_folder, name);
    if (!image.save(QString::fromStdString(path.string()), format)) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void MakeDemo(const fs::path& game_folder) {
    SavePicture(game_folder, kWindowPicture, DrawWindowPicture(), "BMP");
    WritePictureFiles(game_folder);
    WriteFile(game_folder, kChimeSound, ChimeWave());
    WriteFile(game_folder, kWindSound, WindWave());
    WriteFile(game_folder, kDawnMusic, DawnMidi());
    WriteFile(game_folder, kThemeMusic, ThemeMidi());
    // The scenario last: the build takes its presence for a complete demo.
    WriteFile(game_folder, "datafile", ScenarioFile());
}

}  // namespace
}  // namespace tsukikage::demo

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_demo <game folder>\n";
        return 2;
    }
    try {
        tsukikage::demo::MakeDemo(argv[1]);
    } catch (const std::exception& error) {
        std::cerr << "make_demo: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
