#include "fakes/recording_platform.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <optional>
#include <sstream>

#include "base/runtime_error.h"

namespace tsukikage::fakes {

void RecordingMessageBox::Show(std::string_view text, MessageIcon icon, std::string_view title) {
    if (recording) shown.push_back({std::string(text), icon, std::string(title)});
    if (while_open) while_open();
}

bool RecordingMessageBox::Ask(std::string_view text, std::string_view title) {
    if (recording) shown.push_back({std::string(text), MessageIcon::Question, std::string(title)});
    if (while_open) while_open();
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

void FakeProcessControl::End(ExitStatus exit_status) {
    ++ends;
    status = static_cast<int>(exit_status);
    throw ProcessEnded{};
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A picture exactly as TestPictureBytes writes it: the magic word, the size in decimal and each
// pixel in at most eight hex digits, blank separated. Parsed straight from the bytes, as the
// stream below would, or nothing for anything else, which the stream then reads.
std::optional<Surface> ParsePlainPicture(std::string_view text) {
    std::size_t at = 0;
    const auto token = [&]() {
        while (at < text.size() && IsBlank(text[at])) ++at;
        const std::size_t start = at;
        while (at < text.size() && !IsBlank(text[at])) ++at;
        return text.substr(start, at - start);
    };
    const auto number = [](std::string_view digits, int base, auto& value) {
        if (digits.empty() || digits.size() > (base == 10 ? 4u : 8u)) return false;
        for (char c : digits) {
            if (!(c >= '0' && c <= '9') &&
                !(base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))) {
                return false;
            }
        }
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
        return error == std::errc() && end == digits.data() + digits.size();
    };
    int width = 0;
    int height = 0;
    if (token() != "PIC" || !number(token(), 10, width) || !number(token(), 10, height) ||
        width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        return std::nullopt;
    }
    Surface surface(width, height);
    for (auto& pixel : surface.pixels) {
        if (!number(token(), 16, pixel)) return std::nullopt;
    }
    return surface;
}

}  // namespace

std::shared_ptr<const Surface> FakePictureDecoder::Decode(const std::filesystem::path& path) {
    if (recording) decoded.push_back(path);
    // Read in one go and parsed from memory: a file stream's buffer would be the largest
    // allocation of many a fuzz run.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) Raise(err::kFileNotFound);
    std::string bytes;
    char chunk[4096];
    for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || bytes.size() > (std::size_t{64} << 20)) break;
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (std::optional<Surface> plain = ParsePlainPicture(bytes)) {
        return std::make_shared<const Surface>(std::move(*plain));
    }
    std::istringstream in(std::move(bytes));
    std::string magic;
    int width = 0;
    int height = 0;
    if (!(in >> magic >> width >> height) || magic != "PIC" || width <= 0 || height <= 0 ||
        width > 4096 || height > 4096) {
        Raise(err::kInvalidPicture);
    }
    auto surface = std::make_shared<Surface>(width, height);
    for (auto& pixel : surface->pixels) {
        if (!(in >> std::hex >> pixel)) Raise(err::kInvalidPicture);
    }
    return surface;
}

std::int32_t RecordingWaveVoice::PlaySound(std::string_view name, unsigned flags) {
    if (recording) calls.push_back({std::string(name), flags});
    if (sound_log) sound_log->push_back("wave " + std::string(name) + " " + std::to_string(flags));
    return result;
}

std::uint32_t ScriptedMusicDevice::SendString(std::string_view command, std::string& reply) {
    if (recording) commands.emplace_back(command);
    if (sound_log) sound_log->push_back("mci " + std::string(command));
    const auto r = replies.find(command);
    if (r == replies.end()) {
        reply.clear();
    } else {
        reply = r->second;
    }
    const auto e = errors.find(command);
    return e == errors.end() ? 0 : e->second;
}

std::string ScriptedMusicDevice::ErrorText(std::uint32_t code) {
    return "error " + std::to_string(code);
}

std::string TestPictureBytes(int width, int height, std::uint32_t fill) {
    std::ostringstream out;
    out << "PIC " << width << ' ' << height << '\n' << std::hex;
    for (int i = 0; i < width * height; ++i) out << fill << ' ';
    return out.str();
}

}  // namespace tsukikage::fakes
