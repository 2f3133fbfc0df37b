#include "sound/midi_file.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "sound/riff.h"

namespace tsukikage {
namespace {

constexpr std::uint32_t kDefaultTempo = 500000;  // microseconds per quarter note (120 bpm)
constexpr std::int64_t kLongestMs = std::numeric_limits<std::int32_t>::max();
// Far beyond any real piece, and small enough that tick sums never overflow.
constexpr std::uint64_t kTickCap = std::uint64_t{1} << 48;

struct TempoChange {
    std::uint64_t tick;
    std::uint32_t tempo;
};

// Reads big-endian values and variable-length quantities without running past the end.
class ByteReader {
  public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    bool AtEnd() const { return pos_ >= bytes_.size(); }
    std::size_t left() const { return bytes_.size() - pos_; }
    std::optional<std::uint8_t> Byte() {
        if (AtEnd()) return std::nullopt;
        return static_cast<std::uint8_t>(bytes_[pos_++]);
    }
    std::optional<std::uint32_t> BigEndian(int size) {
        if (left() < static_cast<std::size_t>(size)) return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 0; i < size; ++i)
            value = value << 8 | static_cast<std::uint8_t>(bytes_[pos_++]);
        return value;
    }
    // At most four bytes, as the file format allows.
    std::optional<std::uint32_t> VariableLength() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            std::optional<std::uint8_t> b = Byte();
            if (!b) return std::nullopt;
            value = value << 7 | (*b & 0x7F);
            if (!(*b & 0x80)) return value;
        }
        return std::nullopt;
    }
    bool Skip(std::uint64_t count) {
        if (count > left()) return false;
        pos_ += static_cast<std::size_t>(count);
        return true;
    }
    std::string_view Take(std::size_t count) {
        count = std::min(count, left());
        std::string_view part = bytes_.substr(pos_, count);
        pos_ += count;
        return part;
    }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Data bytes that follow a channel status byte.
int ChannelDataBytes(std::uint8_t status) {
    const std::uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Walks one track; returns the tick of its last good event, or nothing when it has none.
std::optional<std::uint64_t> ReadTrack(std::string_view data, std::vector<TempoChange>& tempos) {
    ByteReader track(data);
    std::uint64_t tick = 0;
    std::optional<std::uint64_t> last;
    std::uint8_t running = 0;
    while (!track.AtEnd()) {
        std::optional<std::uint32_t> delta = track.VariableLength();
        if (!delta) break;
        const std::uint64_t event_tick = std::min(tick + *delta, kTickCap);
        std::optional<std::uint8_t> first = track.Byte();
        if (!first) break;
        std::uint8_t status = *first;
        int data_left = 0;
        if (status < 0x80) {
            if (!running) break;  // data with no status to run on
            status = running;
            data_left = ChannelDataBytes(status) - 1;
        } else if (status < 0xF0) {
            running = status;
            data_left = ChannelDataBytes(status);
        } else if (status == 0xFF) {
            running = 0;
            std::optional<std::uint8_t> type = track.Byte();
            std::optional<std::uint32_t> length = type ? track.VariableLength() : std::nullopt;
            if (!length || *length > track.left()) break;
            std::string_view body = track.Take(*length);
            tick = event_tick;
            last = tick;
            if (*type == 0x2F) break;  // end of track
            if (*type == 0x51 && body.size() >= 3) {
                const std::uint32_t tempo = static_cast<std::uint8_t>(body[0]) << 16 |
                                            static_cast<std::uint8_t>(body[1]) << 8 |
                                            static_cast<std::uint8_t>(body[2]);
                if (tempo > 0) tempos.push_back({tick, tempo});
            }
            continue;
        } else if (status == 0xF0 || status == 0xF7) {
            running = 0;
            std::optional<std::uint32_t> length = track.VariableLength();
            if (!length || !track.Skip(*length)) break;
            tick = event_tick;
            last = tick;
            continue;
        } else {
            break;  // real-time and common messages do not belong in a file
        }
        if (!track.Skip(static_cast<std::uint64_t>(data_left))) break;
        tick = event_tick;
        last = tick;
    }
    return last;
}

}  // namespace

bool LooksLikeMidi(std::string_view bytes) {
    return bytes.substr(0, 4) == "MThd" ||
           (bytes.size() >= 12 && bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 4) == "RMID");
}

std::optional<std::string_view> StandardMidiBytes(std::string_view bytes) {
    if (bytes.substr(0, 4) == "MThd") return bytes;
    const std::optional<RiffFile> riff = ReadRiff(bytes);
    if (!riff || riff->form != "RMID") return std::nullopt;
    const std::optional<std::string_view> data = riff->Find("data");
    if (!data || data->substr(0, 4) != "MThd") return std::nullopt;
    return data;
}

namespace {

// What turns ticks into time: the division, the tempo map in tick order, the last event's tick.
struct Timing {
    std::uint32_t division = 0;
    std::vector<TempoChange> tempos;
    std::uint64_t end_tick = 0;
};

std::optional<Timing> ReadTiming(std::string_view file_bytes) {
    const std::optional<std::string_view> midi = StandardMidiBytes(file_bytes);
    if (!midi) return std::nullopt;
    ByteReader file(midi->substr(4));
    std::optional<std::uint32_t> header_length = file.BigEndian(4);
    if (!header_length || *header_length < 6 || *header_length > file.left()) return std::nullopt;
    std::optional<std::uint32_t> format = file.BigEndian(2);
    std::optional<std::uint32_t> declared_tracks = file.BigEndian(2);
    std::optional<std::uint32_t> division = file.BigEndian(2);
    if (!format || !declared_tracks || !division || *format > 2 || *division == 0) {
        return std::nullopt;
    }
    file.Skip(*header_length - 6);

    Timing timing;
    timing.division = *division;
    std::optional<std::uint64_t> end_tick;
    while (file.left() >= 8) {
        std::string_view id = file.Take(4);
        const std::uint32_t length = *file.BigEndian(4);
        // A chunk that claims more than is left is read as far as it goes.
        std::string_view body = file.Take(length);
        if (id != "MTrk") continue;
        std::optional<std::uint64_t> last = ReadTrack(body, timing.tempos);
        if (last) end_tick = std::max(end_tick.value_or(0), *last);
    }
    if (!end_tick) return std::nullopt;
    timing.end_tick = *end_tick;
    std::stable_sort(timing.tempos.begin(), timing.tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    return timing;
}

// SMPTE ticks per second: frames per second (the byte is negative; 29 means 29.97) times
// ticks per frame. Nothing for a metrical division or an unusable one.
std::optional<double> SmpteTicksPerSecond(std::uint32_t division, bool& smpte) {
    smpte = (division & 0x8000) != 0;
    if (!smpte) return std::nullopt;
    const int frames = -static_cast<std::int8_t>(division >> 8);
    const int ticks_per_frame = division & 0xFF;
    if (frames <= 0 || ticks_per_frame == 0) return std::nullopt;
    return (frames == 29 ? 29.97 : frames) * ticks_per_frame;
}

// Microseconds from the start to `end_tick`.
std::optional<double> MicrosecondsAt(const Timing& timing, std::uint64_t end_tick) {
    bool smpte = false;
    if (std::optional<double> per_second = SmpteTicksPerSecond(timing.division, smpte)) {
        return static_cast<double>(end_tick) * 1e6 / *per_second;
    }
    if (smpte) return std::nullopt;
    double microseconds = 0;
    std::uint64_t tick = 0;
    std::uint32_t tempo = kDefaultTempo;
    for (const TempoChange& change : timing.tempos) {
        if (change.tick >= end_tick) break;
        microseconds += static_cast<double>(change.tick - tick) * tempo / timing.division;
        tick = change.tick;
        tempo = change.tempo;
    }
    return microseconds + static_cast<double>(end_tick - tick) * tempo / timing.division;
}

}  // namespace

std::optional<std::int64_t> MidiLengthMs(std::string_view bytes) {
    std::optional<Timing> timing = ReadTiming(bytes);
    if (!timing) return std::nullopt;
    std::optional<double> microseconds = MicrosecondsAt(*timing, timing->end_tick);
    if (!microseconds) return std::nullopt;
    const double ms = *microseconds / 1000.0;
    return ms >= static_cast<double>(kLongestMs) ? kLongestMs : static_cast<std::int64_t>(ms + 0.5);
}

std::optional<std::uint64_t> MidiTickAtMs(std::string_view bytes, std::int64_t ms) {
    std::optional<Timing> timing = ReadTiming(bytes);
    if (!timing) return std::nullopt;
    const double target = static_cast<double>(std::max<std::int64_t>(ms, 0)) * 1000.0;
    bool smpte = false;
    double ticks = 0;
    if (std::optional<double> per_second = SmpteTicksPerSecond(timing->division, smpte)) {
        ticks = target * *per_second / 1e6;
    } else if (smpte) {
        return std::nullopt;
    } else {
        double microseconds = 0;
        std::uint64_t tick = 0;
        std::uint32_t tempo = kDefaultTempo;
        for (const TempoChange& change : timing->tempos) {
            const double next =
                microseconds + static_cast<double>(change.tick - tick) * tempo / timing->division;
            if (next > target) break;
            microseconds = next;
            tick = change.tick;
            tempo = change.tempo;
        }
        ticks = static_cast<double>(tick) + (target - microseconds) * timing->division / tempo;
    }
    return std::min(static_cast<std::uint64_t>(ticks + 0.5), timing->end_tick);
}

}  // namespace tsukikage
