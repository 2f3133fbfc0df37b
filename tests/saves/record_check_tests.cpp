// The records a copy brings in (an export, a desktop game folder's files): which file stands
// for which record, and which bytes the game would read whole.
#include <gtest/gtest.h>

#include <cctype>

#include "base/text_file.h"
#include "comfort/read_pages.h"
#include "extras/ending_record.h"
#include "graphics/seen_record.h"
#include "saves/record_check.h"

namespace tsukikage {
namespace {

TEST(KeptRecordName, TakesTheRecordFilesInAnyCaseAndNothingElse) {
    const std::string read_pages = ReadPagesFileName("scenario");
    std::string upper_read_pages = read_pages;
    for (char& c : upper_read_pages) c = static_cast<char>(std::toupper(c));
    const struct {
        std::string file;
        std::optional<std::string> record;
    } cases[] = {
        {"cgmode.dat", "cgmode.dat"},
        {"CGMODE.DAT", "cgmode.dat"},
        {"EndList.Dat", "endlist.dat"},
        {"save1.dat", "save1.dat"},
        {"SAVE5.DAT", "save5.dat"},
        {"save0.dat", std::nullopt},
        {"save6.dat", std::nullopt},
        {"save1.dat.damaged", std::nullopt},
        {"cgmode.dat ", std::nullopt},
        {"datafile", std::nullopt},
        {read_pages, "read-pages.txt"},
        {upper_read_pages, "read-pages.txt"},
        {ReadPagesFileName("another scenario"), std::nullopt},
        {"tsukikage.ini", "settings.ini"},
        {"settings.ini", "settings.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeptRecordName(c.file, read_pages), c.record) << c.file;
    }
    EXPECT_EQ(KeptRecordName("read-pages.txt", ""), "read-pages.txt");
}

TEST(RecordProblem, AcceptsWhatTheGameWritesAndRefusesWhatItCouldNotRead) {
    WindowState all_seen;
    all_seen.CGCount = kLastPicture;
    all_seen.CGSeen.fill(true);
    WindowState none_seen;
    none_seen.CGCount = 0;
    WindowState endings;
    endings.EndCount = kEndingCount;
    endings.EndFlags[2] = 1;
    const std::string save = TextOutput().PrintNumber(12).EndLine().bytes();
    const std::string seen = SeenRecordBytes(all_seen);
    const struct {
        std::string record;
        std::string bytes;
        bool whole;
    } cases[] = {
        {"cgmode.dat", seen, true},
        {"cgmode.dat", SeenRecordBytes(none_seen), true},
        {"cgmode.dat", seen.substr(0, seen.size() - 9), false},  // the last flag cut off
        {"cgmode.dat", "251\r\n", false},
        {"cgmode.dat", "-1\r\n", false},
        {"cgmode.dat", "", false},
        {"endlist.dat", EndingRecordBytes(endings), true},
        {"endlist.dat", "4\r\n1\r\n1\r\n1\r\n1\r\n", false},
        {"endlist.dat", "3\r\n1\r\n", false},
        {"save1.dat", save, true},
        {"save5.dat", "x\r\n", false},
        {"save3.dat", "", false},
        {"read-pages.txt", "tsukikage read pages 1\n40\n", true},
        {"read-pages.txt", "tsukikage read pages 1\r\n40\r\n", false},
        {"read-pages.txt", "tsukikage read pages 2\n", false},
        {"settings.ini", "", true},
        {"settings.ini", std::string(1 << 20, ' '), true},
        {"settings.ini", std::string((1 << 20) + 1, ' '), false},
        {"save6.dat", save, false},
        {"datafile", save, false},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> problem = RecordProblem(c.record, c.bytes);
        EXPECT_EQ(!problem, c.whole) << c.record << " " << c.bytes.size() << " bytes";
        if (problem) {
            EXPECT_NE(problem->find(c.record), std::string::npos) << *problem;
        }
    }
}

}  // namespace
}  // namespace tsukikage
