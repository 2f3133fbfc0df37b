#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tsukikage {

// Reads the entries of one folder straight from the system into a buffer of its own, with
// nothing allocated: the game folder is listed and a record's folder searched for leftovers on
// many lookups and writes, and the system library's folder stream takes a heap buffer of 32 KB
// for each. "." and ".." are passed over.
class FolderEntries {
  public:
    explicit FolderEntries(const std::filesystem::path& folder);
    ~FolderEntries();
    FolderEntries(const FolderEntries&) = delete;
    FolderEntries& operator=(const FolderEntries&) = delete;

    // The folder could be opened.
    bool is_open() const { return fd_ >= 0; }
    // The open folder, for calls relative to it (unlinkat).
    int fd() const { return fd_; }
    // The next entry's name, or null at the end of the folder or when reading failed.
    const char* Next();
    // Reading the folder failed (after it was opened, or opening it).
    bool failed() const { return failed_; }

  private:
    int fd_ = -1;
    bool failed_ = false;
    std::size_t at_ = 0;  // the next entry
#ifdef __EMSCRIPTEN__
    std::vector<std::string> names_;
#else
    std::size_t filled_ = 0;  // bytes of the buffer that hold entries
    alignas(8) char buffer_[4096];
#endif
};

}  // namespace tsukikage
