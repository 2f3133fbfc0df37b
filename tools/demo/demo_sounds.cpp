#include "demo_sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

namespace tsukikage::demo {
namespace {

constexpr int kSampleRate = 22050;

void PutLittle(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

void PutBig(std::string& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// Samples in -1..1 as a mono 16-bit PCM wave file.
std::string WaveFile(const std::vector<double>& samples) {
    std::string data;
    for (double s : samples) {
        const double clipped = std::clamp(s, -1.0, 1.0);
        PutLittle(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(clipped * 32767)), 2);
    }
    std::string file = "RIFF";
    PutLittle(file, static_cast<std::uint32_t>(36 + data.size()), 4);
    file += "WAVEfmt ";
    PutLittle(file, 16, 4);
    PutLittle(file, 1, 2);  // PCM
    PutLittle(file, 1, 2);  // mono
    PutLittle(file, kSampleRate, 4);
    PutLittle(file, kSampleRate * 2, 4);
    PutLittle(file, 2, 2);
    PutLittle(file, 16, 2);
    file += "data";
    PutLittle(file, static_cast<std::uint32_t>(data.size()), 4);
    return file + data;
}

// A small linear congruential generator: the same noise on every build.
class Noise {
  public:
    double Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
    }

  private:
    std::uint32_t state_ = 12345;
};

void PutVariableLength(std::string& out, std::uint32_t value) {
    char bytes[4];
    int count = 0;
    do {
        bytes[count++] = static_cast<char>(value & 0x7F);
        value >>= 7;
    } while (value);
    while (count > 1) out += static_cast<char>(bytes[--count] | 0x80);
    out += bytes[0];
}

// One track's events, written with running status for notes.
class Track {
  public:
    void Meta(std::uint32_t delta, std::uint8_t type, std::string_view body) {
        PutVariableLength(events_, delta);
        events_ += '\xFF';
        events_ += static_cast<char>(type);
        PutVariableLength(events_, static_cast<std::uint32_t>(body.size()));
        events_ += body;
        running_ = 0;
    }
    void Tempo(std::uint32_t delta, std::uint32_t microseconds_per_quarter) {
        std::string body;
        PutBig(body, microseconds_per_quarter, 3);
        Meta(delta, 0x51, body);
    }
    void Channel(std::uint32_t delta, std::uint8_t status, std::uint8_t a, int b = -1) {
        PutVariableLength(events_, delta);
        if (status != running_) events_ += static_cast<char>(status);
        running_ = status;
        events_ += static_cast<char>(a);
        if (b >= 0) events_ += static_cast<char>(b);
    }
    // Note-off is a note-on of velocity 0, so that the status keeps running.
    void Note(std::uint32_t delta, std::uint8_t channel, std::uint8_t key, std::uint8_t velocity) {
        Channel(delta, static_cast<std::uint8_t>(0x90 | channel), key, velocity);
    }
    std::string Chunk() {
        Meta(0, 0x2F, "");
        std::string chunk = "MTrk";
        PutBig(chunk, static_cast<std::uint32_t>(events_.size()), 4);
        return chunk + events_;
    }

  private:
    std::string events_;
    std::uint8_t running_ = 0;
};

constexpr std::uint32_t kQuarter = 480;

std::string MidiFile(int format, const std::vector<std::string>& tracks) {
    std::string file = "MThd";
    PutBig(file, 6, 4);
    PutBig(file, static_cast<std::uint32_t>(format), 2);
    PutBig(file, static_cast<std::uint32_t>(tracks.size()), 2);
    PutBig(file, kQuarter, 2);
    for (const std::string& track : tracks) file += track;
    return file;
}

// Plays the keys one after another, each for `length` ticks.
void Melody(Track& track, std::uint8_t channel, const std::vector<int>& keys, std::uint32_t length,
            std::uint8_t velocity) {
    std::uint32_t rest = 0;
    for (int key : keys) {
        if (key < 0) {
            rest += length;
            continue;
        }
        track.Note(rest, channel, static_cast<std::uint8_t>(key), velocity);
        track.Note(length, channel, static_cast<std::uint8_t>(key), 0);
        rest = 0;
    }
}

double KeyFrequency(double key) {
    return 440.0 * std::pow(2.0, (key - 69) / 12);
}

std::size_t Samples(double seconds) {
    return static_cast<std::size_t>(seconds * kSampleRate);
}

// A looping piece of a fixed length, kept on a ring: a sound that runs past the end goes on
// from the start, so the piece ends where it begins.
class Ring {
  public:
    explicit Ring(double seconds) : samples_(Samples(seconds)) {}

    void Add(double at_seconds, const std::vector<double>& sound, double gain) {
        std::size_t i = Samples(at_seconds) % samples_.size();
        for (double s : sound) {
            samples_[i] += gain * s;
            if (++i == samples_.size()) i = 0;
        }
    }

    // The wave file, scaled so that the loudest sample reaches `peak`.
    std::string Wave(double peak = 0.7) const {
        double loudest = 0;
        for (double s : samples_) loudest = std::max(loudest, std::abs(s));
        std::vector<double> scaled(samples_);
        if (loudest > 0) {
            for (double& s : scaled) s *= peak / loudest;
        }
        return WaveFile(scaled);
    }

  private:
    std::vector<double> samples_;
};

// One partial of a struck voice: frequency ratio, level and how fast it fades (1/s).
struct Partial {
    double ratio;
    double level;
    double decay;
};

// A struck metal voice: its partials start together and fade each at its own rate.
std::vector<double> Struck(double frequency, double seconds, std::span<const Partial> partials) {
    std::vector<double> out(Samples(seconds));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        double s = 0;
        for (const Partial& p : partials) {
            s += p.level * std::exp(-p.decay * t) *
                 std::sin(2 * std::numbers::pi * frequency * p.ratio * t);
        }
        out[i] = std::min(1.0, t / 0.003) * s;
    }
    return out;
}

// A temple bell: a long low hum whose close pairs of partials beat slowly.
constexpr Partial kTempleBell[] = {
    {0.5, 0.45, 0.22}, {0.507, 0.3, 0.25}, {1.0, 0.6, 0.45}, {1.008, 0.35, 0.5}, {1.19, 0.22, 0.8},
    {1.51, 0.18, 1.1}, {2.0, 0.2, 1.5},    {2.63, 0.1, 2.4}, {3.3, 0.06, 3.5},
};
// A small chime: bright at the stroke, soon only its fundamental.
constexpr Partial kChime[] = {
    {1.0, 1.0, 1.4}, {2.0, 0.3, 3.0}, {3.0, 0.12, 5.0}, {4.2, 0.07, 8.0}, {5.4, 0.04, 12.0},
};

// A soft sustained chord: two slightly detuned sines for each key, fading in and out.
std::vector<double> Pad(std::span<const int> keys, double seconds, double fade) {
    std::vector<double> out(Samples(seconds));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double envelope = std::clamp(std::min(t, seconds - t) / fade, 0.0, 1.0);
        double s = 0;
        for (int key : keys) {
            const double f = KeyFrequency(key);
            s += std::sin(2 * std::numbers::pi * f * t) +
                 std::sin(2 * std::numbers::pi * f * 1.003 * t) +
                 0.2 * std::sin(4 * std::numbers::pi * f * t);
        }
        out[i] = envelope * s / static_cast<double>(2 * keys.size());
    }
    return out;
}

// A breathy flute tone with a vibrato that sets in after the attack.
std::vector<double> Flute(double frequency, double seconds, Noise& noise) {
    std::vector<double> out(Samples(seconds + 0.2));
    double phase = 0;
    double breath = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double vibrato =
            0.005 * std::min(1.0, t / 0.4) * std::sin(2 * std::numbers::pi * 5 * t);
        phase += 2 * std::numbers::pi * frequency * (1 + vibrato) / kSampleRate;
        breath += 0.2 * (noise.Next() - breath);
        const double envelope =
            std::min({1.0, t / 0.08, std::max(0.0, (seconds + 0.2 - t) / 0.25)});
        out[i] = envelope * (std::sin(phase) + 0.22 * std::sin(2 * phase) +
                             0.07 * std::sin(3 * phase) + 0.15 * breath);
    }
    return out;
}

// A plucked koto string (Karplus-Strong): a burst of soft noise circulating in a delay line
// of one period, a little duller on every pass. Averaging two neighbours delays by half a
// sample; an all-pass filter adds the fraction of a sample that tunes the string.
std::vector<double> Pluck(double frequency, double seconds, Noise& noise) {
    const double period = kSampleRate / frequency;
    const auto length = std::max<std::size_t>(2, static_cast<std::size_t>(period + 0.4));
    const double fraction = period + 0.5 - static_cast<double>(length);
    const double all_pass = (1 - fraction) / (1 + fraction);
    std::vector<double> line(length);
    double soft = 0;
    double sum = 0;
    for (double& s : line) {
        soft += 0.3 * (noise.Next() - soft);
        s = soft;
        sum += s;
    }
    // Without its mean the burst leaves no offset behind.
    for (double& s : line) s -= sum / static_cast<double>(length);
    std::vector<double> out(Samples(seconds));
    std::size_t at = 0;
    double last_in = 0;
    double last_out = 0;
    for (double& s : out) {
        const std::size_t next = at + 1 == length ? 0 : at + 1;
        s = line[at];
        const double averaged = 0.997 * 0.5 * (line[at] + line[next]);
        line[at] = all_pass * averaged + last_in - all_pass * last_out;
        last_in = averaged;
        last_out = line[at];
        at = next;
    }
    return out;
}

}  // namespace

std::string ChimeWave() {
    const int count = kSampleRate * 3 / 2;
    std::vector<double> samples(count);
    // A bell: a few inharmonic partials, the high ones fading first.
    const double partials[][3] = {
        {1318.5, 0.5, 2.5}, {3290.0, 0.25, 5.0}, {5270.0, 0.12, 9.0}, {2637.0, 0.15, 4.0}};
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        double s = 0;
        for (const auto& p : partials) {
            s += p[1] * std::exp(-p[2] * t) * std::sin(2 * std::numbers::pi * p[0] * t);
        }
        const double attack = std::min(1.0, t / 0.004);
        samples[i] = 0.8 * attack * s;
    }
    return WaveFile(samples);
}

std::string WindWave() {
    const int count = kSampleRate * 6;
    const int fade = kSampleRate / 2;
    std::vector<double> raw(count + fade);
    Noise noise;
    double low = 0;
    double lower = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        // Two low-pass stages turn white noise into a soft rush.
        low += 0.06 * (noise.Next() - low);
        lower += 0.12 * (low - lower);
        const double t = static_cast<double>(i) / kSampleRate;
        // Gusts: slow swells whose periods divide the loop's length.
        const double gust = 0.65 + 0.25 * std::sin(2 * std::numbers::pi * t / 6.0) +
                            0.1 * std::sin(2 * std::numbers::pi * t / 2.0);
        raw[i] = 0.9 * lower * gust;
    }
    // The tail is blended into the head, so the loop point is not heard.
    std::vector<double> samples(raw.begin(), raw.begin() + count);
    for (int i = 0; i < fade; ++i) {
        const double w = static_cast<double>(i) / fade;
        samples[i] = w * raw[i] + (1 - w) * raw[count + i];
    }
    return WaveFile(samples);
}

std::string DawnMidi() {
    Track track;
    track.Tempo(0, 600000);          // 100 beats a minute
    track.Channel(0, 0xC0, 107);     // koto
    track.Channel(0, 0xB0, 91, 60);  // some reverb
    Melody(track, 0, {62, 64, 67, 69, 74, -1, 72, 69, 67}, kQuarter / 2, 90);
    track.Note(0, 0, 62, 80);
    track.Note(0, 0, 69, 80);
    track.Note(0, 0, 74, 80);
    track.Note(kQuarter * 4, 0, 62, 0);
    track.Note(0, 0, 69, 0);
    track.Note(0, 0, 74, 0);
    return MidiFile(0, {track.Chunk()});
}

std::string ThemeMidi() {
    // Eight bars of four beats; the last two bars slow down.
    Track tempo;
    tempo.Tempo(0, 535714);                 // 112 beats a minute
    tempo.Tempo(kQuarter * 4 * 6, 666667);  // 90 for the last two bars
    tempo.Meta(kQuarter * 4 * 2, 0x01, "");

    Track flute;
    flute.Channel(0, 0xC0, 73);
    flute.Channel(0, 0xB0, 7, 90);
    flute.Channel(0, 0xB0, 91, 70);
    // A pentatonic line in D, two bars a phrase.
    Melody(flute, 0, {69, 72, 74, 76, 74, 72, 69, -1}, kQuarter, 80);
    Melody(flute, 0, {67, 69, 72, 69, 67, 64, 62, -1}, kQuarter, 75);
    Melody(flute, 0, {74, 76, 79, 76, 74, 72, 74, -1}, kQuarter, 82);
    Melody(flute, 0, {72, 69, 67, 64, 62, -1, -1, -1}, kQuarter, 70);

    Track pad;
    pad.Channel(0, 0xC1, 89);
    pad.Channel(0, 0xB1, 7, 70);
    const int chords[][3] = {{50, 57, 62}, {48, 55, 60}, {45, 52, 57}, {50, 57, 62}};
    for (const auto& chord : chords) {
        for (int key : chord) pad.Note(0, 1, static_cast<std::uint8_t>(key), 55);
        pad.Note(kQuarter * 8, 1, static_cast<std::uint8_t>(chord[0]), 0);
        pad.Note(0, 1, static_cast<std::uint8_t>(chord[1]), 0);
        pad.Note(0, 1, static_cast<std::uint8_t>(chord[2]), 0);
    }
    return MidiFile(1, {tempo.Chunk(), flute.Chunk(), pad.Chunk()});
}

std::string ThemeWave() {
    // Eight bars at 120 beats a minute in D pentatonic; the bell tolls at bars 1 and 5.
    constexpr double kBeat = 0.5;
    Ring ring(32 * kBeat);
    ring.Add(0, Struck(KeyFrequency(50), 9, kTempleBell), 0.55);
    ring.Add(16 * kBeat, Struck(KeyFrequency(50), 9, kTempleBell), 0.45);
    const int chords[][3] = {{50, 57, 62}, {43, 50, 59}, {47, 54, 62}, {45, 52, 57}};
    for (int i = 0; i < 4; ++i) ring.Add(8 * kBeat * i, Pad(chords[i], 8 * kBeat + 0.8, 1.0), 0.3);
    const int melody[][2] = {{0, 69},  {1, 74},  {2, 76},  {3, 78},  {5, 76},  {6, 74},
                             {8, 71},  {9, 74},  {10, 76}, {11, 74}, {12, 69}, {16, 78},
                             {17, 81}, {18, 83}, {19, 81}, {20, 78}, {22, 76}, {24, 74},
                             {25, 76}, {26, 78}, {27, 76}, {28, 74}};
    for (const auto& [beat, key] : melody) {
        ring.Add(beat * kBeat, Struck(KeyFrequency(key), 3, kChime), 0.4);
    }
    return ring.Wave();
}

std::string CorridorWave() {
    // Sixteen slow beats in A minor pentatonic over a drone of A and E.
    constexpr double kBeat = 0.75;
    Ring ring(16 * kBeat);
    const int drone[] = {45, 52};
    ring.Add(0, Pad(drone, 8 * kBeat + 1, 1), 0.35);
    ring.Add(8 * kBeat, Pad(drone, 8 * kBeat + 1, 1), 0.35);
    const double melody[][3] = {{0, 76, 2},     {2, 79, 1},      {3, 81, 1},   {4, 79, 1.5},
                                {5.5, 76, 0.5}, {6, 74, 2},      {8, 72, 1},   {9, 74, 1},
                                {10, 76, 1.5},  {11.5, 74, 0.5}, {12, 69, 3.5}};
    Noise noise;
    for (const auto& [beat, key, beats] : melody) {
        ring.Add(beat * kBeat, Flute(KeyFrequency(key), beats * kBeat, noise), 0.5);
    }
    ring.Add(0, Struck(KeyFrequency(81), 3, kChime), 0.12);
    ring.Add(8 * kBeat, Struck(KeyFrequency(76), 3, kChime), 0.12);
    return ring.Wave();
}

std::string GardenWave() {
    // Koto arpeggios in the hirajoshi scale on D, thirty-two eighths at 96 beats a minute.
    constexpr double kEighth = 0.3125;
    Ring ring(32 * kEighth);
    // The last chord is strummed.
    const double notes[][2] = {
        {0, 62},  {1, 69},  {2, 74},  {3, 76},  {4, 77},  {6, 76},  {7, 74},    {8, 70},   {9, 69},
        {10, 65}, {12, 64}, {13, 65}, {14, 69}, {16, 62}, {17, 69}, {18, 74},   {19, 76},  {20, 81},
        {22, 77}, {23, 76}, {24, 74}, {26, 70}, {27, 69}, {28, 62}, {28.2, 69}, {28.4, 74}};
    Noise noise;
    for (const auto& [eighth, key] : notes) {
        ring.Add(eighth * kEighth, Pluck(KeyFrequency(key), 3, noise), 0.5);
    }
    for (int eighth : {0, 16}) ring.Add(eighth * kEighth, Pluck(KeyFrequency(50), 4, noise), 0.35);
    return ring.Wave();
}

std::string DawnWave() {
    // Four warm chords of three seconds, F, D minor, B flat and C, each answered by a chime
    // rising through it.
    constexpr double kChord = 3;
    Ring ring(4 * kChord);
    const int chords[][4] = {
        {53, 60, 65, 69}, {50, 57, 62, 65}, {46, 58, 62, 65}, {48, 55, 64, 67}};
    const int rising[][4] = {
        {65, 69, 72, 77}, {62, 65, 69, 74}, {62, 65, 70, 74}, {64, 67, 72, 76}};
    for (int i = 0; i < 4; ++i) {
        ring.Add(i * kChord, Pad(chords[i], kChord + 0.8, 0.8), 0.5);
        for (int k = 0; k < 4; ++k) {
            ring.Add(i * kChord + 0.25 + 0.375 * k, Struck(KeyFrequency(rising[i][k]), 2.5, kChime),
                     0.22);
        }
    }
    return ring.Wave();
}

}  // namespace tsukikage::demo
