// Writes the demo game into a game folder: make_demo <game folder>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "demo_files.h"
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
    if (!image.save(QString::fromStdString(path.string()), format, 90)) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// The player's records survive a rebuild of the demo: a record is written only where the
// folder holds none yet.
void WriteRecord(const fs::path& game_folder, std::string_view name, std::string_view bytes) {
    if (!fs::exists(game_folder / GamePath(name))) WriteFile(game_folder, name, bytes);
}

void MakeDemo(const fs::path& game_folder) {
    SavePicture(game_folder, kWindowPicture, DrawWindowPicture(), "BMP");
    WritePictureFiles(game_folder);
    SavePicture(game_folder, kTitleLettering, DrawTitleLettering(), "JPG");
    SavePicture(game_folder, kDisclaimer, DrawDisclaimer(), "BMP");
    SavePicture(game_folder, kTitlePicture, DrawTitlePicture(), "JPG");
    for (const TitleImage& image : TitleImages()) {
        SavePicture(game_folder, image.name, DrawTitleImage(image), "BMP");
    }
    WriteFile(game_folder, kChimeSound, ChimeWave());
    WriteFile(game_folder, kWindSound, WindWave());
    WriteFile(game_folder, kDawnMusic, DawnMidi());
    WriteFile(game_folder, kThemeMusic, ThemeMidi());
    for (const Track& track : MusicRoomTracks()) {
        WriteFile(game_folder, TrackFile(track.name), track.wave());
    }
    WriteFile(game_folder, kMusicList, MusicListFile());
    WriteFile(game_folder, kSceneList, SceneListFile());
    WriteRecord(game_folder, kSeenRecord, SeenRecordFile());
    WriteRecord(game_folder, kEndingRecord, EndingRecordFile());
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
    // The lettering is set with the installed fonts, which Qt reaches through an application
    // object; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    try {
        tsukikage::demo::MakeDemo(argv[1]);
    } catch (const std::exception& error) {
        std::cerr << "make_demo: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
