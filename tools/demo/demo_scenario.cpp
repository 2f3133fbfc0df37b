#include "demo_scenario.h"

#include "base/text_codec.h"

namespace tsukikage::demo {
namespace {

// A quiet night in a moonlit temple corridor. The message area holds four lines of about
// 26 full-width characters: keep every page within that.
constexpr std::string_view kLines[] = {
    // The first page is shown as soon as a new game starts.
    "月の明るい夜だった。",
    "寺の者がみな寝静まったあと、",
    "私はひとり、西の回廊に座っていた。",
    ".l Data\\window.bmp",
    ".c 1",
    // Looping music holds the page like a wait line.
    ".y midi\\theme.mid",
    ".a 1",
    "板張りの床は、ひやりと冷たい。",
    "欄干の向こうで、庭の白砂が月を映している。",
    "柱の影が一本、また一本と、床に長く伸びていた。",
    ".",
    ".v se\\chime.wav",
    "風が渡るたび、軒の風鈴が小さく鳴る。",
    "遠くで梟が二度鳴いて、それきり黙った。",
    ".",
    ".c 3",
    "「眠れないのかい」",
    "振り向くと、手燭を提げた老僧が立っていた。",
    ".",
    // Every part marker stands directly before a choice block: a saved game resumes there.
    // A block is five lines: target and caption of each choice, then one line left unread.
    ".p 1",
    ".s",
    "Ａ１",
    "「月が明るすぎて」と答える",
    "Ｂ１",
    "黙って首を横に振る",
    "",
    ".Ａ１",
    "「月が明るすぎて」と答えると、",
    "老僧は笑って、私の隣に腰を下ろした。",
    ".",
    ".r se\\wind.wav",
    "二人で黙って、月を見上げた。",
    "薄い雲がひとつ、ゆっくりと月の前を渡っていく。",
    ".",
    ".b 3",
    "「この回廊はな、月の夜にだけ少し長くなる」",
    "老僧はそう言って、闇の奥を指さした。",
    ".",
    "数えてみると、確かに柱が一本多い気がした。",
    "けれど、不思議と怖くはなかった。",
    "木の匂いと、線香の名残りが静かに漂っている。",
    ".",
    // "Skip" reads on below the block.
    ".p 2",
    ".s",
    "Ａ２",
    "手燭を借りて、回廊の奥へ歩いてみる",
    "Skip",
    "ここに座って、月の番を続ける",
    "",
    "やがて老僧は立ち上がり、手燭を私に手渡した。",
    "「朝まで、月の番を頼むよ」",
    ".",
    "足音が遠ざかり、回廊にはまた私ひとり。",
    "手燭の炎が、柱の影をかすかに揺らしている。",
    ".",
    ".c 7",
    "私は膝を抱えて、もう一度庭を見た。",
    "白砂の上で、月はまだ静かに光っていた。",
    "",
    "夜明けまでは、まだ長い。",
    ".",
    ".x midi\\dawn.mid",
    ".d 7",
    "東の山の端が、ほんの少し白みはじめた。",
    "一本多かったはずの柱は、",
    "いつのまにか、元の数に戻っていた。",
    ".",
    ".f 2",
    "　　　　　　　―― 第二の結末「月の番」 ――",
    ".",
    ".j 終幕",
    ".Ａ２",
    "手燭を借りて、私はひとり回廊の奥へ歩き出した。",
    "柱を数える。十、十一、十二……。",
    ".c 4",
    ".",
    ".c 5",
    ".d 5",
    "十三本目の柱の陰に、小さな木戸があった。",
    "押し開けると、まぶしい昼の庭が広がっていた。",
    ".",
    ".f 1",
    "　　　　　　　―― 第一の結末「昼の庭」 ――",
    ".",
    ".j 終幕",
    ".Ｂ１",
    "私が黙って首を振ると、",
    "老僧はそれ以上何も訊かず、闇の奥へ去っていった。",
    ".",
    ".r se\\wind.wav",
    "回廊の灯りが、ひとつ、またひとつと消えていく。",
    "最後の灯りが、ゆらりと角を曲がって見えなくなった。",
    ".",
    // Calling the monk back joins the first branch's answer.
    ".p 3",
    ".s",
    "Ｃ３",
    "消えた灯りを追いかける",
    "Ａ１",
    "老僧を呼び止める",
    "",
    ".Ｃ３",
    ".c 9",
    "灯りを追って角を曲がると、",
    "そこはもう、見知らぬ山の小道だった。",
    "振り返っても、回廊はどこにもない。",
    ".",
    ".f 3",
    "　　　　　　―― 第三の結末「消えた灯り」 ――",
    ".",
    ".終幕",
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

namespace {

template <typename Line>
std::string Cp932Lines(std::span<const Line> lines) {
    std::string bytes;
    for (std::string_view line : lines) {
        bytes += Utf8ToCp932(line);
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace

std::string GameText(std::span<const std::string_view> lines) {
    return Cp932Lines(lines);
}

std::string GameText(std::span<const std::string> lines) {
    return Cp932Lines(lines);
}

std::string ScenarioFile() {
    return GameText(kLines);
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
