#include "demo_scenario.h"

#include "platform/text_codec.h"

namespace tsukikage::demo {
namespace {

// A quiet night in a moonlit temple corridor. The message area holds four lines of about
// 26 full-width characters: keep every page within that.
constexpr std::string_view kLines[] = {
    // The first page is shown as soon as a new game starts.
    "月の明るい夜だった。",
    "寺の者がみな寝静まったあと、",
    "私はひとり、西の回廊に座っていた。",
    ".",
    ".l Data\\window.bmp",
    ".p 1",
    "板張りの床は、ひやりと冷たい。",
    "欄干の向こうで、庭の白砂が月を映している。",
    "柱の影が一本、また一本と、床に長く伸びていた。",
    ".",
    "風が渡るたび、軒の風鈴が小さく鳴る。",
    "遠くで梟が二度鳴いて、それきり黙った。",
    ".",
    "「眠れないのかい」",
    "振り向くと、手燭を提げた老僧が立っていた。",
    ".",
    "「月が明るすぎて」と答えると、",
    "老僧は笑って、私の隣に腰を下ろした。",
    ".",
    ".j Ａ１",
    // Passed over by the jump: never shown.
    "老僧は手燭を吹き消し、",
    "闇の中で、聞き取れない言葉を呟いた。",
    ".",
    "回廊の灯りが、ひとつ残らず消えていく。",
    ".",
    ".Ａ１",
    "二人で黙って、月を見上げた。",
    "薄い雲がひとつ、ゆっくりと月の前を渡っていく。",
    ".",
    ".p 2",
    "「この回廊はな、月の夜にだけ少し長くなる」",
    "老僧はそう言って、闇の奥を指さした。",
    ".",
    "数えてみると、確かに柱が一本多い気がした。",
    "けれど、不思議と怖くはなかった。",
    "木の匂いと、線香の名残りが静かに漂っている。",
    ".",
    "やがて老僧は立ち上がり、手燭を私に手渡した。",
    "「朝まで、月の番を頼むよ」",
    ".",
    "足音が遠ざかり、回廊にはまた私ひとり。",
    "手燭の炎が、柱の影をかすかに揺らしている。",
    ".",
    "私は膝を抱えて、もう一度庭を見た。",
    "白砂の上で、月はまだ静かに光っていた。",
    "",
    "夜明けまでは、まだ長い。",
    ".",
    "東の山の端が、ほんの少し白みはじめた。",
    "一本多かったはずの柱は、",
    "いつのまにか、元の数に戻っていた。",
    ".",
    "",
    "　　　　　　―― 月影回廊物語　体験版 ――",
    "",
    "　　　　　　　　　　　おわり",
    ".",
    ".E",
};

}  // namespace

std::span<const std::string_view> ScenarioLines() {
    return kLines;
}

std::string ScenarioFile() {
    std::string bytes;
    for (std::string_view line : kLines) {
        bytes += Utf8ToCp932(line);
        bytes += "\r\n";
    }
    return bytes;
}

std::filesystem::path GamePath(std::string_view name) {
    std::filesystem::path path;
    while (!name.empty()) {
        std::size_t cut = name.find('\\');
        std::string_view part = name.substr(0, cut);
        if (!part.empty()) path /= std::string(part);
        name = cut == std::string_view::npos ? std::string_view{} : name.substr(cut + 1);
    }
    return path;
}

}  // namespace tsukikage::demo
