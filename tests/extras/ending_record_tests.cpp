// Command "f" and "\endlist.dat": the marks, the exact bytes, and the records that are odd.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "base/runtime_error.h"
#include "fakes/game_fixture.h"

namespace tsukikage {
namespace {

using fakes::GameTest;
using fakes::ProcessEnded;

class EndingRecordTest : public GameTest {
  protected:
    // The game folder's listing is read once: the scenario is there from the start.
    void SetUp() override { WriteScenario({"."}); }
    std::filesystem::path RecordPath() const { return folder.path() / "endlist.dat"; }
    void WriteRecord(std::string_view bytes) { WriteGameFile("endlist.dat", bytes); }
    std::string Record() const {
        std::ifstream in(RecordPath(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // Starts a game whose second page reaches the ending with the given argument.
    void ReachEnding(std::string_view argument) {
        const std::string command = ".f " + std::string(argument);
        WriteScenario({".", command, "結末の後", "."});
        NewGame();
        Advance();
    }
    // Reaching the ending ends the program with the box carrying the error's description.
    void ExpectEndingFails(std::string_view argument, int error) {
        SCOPED_TRACE(argument);
        fakes.message_box.shown.clear();
        EXPECT_THROW(ReachEnding(argument), ProcessEnded);
        ASSERT_EQ(fakes.message_box.shown.size(), 1u);
        EXPECT_EQ(fakes.message_box.shown[0].text, ErrorDescription(error));
        EXPECT_EQ(fakes.message_box.shown[0].title, "ファイルエラー");
    }
};

TEST_F(EndingRecordTest, MarkIsWrittenAtOnceAndReadingGoesOn) {
    WriteRecord("3\r\n0\r\n0\r\n0\r\n");
    engine->extras.LoadEndingRecord();
    ReachEnding("2");
    EXPECT_EQ(Record(), "3\r\n0\r\n1\r\n0\r\n");
    EXPECT_EQ(engine->state.EndFlags[2], 1);
    EXPECT_EQ(Label(), "結末の後\r\n");
    ReachEnding("2");
    EXPECT_EQ(Record(), "3\r\n0\r\n1\r\n0\r\n");
    ReachEnding("3");
    EXPECT_EQ(Record(), "3\r\n0\r\n1\r\n1\r\n");
    // Nothing but the record is left behind by the rewrite.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 2u);  // datafile and endlist.dat
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

TEST_F(EndingRecordTest, FractionsRoundToTheNearestEndingAHalfToTheEvenOne) {
    const std::pair<const char*, int> cases[] = {
        {"2.5", 2}, {"1.5", 2}, {" 0.6 ", 1}, {"2.49", 2}, {"3e0", 3}};
    for (const auto& [argument, ending] : cases) {
        WriteRecord("3\r\n0\r\n0\r\n0\r\n");
        engine->extras.LoadEndingRecord();
        ReachEnding(argument);
        std::string expected = "3\r\n";
        for (int i = 1; i <= 3; ++i) expected += i == ending ? "1\r\n" : "0\r\n";
        EXPECT_EQ(Record(), expected) << argument;
    }
}

TEST_F(EndingRecordTest, BadEndingsStopTheProgramAndLeaveTheRecordAsItWas) {
    const std::string before = "3\r\n1\r\n0\r\n0\r\n";
    WriteRecord(before);
    engine->extras.LoadEndingRecord();
    ExpectEndingFails("0", err::kSubscriptOutOfRange);
    ExpectEndingFails("4", err::kSubscriptOutOfRange);
    ExpectEndingFails("3.5", err::kSubscriptOutOfRange);  // rounds to 4
    ExpectEndingFails("-1", err::kSubscriptOutOfRange);
    ExpectEndingFails("x", err::kTypeMismatch);
    ExpectEndingFails("", err::kTypeMismatch);
    ExpectEndingFails("1e20", err::kOverflow);
    EXPECT_EQ(Record(), before);
}

TEST_F(EndingRecordTest, CountIsWrittenBackAsReadWhateverTheEndingsReached) {
    WriteRecord("0\r\n");
    engine->extras.LoadEndingRecord();
    ReachEnding("1");
    EXPECT_EQ(engine->state.EndFlags[1], 1);  // for this run only
    EXPECT_EQ(Record(), "0\r\n");

    WriteRecord("2\r\n1\r\n0\r\n");
    engine->extras.LoadEndingRecord();
    ReachEnding("3");
    EXPECT_EQ(Record(), "2\r\n1\r\n0\r\n");  // the third mark has no line
    ReachEnding("2");
    EXPECT_EQ(Record(), "2\r\n1\r\n1\r\n");
    EXPECT_EQ(engine->state.EndFlags[3], 1);
}

// Every mark that reads is kept; a record that did not read whole is kept aside, once, before
// the first ending rewrites it.
TEST_F(EndingRecordTest, DamagedRecordsKeepEveryMarkThatReadsAndACopy) {
    struct Case {
        std::string_view bytes;
        int count;
        std::array<int, 3> flags;
        bool damaged;
    };
    const Case cases[] = {
        {"3,1,0,1", 3, {1, 0, 1}, false},                   // fields separated by commas
        {"3\r1\r0\r1\r", 3, {1, 0, 1}, false},              // CR-only line ends
        {"3\r\n1\r\n0\r\n1\r\nごみ", 3, {1, 0, 1}, false},  // trailing garbage is never read
        {"2\r\n1\r\n1\r\n", 2, {1, 1, 0}, false},
        {"3\r\n1\r\n", 3, {1, 0, 0}, true},              // cut short
        {"3\r\n1\r\n30", 3, {1, 30, 0}, true},           // cut short mid-mark
        {"3\r\n1\r\n300\r\n1\r\n", 3, {1, 0, 1}, true},  // a mark out of range
        {"5\r\n0\r\n1\r\n0\r\n1\r\n1\r\n", 3, {0, 1, 0}, true},
        {"300\r\n1\r\n1\r\n1\r\n", 3, {0, 0, 0}, true},  // a count that is no byte
        {"-1\r\n", 3, {0, 0, 0}, true},
        {"まる\r\n", 3, {0, 0, 0}, true},
        {"", 3, {0, 0, 0}, true},
    };
    const std::filesystem::path copy = folder.path() / "endlist.dat.damaged";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        std::filesystem::remove(copy);
        WriteRecord(c.bytes);
        engine->state.EndFlags = {9, 9, 9, 9};
        engine->extras.LoadEndingRecord();
        EXPECT_EQ(engine->state.EndCount, c.count);
        for (int i = 1; i <= 3; ++i) EXPECT_EQ(engine->state.EndFlags[i], c.flags[i - 1]) << i;
        ReachEnding("1");
        EXPECT_TRUE(fakes.message_box.shown.empty());
        EXPECT_EQ(Record(), EndingRecordBytes(engine->state));
        ASSERT_EQ(std::filesystem::exists(copy), c.damaged);
        if (c.damaged) {
            std::ifstream in(copy, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.bytes);
        }
    }
    // A later damage leaves the first copy as it was.
    WriteRecord("まる\r\n");
    engine->extras.LoadEndingRecord();
    ReachEnding("2");
    std::ifstream in(copy, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "");
}

TEST_F(EndingRecordTest, MissingRecordIsStartedForThreeEndings) {
    engine->extras.LoadEndingRecord();
    EXPECT_EQ(engine->state.EndCount, 3);
    ReachEnding("1");
    EXPECT_EQ(Record(), "3\r\n1\r\n0\r\n0\r\n");
}

TEST_F(EndingRecordTest, RecordNotYetReadIsReadBeforeTheFirstWrite) {
    WriteRecord("3\r\n1\r\n0\r\n0\r\n");
    // A window whose start-up has not read the record yet.
    engine = std::make_unique<Engine>(fakes.platform, folder.path());
    engine->form.menu(MenuId::SystemMenu).enabled = true;
    ReachEnding("3");
    EXPECT_EQ(Record(), "3\r\n1\r\n0\r\n1\r\n");
}

TEST_F(EndingRecordTest, RecordThatCannotBeWrittenEndsTheProgram) {
    std::filesystem::create_directory(RecordPath());
    engine->extras.LoadEndingRecord();
    fakes.message_box.shown.clear();
    EXPECT_THROW(ReachEnding("1"), ProcessEnded);
    ASSERT_EQ(fakes.message_box.shown.size(), 1u);
    EXPECT_EQ(fakes.message_box.shown[0].title, "ファイルエラー");
    EXPECT_TRUE(std::filesystem::is_directory(RecordPath()));
}

// An ending reached again writes nothing: the record holds it already. One removed behind the
// game's back is written anew when an ending is reached.
TEST_F(EndingRecordTest, AnEndingReachedAgainLeavesTheRecordAsItIs) {
    engine->extras.LoadEndingRecord();
    ReachEnding("2");
    const auto written = std::filesystem::last_write_time(RecordPath());
    const auto inode = [this] {
        struct stat info {};
        return ::lstat(RecordPath().c_str(), &info) == 0 ? info.st_ino : 0;
    };
    const ino_t first = inode();
    ReachEnding("2");
    EXPECT_EQ(inode(), first);
    EXPECT_EQ(std::filesystem::last_write_time(RecordPath()), written);
    std::filesystem::remove(RecordPath());
    ReachEnding("2");
    EXPECT_EQ(Record(), "3\r\n0\r\n1\r\n0\r\n");
}

}  // namespace
}  // namespace tsukikage
