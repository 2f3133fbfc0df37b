#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#include "base/runtime_error.h"

namespace tsukikage::test_support {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder() : TempFolder(std::filesystem::temp_directory_path()) {}
    // A fresh folder under `base`.
    explicit TempFolder(const std::filesystem::path& base) {
        std::random_device random;
        path_ = base /
                ("tsukikage-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes a file under a relative name given as raw bytes (so names may be CP932).
    std::filesystem::path Write(std::string_view raw_name, std::string_view bytes = "") const {
        const std::filesystem::path file = path_ / std::filesystem::path(std::string(raw_name));
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    std::filesystem::path MakeFolder(std::string_view raw_name) const {
        const std::filesystem::path folder = path_ / std::filesystem::path(std::string(raw_name));
        std::filesystem::create_directories(folder);
        return folder;
    }

  private:
    std::filesystem::path path_;
};

// The run-time error number a call raises, or 0 when it raises none.
template <typename F>
int ErrorOf(F&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

inline std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tsukikage::test_support
