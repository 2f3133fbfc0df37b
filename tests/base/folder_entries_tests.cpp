#include "base/folder_entries.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/test_support.h"

namespace tsukikage {
namespace {

using test_support::TempFolder;

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    FolderEntries entries(folder);
    while (const char* name = entries.Next()) names.emplace_back(name);
    EXPECT_FALSE(entries.failed());
    EXPECT_EQ(entries.Next(), nullptr);  // and stays at the end
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FolderEntries, ListsEveryEntryButTheFolderAndItsParent) {
    TempFolder temp;
    EXPECT_TRUE(NamesIn(temp.path()).empty());
    temp.Write("datafile");
#ifdef __EMSCRIPTEN__
    const std::string japanese = "\xe6\x9c\x88.wav";  // the browser's file systems hold Unicode
#else
    const std::string japanese = "\x8c\x8e.wav";  // a raw CP932 name
#endif
    temp.Write(japanese);
    temp.MakeFolder("data");
    EXPECT_EQ(NamesIn(temp.path()), (std::vector<std::string>{"data", "datafile", japanese}));
}

TEST(FolderEntries, ReadsAFolderLargerThanItsBuffer) {
    TempFolder temp;
    std::vector<std::string> expected;
    for (int i = 0; i < 300; ++i) {
        expected.push_back(std::string(60, 'a' + i % 26) + std::to_string(i));
        temp.Write(expected.back());
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(NamesIn(temp.path()), expected);
}

TEST(FolderEntries, AMissingFolderOrAFileIsNoFolder) {
    TempFolder temp;
    FolderEntries missing(temp.path() / "missing");
    EXPECT_FALSE(missing.is_open());
    EXPECT_TRUE(missing.failed());
    EXPECT_EQ(missing.Next(), nullptr);
    FolderEntries file(temp.Write("datafile", "x"));
    EXPECT_FALSE(file.is_open());
    EXPECT_EQ(file.Next(), nullptr);
}

TEST(FolderEntries, EntriesCanBeRemovedThroughTheOpenFolder) {
    TempFolder temp;
    temp.Write("a");
    temp.Write("b");
    FolderEntries entries(temp.path());
    while (const char* name = entries.Next()) {
        EXPECT_EQ(::unlinkat(entries.fd(), name, 0), 0) << name;
    }
    EXPECT_TRUE(NamesIn(temp.path()).empty());
}

}  // namespace
}  // namespace tsukikage
