#include "base/messages.h"

#include <cstdlib>
#include <iterator>

#include "base/runtime_error.h"

namespace tsukikage {
namespace {

struct Row {
    std::string_view english;
    std::string_view japanese;
};

// Indexed by Message, in its order.
constexpr Row kTexts[] = {
    // Usage
    {"usage: {1} [options] [game folder]\n"
     "Plays the game in the game folder (the folder that holds \"datafile\"); without\n"
     "one, the folder the program lives in.\n"
     "\n"
     "  --scale N     show the game N times as large (1 to 8; the default suits the\n"
     "                display; a size larger than the screen gives way to the largest\n"
     "                that fits); Ctrl+1 to Ctrl+4 change it while playing, Ctrl+0 picks\n"
     "                the largest that fits the screen\n"
     "  --fullscreen  start on the full screen (F11 or Alt+Return switch)\n"
     "  --check       check the game folder's scenario and lists, print what is wrong,\n"
     "                and exit with status 1 if anything was found (0 when clean)\n"
     "  --version     print the version\n"
     "  --help        print this text\n",
     "使い方: {1} [オプション] [ゲームフォルダ]\n"
     "ゲームフォルダ（「datafile」のあるフォルダ）のゲームを遊びます。指定がなければ、\n"
     "プログラムのあるフォルダのゲームを遊びます。\n"
     "\n"
     "  --scale N     ゲームを N 倍の大きさで表示します（1 から 8。既定は画面に合った\n"
     "                大きさ。画面より大きければ収まる最大の大きさになります）。遊ぶ間は\n"
     "                Ctrl+1 から Ctrl+4 で変わり、Ctrl+0 で画面に収まる最大になります\n"
     "  --fullscreen  全画面で始めます（F11 か Alt+Return で切り替わります）\n"
     "  --check       ゲームフォルダのシナリオとリストを調べて問題を表示し、見つかれば\n"
     "                終了状態 1、なければ 0 で終わります\n"
     "  --version     バージョンを表示します\n"
     "  --help        この説明を表示します\n"},
    // ScaleNeeded
    {"--scale needs a whole number from 1 to 8", "--scale には 1 から 8 の整数が必要です"},
    // ScaleNotThis
    {"--scale needs a whole number from 1 to 8, not \"{1}\"",
     "--scale には 1 から 8 の整数が必要です（「{1}」は使えません）"},
    // UnknownOption
    {"unknown option {1} (see --help)", "{1} というオプションはありません（--help を参照）"},
    // OneFolderOnly
    {"only one game folder can be given", "ゲームフォルダは一つしか指定できません"},
    // NotAFolder
    {"{1}: not a folder", "{1}: フォルダではありません"},
    // NoGameHere
    {"{1}: no game here (there is no \"datafile\")",
     "{1}: ゲームがありません（「datafile」がありません）"},
    // ScaleTooLarge
    {"--scale {1} does not fit the screen: the game is shown at scale {2}, the largest that fits",
     "--scale {1} は画面に収まらないので、収まる最大の {2} 倍で表示します"},
    // SoundFontMissing
    {"the music stays silent: the soundfont {1} is not there (set {2} to another .sf2 or .sf3 "
     "file)",
     "音楽は鳴りません: サウンドフォント {1} がありません（{2} で別の .sf2 か .sf3 "
     "を指定できます）"},
    // NotASoundFont
    {"the music stays silent: the soundfont {1} is not a soundfont (set {2} to another .sf2 or "
     ".sf3 file)",
     "音楽は鳴りません: {1} はサウンドフォントではありません（{2} で別の .sf2 か .sf3 "
     "を指定できます）"},
    // SoundFontUnreadable
    {"the music stays silent: the soundfont {1} cannot be read (set {2} to another .sf2 or .sf3 "
     "file)",
     "音楽は鳴りません: サウンドフォント {1} を読めません（{2} で別の .sf2 か .sf3 "
     "を指定できます）"},
    // CheckClean
    {"no faults found", "問題は見つかりませんでした"},
    // NoScenario
    {"there is no scenario file", "シナリオファイルがありません"},
    // CannotRead
    {"cannot be read ({1})", "読めません（{1}）"},
    // NotCp932
    {"holds bytes that do not read as CP932", "CP932 として読めないバイトがあります"},
    // NotANumber
    {"{1} \"{2}\" is not a number", "{1}「{2}」が数値ではありません"},
    // NotFound
    {"{1} \"{2}\" is not found", "{1}「{2}」が見つかりません"},
    // NotWave
    {"{1} \"{2}\" does not read as WAVE", "{1}「{2}」は WAVE として読めません"},
    // EncodingNotPlayable
    {"{1} \"{2}\" is encoded as {3}, which cannot be played",
     "{1}「{2}」の符号化 {3} は再生できません"},
    // RiffWithoutMidi
    {"{1} \"{2}\" is RIFF with no MIDI inside", "{1}「{2}」の RIFF に MIDI がありません"},
    // PictureOutOfRange
    {"picture number {1} is outside 1 to 250", "画像番号 {1} は 1 から 250 の外です"},
    // PictureAboveCount
    {"picture number {1} is above the count {2} of cgmode.dat",
     "画像番号 {1} は cgmode.dat の数 {2} を超えています"},
    // NoLabel
    {"there is no label \"{1}\"", "ラベル「{1}」がありません"},
    // ChoiceCutShort
    {"the choice lacks lines", "選択肢の行が足りません"},
    // PartTwice
    {"part number {1} is also on line {2}", "パート番号 {1} は {2} 行目にもあります"},
    // EndingOutOfRange
    {"ending number {1} is outside 1 to 3", "エンディング番号 {1} は 1 から 3 の外です"},
    // EndlessJump
    {"the jump to label \"{1}\" comes back with no line that waits and no choice between "
     "(an endless loop)",
     "ラベル「{1}」へのジャンプが、待つ行も選択肢もないまま繰り返されます（終わらないループ）"},
    // NoScenePartner
    {"scene number {1} has no partner {2}", "シーン番号 {1} の相手 {2} がありません"},
    // ListMissing
    {"is missing", "ありません"},
    // ListCountOutOfRange
    {"count {1} is outside 0 to 10", "数 {1} は 0 から 10 の外です"},
    // PictureNumber ... Track
    {"picture number", "画像番号"},
    {"part number", "パート番号"},
    {"scene number", "シーン番号"},
    {"ending number", "エンディング番号"},
    {"picture", "画像"},
    {"window picture", "窓の画像"},
    {"sound effect", "効果音"},
    {"music", "音楽"},
    {"track", "曲"},
};
static_assert(std::size(kTexts) == static_cast<std::size_t>(Message::Track) + 1);

bool IsJapanese(std::string_view locale) {
    if (locale.starts_with("japanese")) return true;
    if (!locale.starts_with("ja")) return false;
    // "ja" alone or with a territory, codeset or modifier; not "jam" or "jv".
    return locale.size() == 2 || locale[2] == '_' || locale[2] == '.' || locale[2] == '@';
}

}  // namespace

Language LanguageFromLocale(const char* lc_all, const char* lc_messages, const char* lang) {
    for (const char* value : {lc_all, lc_messages, lang}) {
        if (value && *value) return IsJapanese(value) ? Language::Japanese : Language::English;
    }
    return Language::English;
}

Language LanguageFromEnvironment() {
    return LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                              std::getenv("LANG"));
}

std::string Text(Language language, Message message,
                 std::initializer_list<std::string_view> arguments) {
    const Row& row = kTexts[static_cast<std::size_t>(message)];
    const std::string_view text = language == Language::Japanese ? row.japanese : row.english;
    // One pass, so an argument that holds "{2}" is printed as it is.
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{' && i + 2 < text.size() && text[i + 2] == '}' && text[i + 1] >= '1' &&
            static_cast<std::size_t>(text[i + 1] - '1') < arguments.size()) {
            result += *(arguments.begin() + (text[i + 1] - '1'));
            i += 2;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::string ErrorText(Language language, int number) {
    return language == Language::Japanese ? ErrorDescription(number)
                                          : EnglishErrorDescription(number);
}

}  // namespace tsukikage
