#include "base/folder_entries.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tsukikage {

FolderEntries::FolderEntries(const std::filesystem::path& folder)
    : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    failed_ = fd_ < 0;
#ifdef __EMSCRIPTEN__
    // The browser's file systems answer no getdents64 on a folder's descriptor: the names
    // are read once through a folder stream of their own.
    if (failed_) return;
    DIR* stream = ::opendir(folder.c_str());
    if (stream == nullptr) {
        failed_ = true;
        return;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(stream)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names_.emplace_back(entry->d_name);
        }
    }
    failed_ = errno != 0;
    ::closedir(stream);
#endif
}

FolderEntries::~FolderEntries() {
    if (fd_ >= 0) ::close(fd_);
}

const char* FolderEntries::Next() {
    if (fd_ < 0 || failed_) return nullptr;
#ifdef __EMSCRIPTEN__
    return at_ < names_.size() ? names_[at_++].c_str() : nullptr;
#else
    for (;;) {
        while (at_ < filled_) {
            // The records are 8-byte aligned within the buffer, which is itself aligned.
            const auto* entry = reinterpret_cast<const struct dirent64*>(buffer_ + at_);
            at_ += entry->d_reclen;
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) return name;
        }
        const ssize_t n = ::getdents64(fd_, buffer_, sizeof buffer_);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = n < 0;
            filled_ = at_ = 0;
            return nullptr;
        }
        filled_ = static_cast<std::size_t>(n);
        at_ = 0;
    }
#endif
}

}  // namespace tsukikage
