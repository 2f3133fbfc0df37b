#include "checker/scenario_check.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include "base/messages.h"
#include "base/numeric.h"
#include "base/runtime_error.h"
#include "base/text_codec.h"
#include "base/text_file.h"
#include "base/utf8.h"
#include "graphics/picture_names.h"
#include "graphics/seen_record.h"
#include "scenario/command_letters.h"
#include "scenario/commands.h"
#include "sound/midi_file.h"
#include "sound/wave_file.h"

namespace tsukikage {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // what undecodable bytes become

// The line number of a scenario finding.
long LineOf(const std::string& finding) {
    return std::strtol(finding.c_str() + finding.find(':') + 1, nullptr, 10);
}

struct Line {
    int number;
    std::string text;  // decoded
};

class Checker {
  public:
    Checker(const GameFolder& folder, Language language) : folder_(folder), language_(language) {}

    std::vector<std::string> Run();

  private:
    std::string T(Message message, std::initializer_list<std::string_view> arguments = {}) const {
        return Text(language_, message, arguments);
    }
    void Report(int line, const std::string& message) {
        findings_.push_back("datafile:" + std::to_string(line) + ": " + message);
    }
    void ReportFile(std::string_view file, const std::string& message) {
        findings_.push_back(std::string(file) + ": " + message);
    }
    bool ReadScenario();
    void CheckCommand(const Line& line, std::size_t index);
    void CheckTarget(const Line& line, const std::string& target);
    std::optional<long long> Number(const Line& line, std::string_view argument, Message what);
    std::optional<std::string> SoundFault(const std::filesystem::path& path, std::string_view kind,
                                          std::string_view name) const;
    void CheckPicture(const Line& line, std::string_view argument, long long number);
    void CheckSound(const Line& line, const std::optional<std::filesystem::path>& found,
                    Message kind, std::string_view name);
    void RequireFile(const Line& line, const std::optional<std::filesystem::path>& found,
                     Message kind, std::string_view name);
    void CheckSceneMarkers();
    void CheckJumpLoops();
    void CheckList(std::string_view name, bool tracks);

    const GameFolder& folder_;
    Language language_;
    std::vector<Line> lines_;
    std::set<std::string> labels_;
    std::map<long long, int> parts_;          // number -> first line
    std::map<long long, int> scene_markers_;  // number -> first line
    int seen_count_ = kLastPicture;
    std::vector<std::string> findings_;
};

bool Checker::ReadScenario() {
    const std::optional<std::filesystem::path> path = folder_.Find("datafile");
    if (!path) {
        ReportFile("datafile", T(Message::NoScenario));
        return false;
    }
    std::optional<TextInput> in;
    try {
        in.emplace(TextInput::Open(*path));
    } catch (const RuntimeError& error) {
        ReportFile("datafile", T(Message::CannotRead, {ErrorText(language_, error.number())}));
        return false;
    }
    for (int number = 1; !in->AtEnd(); ++number) {
        std::string text = Cp932ToUtf8(in->ReadRawLine());
        if (text.find(kReplacement) != std::string::npos) {
            Report(number, T(Message::NotCp932));
        }
        if (IsCommandLine(text)) labels_.insert(text.substr(1));
        lines_.push_back({number, std::move(text)});
    }
    return true;
}

std::optional<long long> Checker::Number(const Line& line, std::string_view argument,
                                         Message what) {
    try {
        return static_cast<long long>(RoundHalfEven(ParseNumber(argument)));
    } catch (const RuntimeError&) {
        Report(line.number, T(Message::NotANumber, {T(what), argument}));
        return std::nullopt;
    }
}

void Checker::RequireFile(const Line& line, const std::optional<std::filesystem::path>& found,
                          Message kind, std::string_view name) {
    if (!found) Report(line.number, T(Message::NotFound, {T(kind), name}));
}

// What the player cannot play of a sound file it finds: a wave of an encoding nothing decodes,
// or a RIFF file with no sound in it. Other files (MIDI, compressed music) are the player's
// music library's to judge.
std::optional<std::string> Checker::SoundFault(const std::filesystem::path& path,
                                               std::string_view kind, std::string_view name) const {
    std::ifstream in(path, std::ios::binary);
    std::string start(64 * 1024, '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(in.gcount()));
    if (LooksLikeWave(start)) {
        const std::optional<WaveFormat> format = ReadWaveFormat(start);
        if (!format) return T(Message::NotWave, {kind, name});
        if (!IsPlayableWaveEncoding(*format)) {
            return T(Message::EncodingNotPlayable, {kind, name, WaveEncodingName(format->tag)});
        }
    } else if (LooksLikeMidi(start) && start.substr(0, 4) == "RIFF") {
        in.clear();
        in.seekg(0);
        const std::string file(std::istreambuf_iterator<char>(in), {});
        if (!StandardMidiBytes(file)) return T(Message::RiffWithoutMidi, {kind, name});
    }
    return std::nullopt;
}

void Checker::CheckSound(const Line& line, const std::optional<std::filesystem::path>& found,
                         Message kind, std::string_view name) {
    RequireFile(line, found, kind, name);
    if (!found) return;
    if (const std::optional<std::string> fault = SoundFault(*found, T(kind), name)) {
        Report(line.number, *fault);
    }
}

void Checker::CheckPicture(const Line& line, std::string_view argument, long long number) {
    if (number < kFirstPicture || number > kLastPicture) {
        Report(line.number, T(Message::PictureOutOfRange, {std::to_string(number)}));
        return;
    }
    if (number > seen_count_) {
        Report(line.number, T(Message::PictureAboveCount,
                              {std::to_string(number), std::to_string(seen_count_)}));
    }
    const std::string name =
        argument.empty() ? PictureFileName(number) : PictureFileName(argument, number);
    RequireFile(line, folder_.Find(name), Message::Picture, name);
}

void Checker::CheckTarget(const Line& line, const std::string& target) {
    if (target != "Skip" && !labels_.contains(target)) {
        Report(line.number, T(Message::NoLabel, {target}));
    }
}

// What a command's argument must be, by the kind its letter's row names.
void Checker::CheckCommand(const Line& line, std::size_t index) {
    const std::string_view text = std::string_view(line.text).substr(1);
    const CommandLetter* command = FindCommandOf(text);
    if (!command) return;
    const std::string_view argument = utf8::From(text, 2);
    switch (command->argument) {
        case ArgumentKind::Picture:
            if (auto n = Number(line, argument, Message::PictureNumber))
                CheckPicture(line, argument, *n);
            break;
        case ArgumentKind::PicturePair:
            if (auto n = Number(line, argument, Message::PictureNumber)) {
                CheckPicture(line, argument, *n);
                CheckPicture(line, {}, *n + 1);
            }
            break;
        case ArgumentKind::WindowPicture:
            if (!argument.empty()) {
                RequireFile(line, folder_.Find(argument), Message::WindowPicture, argument);
            }
            break;
        case ArgumentKind::SoundEffect:
            CheckSound(line, folder_.FindSound("\\" + std::string(argument)), Message::SoundEffect,
                       argument);
            break;
        case ArgumentKind::Music:
            CheckSound(line, folder_.Find("\\" + std::string(argument)), Message::Music, argument);
            break;
        case ArgumentKind::Label:
            CheckTarget(line, std::string(argument));
            break;
        case ArgumentKind::ChoiceBlock:
            if (index + kChoiceBlockLines >= lines_.size()) {
                Report(line.number, T(Message::ChoiceCutShort));
                break;
            }
            CheckTarget(lines_[index + 1], lines_[index + 1].text);
            CheckTarget(lines_[index + 3], lines_[index + 3].text);
            break;
        case ArgumentKind::PartNumber:
            if (auto n = Number(line, argument, Message::PartNumber)) {
                auto [at, fresh] = parts_.emplace(*n, line.number);
                if (!fresh) {
                    Report(line.number,
                           T(Message::PartTwice, {std::to_string(*n), std::to_string(at->second)}));
                }
            }
            break;
        case ArgumentKind::SceneMarker:
            if (auto n = Number(line, argument, Message::SceneNumber))
                scene_markers_.emplace(*n, line.number);
            break;
        case ArgumentKind::EndingNumber:
            if (auto n = Number(line, argument, Message::EndingNumber); n && (*n < 1 || *n > 3)) {
                Report(line.number, T(Message::EndingOutOfRange, {std::to_string(*n)}));
            }
            break;
        case ArgumentKind::None:
            break;
    }
}

// What reading does at a line: reads on, waits, or jumps (a label line reached by reading is
// run by its first letter too).
Flow FlowAt(const Line& line) {
    if (!IsCommandLine(line.text)) return Flow::ReadsOn;
    const std::string_view text = std::string_view(line.text).substr(1);
    if (text.empty()) return Flow::Waits;
    const CommandLetter* command = FindCommandOf(text);
    return command ? command->flow : Flow::ReadsOn;
}

// A jump that reads on, through labels and jumps, back to itself without a line that waits
// loops for ever: the player's reader ends there with an error. Each jump leads to the next
// jump or wait after its label, so the jumps form chains; a chain that closes is reported
// once, at its first line.
void Checker::CheckJumpLoops() {
    const std::size_t count = lines_.size();
    std::map<std::string, std::size_t> first_line;  // command text -> index of its first line
    for (std::size_t i = 0; i < count; ++i) {
        if (IsCommandLine(lines_[i].text)) first_line.emplace(lines_[i].text.substr(1), i);
    }
    // The first line from each index on that waits or jumps (count: the end of the file).
    std::vector<std::size_t> stop(count + 1, count);
    for (std::size_t i = count; i-- > 0;) {
        stop[i] = FlowAt(lines_[i]) == Flow::ReadsOn ? stop[i + 1] : i;
    }
    const auto next = [&](std::size_t jump) -> std::optional<std::size_t> {
        const std::string target(utf8::From(std::string_view(lines_[jump].text).substr(1), 2));
        const auto label = first_line.find(target);
        if (label == first_line.end()) return std::nullopt;
        const std::size_t reached = stop[label->second + 1];
        if (reached == count || FlowAt(lines_[reached]) != Flow::Jumps) return std::nullopt;
        return reached;
    };
    enum Mark : std::uint8_t { kUnseen, kOnPath, kDone };
    std::vector<Mark> mark(count, kUnseen);
    for (std::size_t start = 0; start < count; ++start) {
        if (mark[start] != kUnseen || FlowAt(lines_[start]) != Flow::Jumps) continue;
        std::vector<std::size_t> path;
        std::optional<std::size_t> at = start;
        while (at && mark[*at] == kUnseen) {
            mark[*at] = kOnPath;
            path.push_back(*at);
            at = next(*at);
        }
        if (at && mark[*at] == kOnPath) {
            const auto loop = std::find(path.begin(), path.end(), *at);
            const std::size_t first = *std::min_element(loop, path.end());
            const std::string target(utf8::From(std::string_view(lines_[first].text).substr(1), 2));
            Report(lines_[first].number, T(Message::EndlessJump, {target}));
        }
        for (std::size_t line : path) mark[line] = kDone;
    }
}

// Scene k runs from marker 2k - 1 to marker 2k.
void Checker::CheckSceneMarkers() {
    for (const auto& [number, line] : scene_markers_) {
        const long long partner = number % 2 != 0 ? number + 1 : number - 1;
        if (number < 1 || !scene_markers_.contains(partner)) {
            Report(line,
                   T(Message::NoScenePartner, {std::to_string(number), std::to_string(partner)}));
        }
    }
}

void Checker::CheckList(std::string_view name, bool tracks) {
    const std::optional<std::filesystem::path> path = folder_.Find(name);
    const std::string shown(name.substr(1));
    if (!path) {
        ReportFile(shown, T(Message::ListMissing));
        return;
    }
    try {
        TextInput in = TextInput::Open(*path);
        const std::int16_t count = in.ReadInteger();
        if (count < 0 || count > 10) {
            ReportFile(shown, T(Message::ListCountOutOfRange, {std::to_string(count)}));
            return;
        }
        for (int i = 1; i <= count; ++i) {
            const std::string entry = in.ReadField();
            if (!tracks) continue;
            const std::optional<std::filesystem::path> track = folder_.FindSound("\\bgm\\" + entry);
            if (!track) {
                ReportFile(shown, T(Message::NotFound, {T(Message::Track), entry}));
            } else if (auto fault = SoundFault(*track, T(Message::Track), entry)) {
                ReportFile(shown, *fault);
            }
        }
    } catch (const RuntimeError& error) {
        ReportFile(shown, T(Message::CannotRead, {ErrorText(language_, error.number())}));
    }
}

std::vector<std::string> Checker::Run() {
    // The count the player will hold: the record's, or the highest picture present.
    WindowState record;
    LoadSeenRecord(folder_, record);
    seen_count_ = record.CGCount;
    if (ReadScenario()) {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const Line& line = lines_[i];
            if (!IsCommandLine(line.text)) continue;
            CheckCommand(line, i);
            // A choice block's own lines are no commands.
            const CommandLetter* command = FindCommandOf(std::string_view(line.text).substr(1));
            if (command && command->argument == ArgumentKind::ChoiceBlock) i += kChoiceBlockLines;
        }
        CheckSceneMarkers();
        CheckJumpLoops();
        // In the order of the scenario's lines.
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const auto& a, const auto& b) { return LineOf(a) < LineOf(b); });
    }
    CheckList("\\list.dat", true);
    CheckList("\\Scenelist.dat", false);
    return findings_;
}

}  // namespace

std::vector<std::string> CheckGame(const GameFolder& folder, Language language) {
    return Checker(folder, language).Run();
}

}  // namespace tsukikage
