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
    // A replayed scene starts from the line after its start marker: it sets the window and
    // the game screen itself. Its end marker stands just after a wait line: the replay shows
    // its last page whole, and the click on it brings the list back (text read before the
    // marker in the same advance would be replaced by the list at once). Normal play passes
    // the markers over.
    ".h 1",
    ".l Data\\window.bmp",
    ".c 2",
    ".v se\\chime.wav",
    "風が渡るたび、軒の風鈴が小さく鳴る。",
    "遠くで梟が二度鳴いて、それきり黙った。",
    ".",
    "眠ろうとして目を閉じても、",
    "まぶたの裏に、月の白さが残っている。",
    "私はあきらめて、膝を抱え直した。",
    ".",
    ".c 3",
    "ふと、背後の床板がきしんだ。",
    "回廊の奥から、小さな灯りが近づいてくる。",
    ".",
    "「眠れないのかい」",
    "振り向くと、手燭を提げた老僧が立っていた。",
    ".",
    ".h 2",
    // A saved game resumes at the part marker of its choice, from the loading picture: each
    // marker sets the window and the scene's picture again, then the choice block follows
    // with nothing that waits in between. A block is five lines: target and caption of each
    // choice, then one line left unread.
    ".p 1",
    ".l Data\\window.bmp",
    ".c 3",
    ".s",
    "Ａ１",
    "「月が明るすぎて」と答える",
    "Ｂ１",
    "黙って首を横に振る",
    "",
    // Each branch shows its own picture first: other choices jump here too.
    ".Ａ１",
    ".c 3",
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
    ".l Data\\window.bmp",
    ".c 4",
    ".s",
    "Ａ２",
    "手燭を借りて、回廊の奥へ歩いてみる",
    "Skip",
    "ここに座って、月の番を続ける",
    "",
    ".c 4",
    "やがて老僧は立ち上がり、手燭を私に手渡した。",
    "「朝まで、月の番を頼むよ」",
    ".",
    "足音が遠ざかり、回廊にはまた私ひとり。",
    "手燭の炎が、柱の影をかすかに揺らしている。",
    ".",
    ".p 5",
    ".l Data\\window.bmp",
    ".c 4",
    ".s",
    "Skip",
    "手燭を床に置いて、炎を見つめる",
    "Ｅ５",
    "手燭を掲げて、柱をもう一度数える",
    "",
    ".c 4",
    "手燭を床に置くと、炎はまっすぐに立った。",
    "いつのまにか、風がやんでいる。",
    ".",
    // Both answers meet here; reading on passes the label line over.
    ".月の番",
    ".h 5",
    ".l Data\\window.bmp",
    ".c 7",
    "私は膝を抱えて、もう一度庭を見た。",
    "白砂の上で、月はまだ静かに光っていた。",
    "",
    "夜明けまでは、まだ長い。",
    ".",
    "手燭の炎が細るたびに、芯を少し切る。",
    "風鈴が鳴り、梟が鳴き、また静かになる。",
    "そうして、いくつもの時が過ぎた。",
    ".",
    ".x midi\\dawn.mid",
    ".d 7",
    "東の山の端が、ほんの少し白みはじめた。",
    "一本多かったはずの柱は、",
    "いつのまにか、元の数に戻っていた。",
    ".",
    "「ご苦労さま」と、背後で老僧の声がした。",
    "振り向いても、そこには朝の光があるだけだった。",
    ".",
    ".h 6",
    ".f 2",
    "　　　　　　　―― 第二の結末「月の番」 ――",
    ".",
    ".j 終幕",
    ".Ｅ５",
    ".c 4",
    "手燭を掲げて数えると、柱は十二本。",
    "さっき一本多く見えたのは、気のせいだったのか。",
    ".",
    ".j 月の番",
    ".Ａ２",
    "手燭を借りて、私はひとり回廊の奥へ歩き出した。",
    "柱を数える。十、十一、十二……。",
    ".c 4",
    ".",
    ".c 5",
    "十三本目の柱の陰に、小さな木戸があった。",
    "戸の隙間から、細く白い光が漏れている。",
    ".",
    ".p 4",
    ".l Data\\window.bmp",
    ".c 5",
    ".s",
    "Skip",
    "木戸を押し開ける",
    "Ｄ４",
    "戸を叩いて、声をかけてみる",
    "",
    ".c 5",
    "私はそっと、木戸に手をかけた。",
    ".",
    ".木戸",
    ".h 3",
    ".l Data\\window.bmp",
    ".c 5",
    ".d 5",
    "押し開けると、まぶしい昼の庭が広がっていた。",
    "白砂が日に光り、どこかで蝉が鳴いている。",
    ".",
    "夜の冷たさが嘘のように、頬に日射しが暖かい。",
    "縁側では、見知らぬ子どもたちが",
    "手まりをついて遊んでいた。",
    ".",
    "「お客さんだ」と一人が言って、笑った。",
    "私もつられて、なぜだか笑ってしまった。",
    ".",
    "振り返ると、木戸も回廊も、もうどこにもなかった。",
    ".",
    ".h 4",
    ".f 1",
    "　　　　　　　―― 第一の結末「昼の庭」 ――",
    ".",
    ".j 終幕",
    ".Ｄ４",
    ".c 5",
    "とん、とん、と戸を叩く。返事はない。",
    "けれど戸の向こうで、小鳥が一羽さえずった。",
    ".",
    ".j 木戸",
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
    ".l Data\\window.bmp",
    ".c 3",
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
    ".p 6",
    ".l Data\\window.bmp",
    ".c 9",
    ".s",
    "Skip",
    "山道を下ってみる",
    "Ｇ６",
    "その場で立ち止まる",
    "",
    ".c 9",
    "小道を下っていくと、足もとで小石が鳴った。",
    ".",
    ".山道",
    ".v se\\chime.wav",
    "どこか遠くで、風鈴がひとつ鳴った気がした。",
    "見上げれば、回廊で見たのと同じ月が出ていた。",
    ".",
    ".f 3",
    "　　　　　　―― 第三の結末「消えた灯り」 ――",
    ".",
    ".j 終幕",
    ".Ｇ６",
    ".c 9",
    "立ち止まると、虫の声がいっせいに止んだ。",
    "私は息をひそめて、闇の先を見つめた。",
    ".",
    ".j 山道",
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
