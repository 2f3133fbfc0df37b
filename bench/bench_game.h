#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "base/text_codec.h"
#include "engine/engine.h"
#include "fakes/recording_platform.h"

namespace tsukikage::bench {

// One line of Japanese scenario text in CP932, about 50 bytes with its CR LF.
inline const std::string& TextLine() {
    static const std::string line =
        Utf8ToCp932("月影の回廊を、静かな足音がひとつ、またひとつと遠ざかっていく。") + "\r\n";
    return line;
}

// An engine on the recording fakes and a game folder of its own, written before the window
// is created and removed afterwards.
class BenchGame {
  public:
    BenchGame(std::string_view name,
              std::initializer_list<std::pair<std::string_view, std::string_view>> files)
        : folder_(std::filesystem::temp_directory_path() /
                  ("tsukikage-" + std::string(name) + "-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(folder_);
        for (const auto& [file, bytes] : files) {
            std::ofstream(folder_ / std::string(file), std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        engine = std::make_unique<Engine>(fakes_.platform, folder_);
        engine->Form_Load();
        // The benchmarks start games by the menu, which the start-up keeps disabled.
        engine->form.menu(MenuId::SystemMenu).enabled = true;
    }
    ~BenchGame() { std::filesystem::remove_all(folder_); }
    BenchGame(const BenchGame&) = delete;
    BenchGame& operator=(const BenchGame&) = delete;

    std::unique_ptr<Engine> engine;

  private:
    std::filesystem::path folder_;
    fakes::RecordingPlatform fakes_;
};

}  // namespace tsukikage::bench
