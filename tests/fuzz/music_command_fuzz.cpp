// The music device's command strings, one a line, on a fake player and clock. A line that
// starts with "+" moves the clock on by a second for each of its characters instead. The MIDI file
// that an open names is the second part of the input, after a line of "%%".
#include <string>

#include "base/text_codec.h"
#include "fuzz/fuzz_support.h"
#include "sound/music_command.h"
#include "sound/music_fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tsukikage;
    if (size > 16 * 1024) return 0;
    std::string_view text = fuzz::AsText(data, size);
    const std::size_t split = text.find("\n%%\n");
    const std::filesystem::path midi = fuzz::ScratchFolder() / "song.mid";
    fuzz::WriteScratchFile(midi, split == std::string_view::npos ? "" : text.substr(split + 4));
    if (split != std::string_view::npos) text = text.substr(0, split);

    fakes::FakeMusicPlayer player;
    fakes::FakeMusicClock clock;
    player.length = size % 3 == 0 ? std::nullopt : std::optional<std::int64_t>(size * 37);
    MusicCommandDevice device(player, clock, [&midi](std::string_view name) {
        return name.find("song") != std::string_view::npos
                   ? std::optional<std::filesystem::path>(midi)
                   : std::nullopt;
    });
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line[0] == '+') {
            clock.now += static_cast<std::int64_t>(line.size()) * 1000;
            continue;
        }
        std::string reply;
        const std::uint32_t code = device.SendString(line, reply);
        if (Utf8ToCp932(reply).size() > 254) fuzz::Fail("a reply longer than the reply buffer");
        if (code != 0 && device.ErrorText(code).empty()) fuzz::Fail("an error without a text");
    }
    return 0;
}
