#include "speech/speechd_speaker.h"

#include <csignal>
#include <cstdlib>
#include <utility>

#include "comfort/self_voicing.h"

namespace tsukikage {
namespace {

std::string_view Words(Language language, std::string_view english, std::string_view japanese) {
    return language == Language::Japanese ? japanese : english;
}

}  // namespace

SpeechdSpeaker::SpeechdSpeaker(Language language, std::function<void(std::string_view)> note)
    : language_(language), note_(std::move(note)) {}

SpeechdSpeaker::~SpeechdSpeaker() {
    if (connection_) spd_close(connection_);
}

bool SpeechdSpeaker::Connect() {
    if (connection_) return true;
    if (failed_) return false;
    // A daemon that goes away would otherwise end the game with the next word written to it.
    std::signal(SIGPIPE, SIG_IGN);
    char* error = nullptr;
    connection_ = spd_open2("tsukikage", "pages", nullptr, SPD_MODE_SINGLE, nullptr, 1, &error);
    if (!connection_) {
        failed_ = true;
        std::string line(Words(language_,
                               "self-voicing is off for this run: speech-dispatcher cannot be "
                               "reached",
                               "読み上げはできません: speech-dispatcher に接続できません"));
        if (error) line += std::string(" (") + error + ")";
        std::free(error);
        note_(line);
        return false;
    }
    spd_set_language(connection_, "ja");
    bool japanese = false;
    SPDVoice** voices = spd_list_synthesis_voices(connection_);
    for (SPDVoice** voice = voices; voice && *voice; ++voice) {
        if ((*voice)->language && IsJapaneseVoice((*voice)->language)) japanese = true;
    }
    if (!japanese) {
        note_(Words(language_,
                    "speech-dispatcher has no Japanese voice: the pages are read by its default "
                    "voice (see the README for one)",
                    "speech-dispatcher に日本語の声がありません: 既定の声で読み上げます"
                    "（README を参照）"));
    }
    if (voices) free_spd_voices(voices);
    return true;
}

void SpeechdSpeaker::Say(std::string_view text) {
    if (text.empty() || !Connect()) return;
    if (spd_say(connection_, SPD_TEXT, std::string(text).c_str()) < 0) Lost();
}

void SpeechdSpeaker::Stop() {
    if (connection_ && spd_cancel(connection_) < 0) Lost();
}

void SpeechdSpeaker::Lost() {
    spd_close(connection_);
    connection_ = nullptr;
    failed_ = true;
    note_(Words(language_, "self-voicing stopped: the connection to speech-dispatcher was lost",
                "読み上げを止めました: speech-dispatcher との接続が切れました"));
}

}  // namespace tsukikage
