#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "fakes/test_support.h"

namespace tsukikage::fuzz {

namespace {

// The scratch folder sits in memory where the system offers a shared-memory file system:
// records are written through fsync, which on a disk costs more than the engine's own work.
std::filesystem::path ScratchBase() {
    std::error_code ec;
    const std::filesystem::path shm = "/dev/shm";
    if (std::filesystem::is_directory(shm, ec) && ::access(shm.c_str(), W_OK) == 0) return shm;
    return std::filesystem::temp_directory_path();
}

}  // namespace

const std::filesystem::path& ScratchFolder() {
    static const test_support::TempFolder scratch(ScratchBase());
    return scratch.path();
}

void WriteScratchFile(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Fail(std::string_view what) {
    std::fprintf(stderr, "fuzz invariant broken: %.*s\n", static_cast<int>(what.size()),
                 what.data());
    std::abort();
}

}  // namespace tsukikage::fuzz
