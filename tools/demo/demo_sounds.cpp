#include "demo_sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
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

}  // namespace tsukikage::demo
