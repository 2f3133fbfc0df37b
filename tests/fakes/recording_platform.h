#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/interfaces.h"

namespace tsukikage::fakes {

struct ShownBox {
    std::string text;
    MessageIcon icon;
    std::string title;
};

class RecordingMessageBox : public MessageBox {
  public:
    void Show(std::string_view text, MessageIcon icon, std::string_view title) override;
    // Recorded among `shown` with the question icon; answered from `answers`, front first,
    // and no when none is left.
    bool Ask(std::string_view text, std::string_view title) override;
    std::vector<ShownBox> shown;
    std::deque<bool> answers;
    bool recording = true;  // false: nothing is kept (see RecordingPlatform::StopRecording)
    // Runs while a box is "open", to model events handled during the modal loop.
    std::function<void()> while_open;
};

class RecordingBeeper : public Beeper {
  public:
    void Beep() override { ++beeps; }
    int beeps = 0;
};

class RecordingBusyPointer : public BusyPointer {
  public:
    void SetBusy(bool busy) override {
        if (recording) changes.push_back(busy);
    }
    std::vector<bool> changes;
    bool recording = true;
    bool busy() const { return !changes.empty() && changes.back(); }
};

// Thrown by the fake process end; only tests catch it.
struct ProcessEnded {};

class FakeProcessControl : public ProcessControl {
  public:
    [[noreturn]] void End(ExitStatus status) override;
    int ends = 0;
    std::optional<int> status;  // of the last end, as the number the process ends with
};

// Decodes the tiny test picture format: a file starting with "PIC w h" followed by one
// ARGB hex value per pixel (blank separated); anything else raises 481, a missing file 53.
class FakePictureDecoder : public PictureDecoder {
  public:
    std::shared_ptr<const Surface> Decode(const std::filesystem::path& path) override;
    std::vector<std::filesystem::path> decoded;
    bool recording = true;
};

struct SoundCall {
    std::string name;
    unsigned flags;
};

class RecordingWaveVoice : public WaveVoice {
  public:
    std::int32_t PlaySound(std::string_view name, unsigned flags) override;
    std::vector<SoundCall> calls;
    bool recording = true;
    std::int32_t result = 1;
    std::vector<std::string>* sound_log = nullptr;  // shared with the music device
};

// Records every command string; replies and error codes can be scripted per command.
class ScriptedMusicDevice : public MusicDevice {
  public:
    std::uint32_t SendString(std::string_view command, std::string& reply) override;
    std::string ErrorText(std::uint32_t code) override;
    std::optional<std::int64_t> MsUntilStopped() override { return until_stopped; }
    std::vector<std::string> commands;
    std::optional<std::int64_t> until_stopped;  // what MsUntilStopped answers
    bool recording = true;
    std::map<std::string, std::uint32_t, std::less<>> errors;  // command -> error code
    std::map<std::string, std::string, std::less<>> replies;   // command -> reply
    std::vector<std::string>* sound_log = nullptr;             // shared with the wave voice
};

// The levels last set, 100 until something sets them.
class RecordingSoundLevels : public SoundLevels {
  public:
    void SetMusicLevel(int percent) override { music = percent; }
    void SetVoiceLevel(int percent) override { voice = percent; }
    int music = 100;
    int voice = 100;
};

// Every call in order: "say <text>" or "stop".
class RecordingSpeaker : public Speaker {
  public:
    void Say(std::string_view text) override { calls.push_back("say " + std::string(text)); }
    void Stop() override { calls.emplace_back("stop"); }
    std::vector<std::string> calls;
};

// All fakes together, as one Platform.
struct RecordingPlatform {
    RecordingMessageBox message_box;
    RecordingBeeper beeper;
    RecordingBusyPointer busy_pointer;
    FakeProcessControl process;
    FakePictureDecoder picture_decoder;
    RecordingWaveVoice wave_voice;
    ScriptedMusicDevice music_device;
    RecordingSoundLevels sound_levels;
    RecordingSpeaker speaker;
    Platform platform{message_box, beeper,       busy_pointer, process, picture_decoder,
                      wave_voice,  music_device, sound_levels, speaker};
    // Wave-voice calls ("wave <name> <flags>") and music commands ("mci <command>") in the
    // order they happened.
    std::vector<std::string> sound_log;

    RecordingPlatform() {
        wave_voice.sound_log = &sound_log;
        music_device.sound_log = &sound_log;
    }
    // From now on the fakes answer as before but keep no record of the calls: for the fuzz
    // targets, which make millions of calls and look at none.
    void StopRecording() {
        message_box.recording = false;
        busy_pointer.recording = false;
        picture_decoder.recording = false;
        wave_voice.recording = false;
        wave_voice.sound_log = nullptr;
        music_device.recording = false;
        music_device.sound_log = nullptr;
    }
    // Forgets everything recorded so far.
    void Clear() {
        message_box.shown.clear();
        beeper.beeps = 0;
        busy_pointer.changes.clear();
        picture_decoder.decoded.clear();
        wave_voice.calls.clear();
        music_device.commands.clear();
        speaker.calls.clear();
        sound_log.clear();
    }
    RecordingPlatform(const RecordingPlatform&) = delete;
    RecordingPlatform& operator=(const RecordingPlatform&) = delete;
};

// Writes the tiny test picture format.
std::string TestPictureBytes(int width, int height, std::uint32_t fill);

}  // namespace tsukikage::fakes
