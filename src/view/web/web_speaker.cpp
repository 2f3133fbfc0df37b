#include "view/web/web_speaker.h"

#include <emscripten.h>

#include <string>

namespace tsukikage::web {
namespace {

// clang-format off
EM_JS(void, PageSay, (const char* text), {
    if (typeof TsukikageVoice !== 'undefined') TsukikageVoice.say(UTF8ToString(text));
});
EM_JS(void, PageStopSaying, (), {
    if (typeof TsukikageVoice !== 'undefined') TsukikageVoice.stop();
});
// clang-format on

}  // namespace

void WebSpeaker::Say(std::string_view text) {
    PageSay(std::string(text).c_str());
}

void WebSpeaker::Stop() {
    PageStopSaying();
}

}  // namespace tsukikage::web
