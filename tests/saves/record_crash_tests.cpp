// The record writers killed at random points: after every kill each record holds exactly
// its old or its new bytes, and the temporary files that the killed writers leave behind do
// not pile up.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>

#include "comfort/read_pages.h"
#include "extras/ending_record.h"
#include "fakes/game_fixture.h"
#include "graphics/seen_record.h"
#include "saves/saves.h"

namespace tsukikage {
namespace {

using test_support::ReadAll;

constexpr int kKillsPerRecord = 350;
// Kills that must land inside a write (leaving its temporary file). Where the machine is
// loaded and the kills seldom land there, more kills are made, up to three times as many.
constexpr int kKillsInsideAWrite = kKillsPerRecord / 10;
constexpr int kMostKillsPerRecord = 3 * kKillsPerRecord;

struct Writer {
    const char* record;
    // Sets the state the record is written from (0: the old one, 1: the new one).
    std::function<void(int version)> set;
    std::function<void()> write;
};

class RecordCrashTest : public ::testing::Test {
  protected:
    // Memory-backed where the system has it: a kill tests the order of the steps, which a
    // disk's flushes would only slow down.
    static std::filesystem::path FolderBase() {
        std::error_code ec;
        return std::filesystem::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0
                   ? std::filesystem::path("/dev/shm")
                   : std::filesystem::temp_directory_path();
    }
    RecordCrashTest() {
        std::filesystem::create_directories(folder_);
        engine = std::make_unique<Engine>(fakes.platform, folder_);
    }
    ~RecordCrashTest() override {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    const std::filesystem::path& folder() const { return folder_; }

    // The temporary files beside a record.
    std::size_t TemporaryFiles(const std::string& record) const {
        std::size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder())) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("." + record + ".") && name.ends_with(".tmp")) ++count;
        }
        return count;
    }

    // The bytes the writer leaves for a version, written without interruption.
    std::string Written(const Writer& writer, int version) {
        writer.set(version);
        writer.write();
        return ReadAll(folder() / writer.record);
    }

    void KillWhileWriting(const Writer& writer) {
        SCOPED_TRACE(writer.record);
        const std::string versions[] = {Written(writer, 0), Written(writer, 1)};
        ASSERT_NE(versions[0], versions[1]);

        // How long one write takes here, so that the kills spread over whole writes. The
        // versions alternate: a record that holds the bytes already is not written again.
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 10; ++i) {
            writer.set(i % 2);
            writer.write();
        }
        const auto per_write = std::chrono::duration_cast<std::chrono::microseconds>(
                                   std::chrono::steady_clock::now() - start) /
                               10;
        std::mt19937 random(20261208);
        std::uniform_real_distribution<double> share(0.0, 1.0);
        // The longest wait before a kill follows what the kills find: one that finds the old
        // bytes came early (the writer may have waited for a core), one that finds the new
        // bytes came late enough. So the kills stay spread over the first writes however
        // loaded the machine is.
        double longest_us = static_cast<double>(per_write.count()) * 4 + 100;

        int unchanged = 0;
        int inside_a_write = 0;  // kills that left a temporary file
        std::size_t most_temporary = 0;
        int kills = 0;
        for (; kills < kKillsPerRecord ||
               (inside_a_write < kKillsInsideAWrite && kills < kMostKillsPerRecord);
             ++kills) {
            const std::string before = ReadAll(folder() / writer.record);
            const int first = before == versions[0] ? 1 : 0;
            int ready[2];
            ASSERT_EQ(::pipe(ready), 0);
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                // Writes the bytes already there once, so that its pages are its own and its
                // next writes take as long as the parent's (a forked writer's first write
                // copies every page it touches and takes tens of times as long,
                // which the kills would seldom reach). Then the other version, then both in
                // turn, until it is killed.
                ::close(ready[0]);
                writer.set(first ^ 1);
                writer.write();
                char go = 1;
                if (::write(ready[1], &go, 1) != 1) ::_exit(1);
                for (int version = first;; version ^= 1) {
                    writer.set(version);
                    writer.write();
                }
            }
            ::close(ready[1]);
            char go = 0;
            ASSERT_EQ(::read(ready[0], &go, 1), 1);
            ::close(ready[0]);
            const long wait_us = static_cast<long>(share(random) * longest_us);
            const timespec pause{wait_us / 1'000'000, wait_us % 1'000'000 * 1000};
            ::nanosleep(&pause, nullptr);
            ::kill(child, SIGKILL);
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";

            const std::string after = ReadAll(folder() / writer.record);
            ASSERT_TRUE(after == versions[0] || after == versions[1])
                << "kill " << kills << " after " << wait_us << " us left " << after.size()
                << " bytes";
            if (after == before) {
                ++unchanged;
                longest_us = std::min(longest_us * 1.1, 500'000.0);
            } else {
                longest_us = std::max(longest_us * 0.95, 100.0);
            }
            const std::size_t temporary = TemporaryFiles(writer.record);
            if (temporary > 0) ++inside_a_write;
            most_temporary = std::max(most_temporary, temporary);
        }
        // Each write first clears what the killed writers of the record left.
        EXPECT_LE(most_temporary, 1u);
        // Kills landed inside writes, and both versions were left.
        EXPECT_GE(inside_a_write, kKillsInsideAWrite);
        EXPECT_GT(unchanged, 0);
        EXPECT_LT(unchanged, kills);
        std::printf(
            "%s: %d kills, %d inside a write; %d left the bytes before and %d other "
            "bytes; one write %lld us; at most %zu temporary file left\n",
            writer.record, kills, inside_a_write, unchanged, kills - unchanged,
            static_cast<long long>(per_write.count()), most_temporary);
    }

    std::filesystem::path folder_ = FolderBase() / ("tsukikage-kill-" + std::to_string(::getpid()) +
                                                    "-" + std::to_string(std::random_device()()));
    fakes::RecordingPlatform fakes;
    std::unique_ptr<Engine> engine;
};

TEST_F(RecordCrashTest, EveryRecordHoldsOldOrNewBytesAfterAKill) {
    WindowState& state = engine->state;
    engine->extras.LoadEndingRecord();
    state.CGCount = 20;
    // The player's record of read pages, here beside the game's records.
    ReadPages read_pages(folder());
    read_pages.Open("scenario");
    const std::string read_record = ReadPagesFileName("scenario");
    std::size_t read_version = 0;
    const Writer writers[] = {
        {"cgmode.dat", [&](int v) { state.CGSeen[3] = v == 1; },
         [&] { SaveSeenRecord(engine->folder, state); }},
        {"endlist.dat", [&](int v) { state.EndFlags[2] = static_cast<std::uint8_t>(v); },
         [&] { engine->extras.ending_record.Finish("1"); }},
        {"save1.dat", [&](int v) { state.PartNo = static_cast<std::int16_t>(v == 1 ? 12 : -3); },
         [&] { engine->saves.SaveSlot(1); }},
        {read_record.c_str(), [&](int v) { read_version = static_cast<std::size_t>(v); },
         [&] {
             read_pages.Clear();
             for (std::size_t place = 1; place <= 40u + read_version; ++place) {
                 read_pages.Mark(place * 977);
             }
             read_pages.Save();
         }},
    };
    for (const Writer& writer : writers) KillWhileWriting(writer);
    EXPECT_TRUE(fakes.message_box.shown.empty()) << "a write failed";
}

}  // namespace
}  // namespace tsukikage
