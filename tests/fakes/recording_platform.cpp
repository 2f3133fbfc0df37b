#include "fakes/recording_platform.h"

#include <fstream>
#include <sstream>

#include "base/runtime_error.h"

namespace tsukikage::fakes {

void RecordingMessageBox::Show(std::string_view text, MessageIcon icon, std::string_view title) {
    shown.push_back({std::string(text), icon, std::string(title)});
    if (while_open) while_open();
}

void FakeProcessControl::End(ExitStatus exit_status) {
    ++ends;
    status = static_cast<int>(exit_status);
    throw ProcessEnded{};
}

Surface FakePictureDecoder::Decode(const std::filesystem::path& path) {
    decoded.push_back(path);
    std::ifstream in(path, std::ios::binary);
    if (!in) Raise(err::kFileNotFound);
    std::string magic;
    int width = 0;
    int height = 0;
    if (!(in >> magic >> width >> height) || magic != "PIC" || width <= 0 || height <= 0 ||
        width > 4096 || height > 4096) {
        Raise(err::kInvalidPicture);
    }
    Surface surface(width, height);
    for (auto& pixel : surface.pixels) {
        if (!(in >> std::hex >> pixel)) Raise(err::kInvalidPicture);
    }
    return surface;
}

std::int32_t RecordingWaveVoice::PlaySound(std::string_view name, unsigned flags) {
    calls.push_back({std::string(name), flags});
    if (sound_log) sound_log->push_back("wave " + std::string(name) + " " + std::to_string(flags));
    return result;
}

std::uint32_t ScriptedMusicDevice::SendString(std::string_view command, std::string& reply) {
    commands.emplace_back(command);
    if (sound_log) sound_log->push_back("mci " + std::string(command));
    auto r = replies.find(std::string(command));
    reply = r == replies.end() ? std::string() : r->second;
    auto e = errors.find(std::string(command));
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
