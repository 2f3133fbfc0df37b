#include "base/text_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "base/runtime_error.h"
#include "fakes/test_support.h"

namespace tsukikage {
namespace {

using test_support::ErrorOf;
using test_support::ReadAll;
using test_support::TempFolder;

TEST(TextInputLines, EndAtCrLfOrLoneCrButNotAtLoneLf) {
    TextInput in("first\r\nsecond\rthird\nstill third\r\n\r\nlast");
    EXPECT_EQ(in.ReadLine(), "first");
    EXPECT_EQ(in.ReadLine(), "second");
    EXPECT_EQ(in.ReadLine(), "third\nstill third");
    EXPECT_EQ(in.ReadLine(), "");
    EXPECT_FALSE(in.AtEnd());
    EXPECT_EQ(in.ReadLine(), "last");
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(ErrorOf([&] { in.ReadLine(); }), err::kInputPastEndOfFile);
    in.Rewind();
    EXPECT_EQ(in.ReadLine(), "first");
}

TEST(TextInputLines, FinalLineEndLeavesNoEmptyLine) {
    TextInput in("only\r\n");
    EXPECT_EQ(in.ReadLine(), "only");
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(ErrorOf([&] { in.ReadRawLine(); }), err::kInputPastEndOfFile);

    TextInput empty("");
    EXPECT_TRUE(empty.AtEnd());
    EXPECT_EQ(ErrorOf([&] { empty.ReadLine(); }), err::kInputPastEndOfFile);
}

TEST(TextInputLines, DecodeCp932AfterSplitting) {
    // ソ ends in 0x5C; a broken lead byte must not eat the line end.
    TextInput in("\x83\x5C\\data\r\n\x82\r\nnext");
    EXPECT_EQ(in.ReadLine(), "ソ\\data");
    EXPECT_EQ(in.ReadRawLine(), "\x82");
    EXPECT_EQ(in.ReadLine(), "next");
}

TEST(TextInputFields, QuotedValuesKeepCommasAndUnquotedAreTrimmed) {
    TextInput in("\"a, b\",  plain text  ,#TRUE#\r\n\"x\" junk,\"\x91\xE8\"\r\n,\r\n\"open");
    EXPECT_EQ(in.ReadField(), "a, b");
    EXPECT_EQ(in.ReadField(), "plain text");
    EXPECT_EQ(in.ReadField(), "#TRUE#");
    EXPECT_EQ(in.ReadField(), "x");
    EXPECT_EQ(in.ReadField(), "題");
    EXPECT_EQ(in.ReadField(), "");
    EXPECT_EQ(in.ReadField(), "");
    EXPECT_EQ(in.ReadField(), "open");  // unterminated quote runs to the end
    EXPECT_EQ(ErrorOf([&] { in.ReadField(); }), err::kInputPastEndOfFile);
}

TEST(TextInputFields, ReadsTheWrittenRecordForm) {
    TextInput in("3\r\n#TRUE#\r\n#FALSE#\r\n-1\r\n");
    EXPECT_EQ(in.ReadInteger(), 3);
    EXPECT_TRUE(in.ReadBoolean());
    EXPECT_FALSE(in.ReadBoolean());
    EXPECT_TRUE(in.ReadBoolean());
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(ErrorOf([&] { in.ReadBoolean(); }), err::kInputPastEndOfFile);

    TextInput flags("#TRUE#,#FALSE#");
    EXPECT_EQ(flags.ReadInteger(), -1);
    EXPECT_EQ(flags.ReadLong(), 0);
}

TEST(TextInputFields, ReadsThePrintedSaveForm) {
    TextInput in(" 5 \r\n-3 \r\n 0 \r\n 70000 \r\n");
    EXPECT_EQ(in.ReadInteger(), 5);
    EXPECT_EQ(in.ReadInteger(), -3);
    EXPECT_EQ(in.ReadByte(), 0);
    EXPECT_EQ(in.ReadLong(), 70000);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(ErrorOf([&] { in.ReadInteger(); }), err::kInputPastEndOfFile);
}

TEST(TextInputFields, NumbersEndAtBlanksAndBlankLinesReadAsZero) {
    TextInput in("1 2,\t3\r\n\r\n4");
    EXPECT_EQ(in.ReadInteger(), 1);
    EXPECT_EQ(in.ReadInteger(), 2);
    EXPECT_EQ(in.ReadInteger(), 3);
    EXPECT_EQ(in.ReadInteger(), 0);
    EXPECT_EQ(in.ReadInteger(), 4);
}

TEST(TextInputFields, BadNumbersRaiseTheirErrors) {
    TextInput in("abc,40000,256,#MAYBE#");
    EXPECT_EQ(ErrorOf([&] { in.ReadInteger(); }), err::kTypeMismatch);
    EXPECT_EQ(ErrorOf([&] { in.ReadInteger(); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([&] { in.ReadByte(); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([&] { in.ReadBoolean(); }), err::kTypeMismatch);
}

TEST(TextOutput, WriteAndPrintForms) {
    TextOutput out;
    out.WriteNumber(80).EndLine().WriteBoolean(true).EndLine();
    out.WriteText("題, x").WriteNumber(-3).WriteBoolean(false).EndLine();
    out.PrintNumber(5).EndLine().PrintNumber(-5).PrintText("題").EndLine();
    EXPECT_EQ(out.bytes(), "80\r\n#TRUE#\r\n\"\x91\xE8, x\",-3,#FALSE#\r\n 5 \r\n-5 \x91\xE8\r\n");

    TextInput in(out.bytes());
    EXPECT_EQ(in.ReadInteger(), 80);
    EXPECT_TRUE(in.ReadBoolean());
    EXPECT_EQ(in.ReadField(), "題, x");
    EXPECT_EQ(in.ReadLong(), -3);
    EXPECT_FALSE(in.ReadBoolean());
    EXPECT_EQ(in.ReadInteger(), 5);
}

class TextFileOnDisk : public ::testing::Test {
  protected:
    // Names in the folder other than the expected ones (leftover temporary files).
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(temp_.path())) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    TempFolder temp_;
};

TEST_F(TextFileOnDisk, OpenReadsBytesOrRaisesTheOriginalErrors) {
    temp_.Write("datafile", "line1\r\nline2");
    TextInput in = TextInput::Open(temp_.path() / "datafile");
    EXPECT_EQ(in.ReadLine(), "line1");
    EXPECT_EQ(in.ReadLine(), "line2");
    EXPECT_EQ(ErrorOf([&] { TextInput::Open(temp_.path() / "missing"); }), err::kFileNotFound);
    EXPECT_EQ(ErrorOf([&] { TextInput::Open(temp_.path()); }), err::kPathFileAccessError);
    EXPECT_EQ(ErrorOf([&] { TextInput::Open(temp_.path() / "no" / "file"); }), err::kPathNotFound);
}

TEST_F(TextFileOnDisk, ReplaceFileWritesExactBytesAndLeavesNoTemporaryFile) {
    const auto target = temp_.path() / "save1.dat";
    const std::string first("a\r\nb\0c", 6);
    ReplaceFile(target, first);
    EXPECT_EQ(ReadAll(target), first);
    ReplaceFile(target, "shorter");
    EXPECT_EQ(ReadAll(target), "shorter");
    ReplaceFile(target, "");
    EXPECT_EQ(ReadAll(target), "");
    EXPECT_EQ(Entries(), std::vector<std::string>{"save1.dat"});
}

TEST_F(TextFileOnDisk, FailedReplaceKeepsTheOldContent) {
    EXPECT_EQ(ErrorOf([&] { ReplaceFile(temp_.path() / "gone" / "x.dat", "data"); }),
              err::kPathNotFound);

    // A folder where the file should be: the rename fails after the data was written.
    const auto folder = temp_.MakeFolder("record.dat");
    temp_.Write("record.dat/inside", "kept");
    EXPECT_NE(ErrorOf([&] { ReplaceFile(folder, "new"); }), 0);
    EXPECT_EQ(ReadAll(folder / "inside"), "kept");
    EXPECT_EQ(Entries(), std::vector<std::string>{"record.dat"});
}

// A write removes the temporary files that killed writers of the same record left, and only
// those: a file whose writer still runs (this process, or another one), another record's,
// and names that only look like one stay.
TEST_F(TextFileOnDisk, ReplaceFileRemovesOnlyTheTemporariesOfDeadWriters) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string dead = std::to_string(child);
    const std::string self = std::to_string(::getpid());
    const std::string alive = std::to_string(::getppid());
    const struct {
        std::string name;
        bool removed;
    } kCases[] = {
        {".save1.dat." + dead + "-0.tmp", true},
        {".save1.dat." + dead + "-12345.tmp", true},
        {".save1.dat." + dead + "-.tmp", true},
        {".save1.dat." + self + "-0.tmp", false},
        {".save1.dat." + alive + "-0.tmp", false},
        {".save2.dat." + dead + "-0.tmp", false},
        {".save1.dat." + dead + "-0.tmp.old", false},
        {".save1.dat." + dead + "-0.tm", false},
        {".save1.dat." + dead + ".tmp", false},
        {".save1.dat.-" + dead + "-0.tmp", false},
        {".save1.dat.0-0.tmp", false},
        {".save1.dat.x" + dead + "-0.tmp", false},
        {"save1.dat." + dead + "-0.tmp", false},
        {".save1.dat..tmp", false},
        {".save1.dat.1-.tmp", false},  // the shortest name that could be one: pid 1 runs
    };
    std::vector<std::string> kept{"save1.dat"};
    for (const auto& c : kCases) {
        temp_.Write(c.name, "left");
        if (!c.removed) kept.push_back(c.name);
    }
    ReplaceFile(temp_.path() / "save1.dat", "new");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Entries(), kept);
    EXPECT_EQ(ReadAll(temp_.path() / "save1.dat"), "new");
}

// The inode of a file: a replacement through a temporary file gives the name a new one.
ino_t InodeOf(const std::filesystem::path& file) {
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST_F(TextFileOnDisk, ReplaceFileLeavesAFileThatHoldsTheBytesAsItIs) {
    const auto target = temp_.path() / "cgmode.dat";
    ReplaceFile(target, "1\r\n#TRUE#\r\n");
    const ino_t written = InodeOf(target);
    ReplaceFile(target, "1\r\n#TRUE#\r\n");
    EXPECT_EQ(InodeOf(target), written) << "the same bytes were written again";
    ReplaceFile(target, "1\r\n#FALSE#\r\n");
    EXPECT_NE(InodeOf(target), written);
    EXPECT_EQ(ReadAll(target), "1\r\n#FALSE#\r\n");
    // A longer or a shorter file with the same beginning is no match.
    ReplaceFile(target, "1\r\n#FALSE#\r\nmore");
    EXPECT_EQ(ReadAll(target), "1\r\n#FALSE#\r\nmore");
    ReplaceFile(target, "1\r\n");
    EXPECT_EQ(ReadAll(target), "1\r\n");
    // A link to a file with the bytes is replaced by a file, as any other write replaces it.
    const auto other = temp_.Write("other.dat", "same");
    const auto link = temp_.path() / "link.dat";
    std::filesystem::create_symlink(other, link);
    ReplaceFile(link, "same");
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadAll(link), "same");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"cgmode.dat", "link.dat", "other.dat"}));
}

TEST_F(TextFileOnDisk, ARecordWriterPassesOverOnlyWhatTheFileStillHolds) {
    const auto target = temp_.path() / "endlist.dat";
    RecordWriter writer;
    EXPECT_FALSE(writer.Holds("3\r\n"));
    writer.Write(target, "3\r\n");
    EXPECT_TRUE(writer.Holds("3\r\n"));
    EXPECT_FALSE(writer.Holds("3\r\n1\r\n"));
    const ino_t written = InodeOf(target);
    writer.Write(target, "3\r\n");
    EXPECT_EQ(InodeOf(target), written);

    // Removed or changed behind the writer's back: written again.
    std::filesystem::remove(target);
    EXPECT_FALSE(writer.Holds("3\r\n"));
    writer.Write(target, "3\r\n");
    EXPECT_EQ(ReadAll(target), "3\r\n");
    temp_.Write("endlist.dat", "3\r\n9\r\n");
    EXPECT_FALSE(writer.Holds("3\r\n"));
    writer.Write(target, "3\r\n");
    EXPECT_EQ(ReadAll(target), "3\r\n");

    // A write that fails leaves nothing to pass over.
    const auto folder = temp_.MakeFolder("sub");
    const auto inside = folder / "endlist.dat";
    writer.Write(inside, "3\r\n");
    std::filesystem::remove_all(folder);
    EXPECT_NE(ErrorOf([&] { writer.Write(inside, "3\r\n1\r\n"); }), 0);
    EXPECT_FALSE(writer.Holds("3\r\n"));
    EXPECT_FALSE(writer.Holds("3\r\n1\r\n"));
}

}  // namespace
}  // namespace tsukikage
