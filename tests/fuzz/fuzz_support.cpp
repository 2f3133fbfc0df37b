#include "fuzz/fuzz_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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
    // Straight through the system calls: a target writes files for every input, and a stream's
    // buffer and a walk up the folders cost more than the write under the address checker.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 && errno == ENOENT) {
        std::filesystem::create_directories(path.parent_path());
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    }
    if (fd < 0) Fail("a scratch file cannot be written");
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("a scratch file cannot be written");
        written += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

void Fail(std::string_view what) {
    std::fprintf(stderr, "fuzz invariant broken: %.*s\n", static_cast<int>(what.size()),
                 what.data());
    std::abort();
}

}  // namespace tsukikage::fuzz
