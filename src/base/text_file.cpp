#include "base/text_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <ctime>
#include <fstream>
#include <iterator>
#include <optional>

#include "base/folder_entries.h"
#include "base/numeric.h"
#include "base/runtime_error.h"
#include "base/text_codec.h"

namespace tsukikage {

namespace {

namespace fs = std::filesystem;

// The largest file read, far beyond any scenario or record the game has: a larger one (or one
// that grows while it is read) raises error 7 before it fills memory.
constexpr std::size_t kMaxInputBytes = std::size_t{256} << 20;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

constexpr std::string_view kTrue = "#TRUE#";
constexpr std::string_view kFalse = "#FALSE#";

// Closes a descriptor on every way out.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and reports the result: some file systems only report write errors here.
    int Close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

  private:
    int fd_;
};

[[noreturn]] void RaiseForOpen(int error) {
    switch (error) {
        case ENOENT:
            Raise(err::kFileNotFound);
        case ENOTDIR:
            Raise(err::kPathNotFound);
        case EIO:
            Raise(err::kDeviceIoError);
        default:
            Raise(err::kPathFileAccessError);
    }
}

int WriteErrorNumber(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return err::kDiskFull;
        case EACCES:
        case EPERM:
        case EROFS:
            return err::kPermissionDenied;
        case ENOENT:
        case ENOTDIR:
            return err::kPathNotFound;
        default:
            return err::kDeviceIoError;
    }
}

}  // namespace

TextInput TextInput::Open(const std::filesystem::path& path) {
    // Without waiting: opening a pipe would otherwise wait for a writer that never comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        // The original told a missing file (53) from a missing folder (76).
        std::error_code ec;
        if (error == ENOENT && !path.parent_path().empty() &&
            !fs::is_directory(path.parent_path(), ec)) {
            Raise(err::kPathNotFound);
        }
        RaiseForOpen(error);
    }
    Descriptor file(fd);
    struct stat info {};
    // Only a plain file: a folder, a pipe or a device (an endless /dev/zero) is no text file.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) Raise(err::kPathFileAccessError);
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxInputBytes) Raise(err::kOutOfMemory);

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            RaiseForOpen(errno);
        }
        if (static_cast<std::size_t>(n) > kMaxInputBytes - bytes.size()) Raise(err::kOutOfMemory);
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return TextInput(std::move(bytes));
}

TextInput::TextInput(std::string bytes) : bytes_(std::move(bytes)) {}

std::string_view TextInput::ReadRawLine() {
    if (AtEnd()) Raise(err::kInputPastEndOfFile);
    const std::string_view all(bytes_);
    const std::size_t cr = all.find('\r', pos_);
    std::string_view line;
    if (cr == std::string_view::npos) {
        line = all.substr(pos_);
        pos_ = all.size();
    } else {
        line = all.substr(pos_, cr - pos_);
        pos_ = cr + 1;
        if (pos_ < all.size() && all[pos_] == '\n') ++pos_;
    }
    return line;
}

std::string TextInput::ReadLine() {
    return Cp932ToUtf8(ReadRawLine());
}

std::string_view TextInput::ReadRawField(bool numeric, bool* quoted) {
    const std::string_view all(bytes_);
    while (pos_ < all.size() && IsBlank(all[pos_])) ++pos_;
    if (pos_ >= all.size()) Raise(err::kInputPastEndOfFile);

    std::string_view field;
    *quoted = all[pos_] == '"';
    if (*quoted) {
        const std::size_t start = pos_ + 1;
        std::size_t close = all.find('"', start);
        if (close == std::string_view::npos) close = all.size();
        field = all.substr(start, close - start);
        // Whatever follows the closing quote up to the separator is not part of the value.
        pos_ = close < all.size() ? close + 1 : close;
        while (pos_ < all.size() && all[pos_] != ',' && !IsLineEnd(all[pos_])) ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < all.size() && all[pos_] != ',' && !IsLineEnd(all[pos_]) &&
               !(numeric && IsBlank(all[pos_]))) {
            ++pos_;
        }
        std::size_t end = pos_;
        while (end > start && IsBlank(all[end - 1])) --end;
        field = all.substr(start, end - start);
        // A number ends at a blank; the blanks up to its separator belong to no value.
        while (pos_ < all.size() && IsBlank(all[pos_])) ++pos_;
    }

    if (pos_ < all.size()) {
        if (all[pos_] == ',') {
            ++pos_;
        } else if (all[pos_] == '\r') {
            ++pos_;
            if (pos_ < all.size() && all[pos_] == '\n') ++pos_;
        } else if (all[pos_] == '\n') {
            ++pos_;
        }
    }
    return field;
}

std::string TextInput::ReadField() {
    bool quoted = false;
    return Cp932ToUtf8(ReadRawField(false, &quoted));
}

namespace {

// The value of a numeric field: the boolean literals, an empty field as 0, else a number.
double FieldNumber(std::string_view field, bool quoted) {
    if (!quoted && field == kTrue) return -1;
    if (!quoted && field == kFalse) return 0;
    if (field.empty()) return 0;
    return ParseNumber(field);
}

}  // namespace

std::int16_t TextInput::ReadInteger() {
    bool quoted = false;
    const std::string_view field = ReadRawField(true, &quoted);
    return tsukikage::ToInteger(FieldNumber(field, quoted));
}

std::int32_t TextInput::ReadLong() {
    bool quoted = false;
    const std::string_view field = ReadRawField(true, &quoted);
    return tsukikage::ToLong(FieldNumber(field, quoted));
}

std::uint8_t TextInput::ReadByte() {
    bool quoted = false;
    const std::string_view field = ReadRawField(true, &quoted);
    return tsukikage::ToByte(FieldNumber(field, quoted));
}

bool TextInput::ReadBoolean() {
    bool quoted = false;
    const std::string_view field = ReadRawField(true, &quoted);
    return FieldNumber(field, quoted) != 0;
}

void TextOutput::Separate() {
    if (line_has_value_) bytes_ += ',';
    line_has_value_ = true;
}

TextOutput& TextOutput::WriteNumber(long long value) {
    Separate();
    bytes_ += DecimalText(value);
    return *this;
}

TextOutput& TextOutput::WriteBoolean(bool value) {
    Separate();
    bytes_ += value ? kTrue : kFalse;
    return *this;
}

TextOutput& TextOutput::WriteText(std::string_view utf8) {
    Separate();
    bytes_ += '"';
    bytes_ += Utf8ToCp932(utf8);
    bytes_ += '"';
    return *this;
}

TextOutput& TextOutput::EndLine() {
    bytes_ += "\r\n";
    line_has_value_ = false;
    return *this;
}

TextOutput& TextOutput::PrintNumber(long long value) {
    if (value >= 0) bytes_ += ' ';
    bytes_ += DecimalText(value);
    bytes_ += ' ';
    return *this;
}

TextOutput& TextOutput::PrintText(std::string_view utf8) {
    bytes_ += Utf8ToCp932(utf8);
    return *this;
}

namespace {

// A writer that was killed before its rename leaves its temporary file behind,
// ".<name>.<process id>-<count>.tmp". Each write first removes those of processes that no
// longer run, so at most one such file is ever left beside a record. The folder is read
// entry by entry as the system lists it, with nothing allocated for it or its entries.
void RemoveAbandonedTemporaries(const fs::path& folder, const std::string& name) {
    const std::string prefix = "." + name + ".";
    FolderEntries dir(folder);
    while (const char* found = dir.Next()) {
        const std::string_view entry = found;
        if (entry.size() <= prefix.size() + 4 || !entry.starts_with(prefix) ||
            !entry.ends_with(".tmp")) {
            continue;
        }
        const std::string_view rest = entry.substr(prefix.size());
        long pid = 0;
        const auto [end_of_pid, error] =
            std::from_chars(rest.data(), rest.data() + rest.size(), pid);
        if (error != std::errc() || end_of_pid == rest.data() || *end_of_pid != '-' || pid <= 0 ||
            pid == ::getpid()) {
            continue;
        }
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            ::unlinkat(dir.fd(), found, 0);
        }
    }
}

// The file (itself, not through a symbolic link) is a regular file that holds exactly these
// bytes. Read in one go: records are small, and a file of another size is not read at all.
bool HoldsExactly(const fs::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    Descriptor file(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) != bytes.size()) {
        return false;
    }
    // One byte more than expected, so that a file that grew since is told apart.
    std::string held(bytes.size() + 1, '\0');
    std::size_t got = 0;
    while (got < held.size()) {
        const ssize_t n = ::read(fd, held.data() + got, held.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got == bytes.size() && std::string_view(held).substr(0, got) == bytes;
}

}  // namespace

void ReplaceFile(const std::filesystem::path& path, std::string_view bytes) {
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    // A read-only record stays read-only, as it did when the original opened it for output.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) {
        Raise(WriteErrorNumber(errno));
    }
    // A record that holds these bytes already is left as it is: the game rewrites the seen
    // pictures and the endings each time one is shown, mostly with what they hold, and every
    // write costs two flushes to disk.
    if (HoldsExactly(path, bytes)) return;

    static std::atomic<unsigned> counter{0};
    const std::string name = path.filename().string().substr(0, 100);
    RemoveAbandonedTemporaries(folder, name);
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temp = folder / ("." + name + "." + std::to_string(::getpid()) + "-" +
                         std::to_string(counter.fetch_add(1)) + ".tmp");
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt >= 100)) Raise(WriteErrorNumber(errno));
    }
    Descriptor file(fd);

    // Keeps the mode of the file being replaced.
    struct stat old_info {};
    if (::stat(path.c_str(), &old_info) == 0 && S_ISREG(old_info.st_mode)) {
        ::fchmod(fd, old_info.st_mode & 07777);
    }

    int error = 0;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (file.Close() != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        Raise(WriteErrorNumber(error));
    }

    // Makes the rename itself durable; a failure here loses nothing already replaced.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

namespace {

// The stamp of a regular file itself (not through a link), or nothing.
std::optional<RecordWriter::Stamp> StampOf(const char* path) {
    struct stat info {};
    if (::lstat(path, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return RecordWriter::Stamp{
        static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::int64_t>(info.st_size), static_cast<std::int64_t>(info.st_ctim.tv_sec),
        static_cast<std::int64_t>(info.st_ctim.tv_nsec)};
}

// A change time this far back identifies a state of the file: a file changed again within the
// clock's granule keeps its stamp (a few milliseconds on Linux, a whole second in the browser's
// file systems), so a younger stamp is confirmed by reading the file.
constexpr std::int64_t kSettledSeconds = 2;

bool StampIsSettled(const RecordWriter::Stamp& stamp) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec - stamp.changed_s >= kSettledSeconds;
}

}  // namespace

bool RecordWriter::Holds(std::string_view bytes) const {
    return written_ && bytes == bytes_ && StampOf(path_.c_str()) == stamp_ &&
           (StampIsSettled(stamp_) || HoldsExactly(path_, bytes));
}

void RecordWriter::Write(const std::filesystem::path& path, std::string_view bytes) {
    if (path.native() == path_ && Holds(bytes)) return;
    written_ = false;
    ReplaceFile(path, bytes);
    if (const std::optional<Stamp> stamp = StampOf(path.c_str())) {
        path_ = path.native();
        bytes_ = bytes;
        stamp_ = *stamp;
        written_ = true;
    }
}

void KeepDamagedCopy(const std::filesystem::path& path) {
    fs::path copy = path;
    copy += ".damaged";
    std::error_code error;
    if (fs::exists(copy, error) || !fs::is_regular_file(path, error)) return;
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (!in && !in.eof()) Raise(err::kDeviceIoError);
    ReplaceFile(copy, bytes);
}

}  // namespace tsukikage
