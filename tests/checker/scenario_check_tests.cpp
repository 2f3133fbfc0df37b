// The scenario checker: silent on the demo, one line for each fault planted in a copy of it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "base/text_codec.h"
#include "checker/scenario_check.h"
#include "fakes/game_fixture.h"

namespace tsukikage {
namespace {

namespace fs = std::filesystem;

class ScenarioCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string command = "\"" MAKE_DEMO_PROGRAM "\" \"" + folder.path().string() + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    void Append(const fs::path& file, std::string_view bytes) {
        std::ofstream out(file, std::ios::binary | std::ios::app);
        out << bytes;
    }
    std::vector<std::string> Check() {
        return CheckGame(GameFolder(folder.path()), Language::Japanese);
    }
    test_support::TempFolder folder;
};

TEST_F(ScenarioCheckTest, TheDemoIsClean) {
    EXPECT_EQ(Check(), std::vector<std::string>{});
}

TEST_F(ScenarioCheckTest, EveryPlantedFaultIsReportedOnItsLine) {
    std::ifstream in(folder.path() / "datafile", std::ios::binary);
    const std::string scenario{std::istreambuf_iterator<char>(in), {}};
    int lines = 0;
    for (char c : scenario) lines += c == '\n' ? 1 : 0;
    const std::vector<std::string> planted = {
        ".j どこにもない",
        ".c 7",
        ".c 251",
        ".a 9",
        ".l Data\\ない.bmp",
        ".v se\\ない",
        ".y ない.mid",
        ".p 1",
        ".p 一",
        ".h 7",
        ".f 4",
        ".s",
        "どこにもない",
        "行く",
        "Skip",
        "戻る",
        "-",
    };
    std::string bytes;
    for (const std::string& line : planted) bytes += Utf8ToCp932(line) + "\r\n";
    bytes += "\x81\r\n";  // a lead byte with nothing after it
    Append(folder.path() / "datafile", bytes);
    // The demo's pictures go up to 9; the record's count says so too (its flags cut off).
    std::ofstream(folder.path() / "cgmode.dat", std::ios::binary) << "9\r\n";
    Append(folder.path() / "list.dat", Utf8ToCp932("\"無い曲\"\r\n"));
    std::ofstream(folder.path() / "list.dat", std::ios::binary | std::ios::in | std::ios::out)
        << "5";  // the count now names the extra track
    std::ofstream(folder.path() / "Scenelist.dat", std::ios::binary) << "many\r\n";

    const auto at = [&](int offset, std::string text) {
        return "datafile:" + std::to_string(lines + offset) + ": " + text;
    };
    const std::vector<std::string> expected = {
        at(1, "ラベル「どこにもない」がありません"),
        at(3, "画像番号 251 は 1 から 250 の外です"),
        at(4, "画像番号 10 は cgmode.dat の数 9 を超えています"),
        at(4, "画像「\\data\\010.jpg」が見つかりません"),
        at(5, "窓の画像「Data\\ない.bmp」が見つかりません"),
        at(6, "効果音「se\\ない」が見つかりません"),
        at(7, "音楽「ない.mid」が見つかりません"),
        at(8, "パート番号 1 は " + std::to_string(0) + " 行目にもあります"),
        at(9, "パート番号「一」が数値ではありません"),
        at(10, "シーン番号 7 の相手 8 がありません"),
        at(11, "エンディング番号 4 は 1 から 3 の外です"),
        at(13, "ラベル「どこにもない」がありません"),
        at(18, "CP932 として読めないバイトがあります"),
        "list.dat: 曲「無い曲」が見つかりません",
        "Scenelist.dat: 読めません（型が一致しません。）",
    };
    std::vector<std::string> found = Check();
    // The part marker 1 stands earlier in the demo: take its line from the report.
    for (std::string& line : found) {
        const auto pos = line.find("パート番号 1 は ");
        if (pos != std::string::npos)
            line = line.substr(0, pos) + "パート番号 1 は 0 行目にもあります";
    }
    EXPECT_EQ(found, expected);
}

// The findings on the lines of a scenario checked on its own (beside a file "曲.mid") whose
// message holds `about`.
std::vector<std::string> ScenarioFindings(const std::vector<std::string_view>& lines,
                                          std::string_view about) {
    test_support::TempFolder folder;
    std::string text;
    for (std::string_view line : lines) text += fakes::Scenario({line});
    folder.Write("datafile", text);
    folder.Write("曲.mid");
    std::vector<std::string> found;
    for (const std::string& line : CheckGame(GameFolder(folder.path()), Language::Japanese)) {
        if (line.starts_with("datafile:") && line.find(about) != std::string::npos) {
            found.push_back(line);
        }
    }
    return found;
}

// A jump that reads back to itself with nothing between that waits is reported once, at the
// first jump of the loop; a way back that waits is no loop.
TEST(ScenarioCheckLoopTest, AJumpLoopWithoutAWaitIsReportedAtItsFirstJump) {
    const struct {
        std::vector<std::string_view> lines;
        std::vector<std::string> found;
    } cases[] = {
        {{".L", ".j L"},
         {"datafile:2: "
          "ラベル「L」へのジャンプが、待つ行も選択肢もないまま繰り返されます（終わらないループ）"}},
        {{"文", ".A", ".j B", "文", ".B", ".z", ".p 1", ".j A"},
         {"datafile:3: "
          "ラベル「B」へのジャンプが、待つ行も選択肢もないまま繰り返されます（終わらないループ）"}},
        {{".", ".jL"},  // the empty label: the wait line's own
         {"datafile:2: "
          "ラベル「」へのジャンプが、待つ行も選択肢もないまま繰り返されます（終わらないループ）"}},
        {{".L", ".", ".j L"}, {}},
        {{".L", ".s", "L", "甲", "L", "乙", "-", ".j L"}, {}},
        {{".L", ".y 曲.mid", ".j L"}, {}},
        {{".j B", ".A", ".j C", ".B", ".j A", ".C", "."}, {}},
        {{".j B", ".A", ".B", ".j A", ".E"},
         {"datafile:4: "
          "ラベル「A」へのジャンプが、待つ行も選択肢もないまま繰り返されます（終わらないループ）"}},
        // Entered at its later jump: still reported at its first.
        {{".j B", ".A", ".j B", ".B", ".j A"},
         {"datafile:3: "
          "ラベル「B」へのジャンプが、待つ行も選択肢もないまま繰り返されます（終わらないループ）"}},
        // A choice jumped over is never shown; one read after a label breaks the loop.
        {{".A", ".j B", ".s", "A", "甲", "B", "乙", "-", ".B", ".j A"},
         {"datafile:2: "
          "ラベル「B」へのジャンプが、待つ行も選択肢もないまま繰り返されます（終わらないループ）"}},
        {{".j B", ".A", ".s", "A", "甲", "B", "乙", "-", ".B", ".j A"}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScenarioFindings(c.lines, "ループ"), c.found)
            << c.lines.size() << " lines, first " << c.lines.front();
    }
}

// A choice block's second target is reported on its own line; a block that the end of the
// file cuts short of its five lines is reported at its command.
TEST(ScenarioCheckChoiceTest, TargetsOnTheirLinesAndABlockCutShort) {
    EXPECT_EQ(ScenarioFindings({".s", "Skip", "甲", "無い", "乙", "-"}, ""),
              std::vector<std::string>{"datafile:4: ラベル「無い」がありません"});
    EXPECT_EQ(ScenarioFindings({".s", "Skip", "甲", "Skip", "乙"}, ""),
              std::vector<std::string>{"datafile:1: 選択肢の行が足りません"});
}

// A sound the player finds but cannot play is named with what is wrong: a wave's encoding
// that nothing decodes, a RIFF MIDI file with no MIDI inside, a wave with no data.
TEST(ScenarioCheckSoundTest, SoundsThatCannotPlayAreNamedWithTheirEncoding) {
    const auto wave = [](std::uint16_t tag, bool with_data) {
        std::string fmt = std::string(1, static_cast<char>(tag & 0xFF)) +
                          static_cast<char>(tag >> 8) + std::string("\x01\0\x44\xAC\0\0", 6) +
                          std::string(6, '\0') + std::string("\x10\0", 2);
        std::string body = "WAVEfmt " + std::string("\x10\0\0\0", 4) + fmt;
        if (with_data) body += "data" + std::string("\x02\0\0\0\0\0", 6);
        return "RIFF" + std::string(4, '\x20') + body;
    };
    test_support::TempFolder folder;
    folder.Write("datafile", fakes::Scenario({".v se\\gsm", ".v se\\speech", ".r se\\empty",
                                              ".y m\\x.rmi", ".x m\\ok.rmi", "."}));
    folder.Write("se/gsm.wav", wave(0x0031, true));
    folder.Write("se/speech.wav", wave(0x0022, true));
    folder.Write("se/empty.wav", wave(0x0001, false));
    folder.Write("m/x.rmi", std::string("RIFF\x0C\0\0\0RMIDdata\0\0\0\0", 20));
    folder.Write("m/ok.rmi", std::string("RIFF\x16\0\0\0RMIDdata\x0E\0\0\0MThd", 24) +
                                 std::string("\0\0\0\x06\0\0\0\x01\0\x60", 10));
    folder.Write("list.dat", fakes::Scenario({"2", "\"speech\"", "\"gsm\""}));
    folder.Write("bgm/speech.wav", wave(0x0022, true));
    folder.Write("bgm/gsm.wav", wave(0x0031, true));
    folder.Write("Scenelist.dat", "0\r\n");
    const std::vector<std::string> expected = {
        "datafile:2: 効果音「se\\speech」の符号化 TrueSpeech (0x0022) は再生できません",
        "datafile:3: 効果音「se\\empty」は WAVE として読めません",
        "datafile:4: 音楽「m\\x.rmi」の RIFF に MIDI がありません",
        "list.dat: 曲「speech」の符号化 TrueSpeech (0x0022) は再生できません",
    };
    std::vector<std::string> found;
    for (const std::string& line : CheckGame(GameFolder(folder.path()), Language::Japanese)) {
        if (line.find("画像") == std::string::npos && line.find("cgmode") == std::string::npos) {
            found.push_back(line);
        }
    }
    EXPECT_EQ(found, expected);
}

}  // namespace
}  // namespace tsukikage
