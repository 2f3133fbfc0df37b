#include "base/game_folder.h"

#include <gtest/gtest.h>

#include "fakes/test_support.h"

namespace tsukikage {
namespace {

using test_support::TempFolder;

// Raw CP932 spellings of names the game uses.
const std::string kDaimeiJpg = "\x91\xE8\x96\xBC.jpg";  // 題名.jpg
const std::string kSonTxt = "\x83\x5C\x83\x93.txt";     // ソン.txt, 0x5C as a second byte

class GameFolderTest : public ::testing::Test {
  protected:
    // The name of a found entry as the bytes on disk, or "<none>".
    std::string Found(const std::optional<std::filesystem::path>& path) const {
        return path ? path->lexically_relative(temp_.path()).string() : "<none>";
    }

    TempFolder temp_;
    GameFolder folder_{temp_.path()};
};

TEST_F(GameFolderTest, MatchesRawCp932NamesAndMixedCaseFolders) {
    temp_.Write("Data/" + kDaimeiJpg);
    temp_.Write(kSonTxt);
    EXPECT_EQ(Found(folder_.Find("\\data\\題名.JPG")), "Data/" + kDaimeiJpg);
    EXPECT_EQ(Found(folder_.Find("DATA/題名.jpg")), "Data/" + kDaimeiJpg);
    EXPECT_EQ(Found(folder_.Find("ソン.TXT")), kSonTxt);
    EXPECT_EQ(Found(folder_.Find("\\Data")), "Data");
    EXPECT_EQ(Found(folder_.Find("\\data\\題名.png")), "<none>");
}

TEST_F(GameFolderTest, MatchesUtf8NamesIgnoringAsciiAndFullWidthCase) {
    temp_.Write("BGM/Theme.WAV");
    temp_.Write("ＡＢＣ.txt");
    EXPECT_EQ(Found(folder_.Find("bgm\\theme.wav")), "BGM/Theme.WAV");
    EXPECT_EQ(Found(folder_.Find("ａｂｃ.TXT")), "ＡＢＣ.txt");
    EXPECT_EQ(Found(folder_.Find("abc.txt")), "<none>");  // half-width is another name
}

TEST_F(GameFolderTest, MatchesAcrossNormalisationForms) {
    temp_.Write("か\u3099ハ\u309A.txt");  // NFD spelling of がパ.txt
    temp_.Write("ゔヴ.txt");
    EXPECT_EQ(Found(folder_.Find("がパ.txt")), "か\u3099ハ\u309A.txt");
    EXPECT_EQ(Found(folder_.Find("う\u3099ウ\u3099.TXT")), "ゔヴ.txt");
}

TEST(FileNameKey, ComposesKanaAndFoldsCase) {
    EXPECT_EQ(FileNameKey("う\u3099ヽ\u3099ゝ\u3099ワ\u3099ヲ\u3099ホ\u309Aと\u3099"),
              "ゔヾゞヷヺポど");
    EXPECT_EQ(FileNameKey("SAVE1.Dat"), "save1.dat");
    EXPECT_EQ(FileNameKey("ＡＺａ"), "ａｚａ");
    // Marks that compose with nothing stay as they are.
    EXPECT_EQ(FileNameKey("あ\u3099ナ\u309A\u3099"), "あ\u3099ナ\u309A\u3099");
    EXPECT_EQ(FileNameKey("\u3099x"), "\u3099x");
}

TEST_F(GameFolderTest, PrefersExactMatchThenSortedOrder) {
    temp_.Write("save.dat", "lower");
    temp_.Write("Save.dat", "mixed");
    EXPECT_EQ(Found(folder_.Find("save.dat")), "save.dat");
    EXPECT_EQ(Found(folder_.Find("Save.dat")), "Save.dat");
    EXPECT_EQ(Found(folder_.Find("SAVE.DAT")), "Save.dat");
}

TEST_F(GameFolderTest, RefusesNamesLeavingTheFolder) {
    temp_.Write("data/a.txt");
    EXPECT_EQ(Found(folder_.Find("..\\" + temp_.path().filename().string() + "\\data\\a.txt")),
              "<none>");
    EXPECT_EQ(Found(folder_.Find("data\\..\\data\\a.txt")), "<none>");
    EXPECT_EQ(Found(folder_.Find(".\\data\\a.txt")), "<none>");
    EXPECT_FALSE(folder_.PathForWriting("..\\evil.dat"));
    // The name ends at a null character, here leaving "..": refused, not a path whose
    // system call would see only "..".
    EXPECT_FALSE(folder_.PathForWriting(std::string("..\0x.dat", 8)));
    EXPECT_EQ(Found(folder_.Find(std::string("data\\a.txt\0.bmp", 15))), "data/a.txt");
    EXPECT_EQ(Found(folder_.Find("")), "<none>");
    EXPECT_EQ(Found(folder_.Find("\\\\")), "<none>");
}

TEST_F(GameFolderTest, DropsBlanksAndDotsEndingTheLastComponent) {
    temp_.Write("Data/back.bmp");
    temp_.Write("se/a.wav");
    temp_.Write("se/bell.wav");
    temp_.Write("dots./x.bmp");
    const struct {
        const char* name;
        const char* found;
    } finds[] = {
        {"\\Data\\back.bmp ", "Data/back.bmp"},
        {"data\\BACK.BMP . .", "Data/back.bmp"},
        {"se\\a.wav.", "se/a.wav"},
        {"se\\a.wav...   ", "se/a.wav"},
        {"data \\back.bmp", "<none>"},    // only the last component
        {"dots.\\x.bmp", "dots./x.bmp"},  // a folder's dots are its own
        {"data\\ ", "<none>"},            // nothing but blanks names nothing
        {"data\\. .", "<none>"},
        {"data\\.. ", "<none>"},  // never the folder above
        {"...", "<none>"},
    };
    for (const auto& f : finds) EXPECT_EQ(Found(folder_.Find(f.name)), f.found) << f.name;
    EXPECT_EQ(Found(folder_.FindSound("se\\bell. ")), "se/bell.wav");
    EXPECT_EQ(Found(folder_.FindSound("se\\a.wav.")), "se/a.wav");
    EXPECT_EQ(Found(folder_.PathForWriting("\\save2.dat. ")), "save2.dat");
    EXPECT_FALSE(folder_.PathForWriting("\\.. "));
}

TEST_F(GameFolderTest, UnlistableFoldersFindNothing) {
    temp_.Write("plain.txt");
    EXPECT_EQ(Found(folder_.Find("plain.txt\\x")), "<none>");
    GameFolder missing(temp_.path() / "nowhere");
    EXPECT_FALSE(missing.Find("x"));
    EXPECT_FALSE(missing.PathForWriting("x"));
}

TEST_F(GameFolderTest, SoundNamesWithoutExtensionFindWaveFiles) {
    temp_.Write("bgm/晩鐘テーマ曲.WAV");
    temp_.Write("se/bell");
    temp_.Write("se/bell.wav");
    temp_.Write("se/a.b.wav");
    EXPECT_EQ(Found(folder_.FindSound("\\BGM\\晩鐘テーマ曲")), "bgm/晩鐘テーマ曲.WAV");
    EXPECT_EQ(Found(folder_.Find("\\BGM\\晩鐘テーマ曲")), "<none>");
    EXPECT_EQ(Found(folder_.FindSound("se\\bell")), "se/bell");  // the name itself first
    EXPECT_EQ(Found(folder_.FindSound("se\\a.b")), "<none>");    // has an extension
    EXPECT_EQ(Found(folder_.FindSound("se\\a.b.wav")), "se/a.b.wav");
}

TEST_F(GameFolderTest, PathForWritingReusesMatchesAndCreatesInUtf8) {
    temp_.Write("save1.dat");
    temp_.MakeFolder("Data");
    EXPECT_EQ(Found(folder_.PathForWriting("\\SAVE1.DAT")), "save1.dat");
    EXPECT_EQ(Found(folder_.PathForWriting("\\data\\記録.dat")), "Data/記録.dat");
    EXPECT_FALSE(folder_.PathForWriting("\\nofolder\\x.dat"));
    EXPECT_FALSE(folder_.PathForWriting("\\save1.dat\\x.dat"));  // a file is no folder

    // A file created at the returned path is found afterwards in any case.
    temp_.Write("Data/記録.dat");
    EXPECT_EQ(Found(folder_.PathForWriting("\\DATA\\記録.DAT")), "Data/記録.dat");
}

TEST_F(GameFolderTest, ListingsAreCachedUntilForgotten) {
    EXPECT_FALSE(folder_.Find("late.txt"));
    temp_.Write("late.txt");
    EXPECT_FALSE(folder_.Find("late.txt"));
    folder_.Forget(temp_.path() / "");
    EXPECT_EQ(Found(folder_.Find("LATE.txt")), "late.txt");
}

// A name under a folder that Find returned is matched as the whole name would be, and the
// folder's listing is forgotten under any spelling of its path.
TEST_F(GameFolderTest, FindUnderAFoundFolderMatchesAsFindAndForgetsUnderAnySpelling) {
    temp_.Write("Data/Pic.JPG");
    temp_.Write("Data/sub/x.wav");
    const std::optional<std::filesystem::path> data = folder_.Find("\\data");
    ASSERT_TRUE(data);
    for (std::string_view name : {"pic.jpg", "\\PIC.jpg", "pic.jpg. ", "SUB\\x.wav", "sub/x.wav"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Found(folder_.FindUnder(*data, name)),
                  Found(folder_.Find("data\\" + std::string(name))));
        EXPECT_NE(Found(folder_.FindUnder(*data, name)), "<none>");
    }
    for (std::string_view name : {"..\\Data\\Pic.JPG", "sub\\..\\Pic.JPG", " ", "", "Pic.JPG\\x"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Found(folder_.FindUnder(*data, name)), "<none>");
    }

    temp_.Write("Data/late.jpg");
    EXPECT_FALSE(folder_.FindUnder(*data, "late.jpg"));
    EXPECT_FALSE(folder_.Find("\\data\\late.jpg"));
    folder_.Forget(temp_.path() / "Data" / ".");
    EXPECT_EQ(Found(folder_.FindUnder(*data, "LATE.jpg")), "Data/late.jpg");
    EXPECT_EQ(Found(folder_.Find("\\DATA\\late.jpg")), "Data/late.jpg");
}

// Find answers a name again from what it found before, until a new file is about to be
// written: a name missing before is then found once the file is there.
TEST_F(GameFolderTest, NamesFoundAreAnsweredAgainUntilANewFileIsWritten) {
    temp_.Write("Data/pic.jpg");
    EXPECT_EQ(Found(folder_.Find("\\DATA\\PIC.JPG")), "Data/pic.jpg");
    EXPECT_FALSE(folder_.Find("\\save1.dat"));
    EXPECT_FALSE(folder_.Find("\\data\\new.jpg"));
    ASSERT_NE(folder_.Lookup("\\data\\pic.jpg"), nullptr);
    EXPECT_EQ(Found(*folder_.Lookup("\\data\\pic.jpg")), "Data/pic.jpg");
    EXPECT_EQ(folder_.Lookup("\\save1.dat"), nullptr);
    std::filesystem::remove(temp_.path() / "Data" / "pic.jpg");
    EXPECT_EQ(Found(folder_.Find("\\DATA\\PIC.JPG")), "Data/pic.jpg");  // as listed

    const std::optional<std::filesystem::path> save = folder_.PathForWriting("\\save1.dat");
    ASSERT_TRUE(save);
    temp_.Write("save1.dat");
    temp_.Write("Data/new.jpg");
    EXPECT_EQ(Found(folder_.Find("\\SAVE1.DAT")), "save1.dat");
    EXPECT_EQ(Found(folder_.Find("\\save1.dat")), "save1.dat");
    // Only the folder written into is listed anew.
    EXPECT_FALSE(folder_.Find("\\data\\new.jpg"));
    EXPECT_EQ(Found(folder_.Find("\\DATA\\PIC.JPG")), "Data/pic.jpg");
}

// Copies of a folder keep answering after the original is gone.
TEST_F(GameFolderTest, CopiesKeepTheirOwnListings) {
    temp_.Write("a.txt");
    std::optional<GameFolder> original(folder_);
    EXPECT_TRUE(original->Find("A.TXT"));
    const GameFolder copy = *original;
    original.reset();
    temp_.Write("b.txt");
    EXPECT_EQ(Found(copy.Find("a.txt")), "a.txt");
    EXPECT_FALSE(copy.Find("b.txt"));  // the listing came along, cached
    copy.Forget(temp_.path());
    EXPECT_EQ(Found(copy.Find("b.txt")), "b.txt");
}

TEST(SplitGameName, SplitsOnBothSlashesDroppingEmptyParts) {
    EXPECT_EQ(SplitGameName("\\data\\\\smallsize/005.jpg"),
              (std::vector<std::string>{"data", "smallsize", "005.jpg"}));
    EXPECT_TRUE(SplitGameName("\\").empty());
}

}  // namespace
}  // namespace tsukikage
