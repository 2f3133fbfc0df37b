#include "base/picture_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

#include "base/runtime_error.h"
#include "fakes/test_support.h"

namespace tsukikage {
namespace {

using test_support::ErrorOf;
using test_support::TempFolder;

// What every platform's decoder gets to decode, or the error it raises instead.
TEST(PictureFile, ReadsWholeFilesAndRefusesWhatIsNoPicture) {
    const struct {
        const char* name;
        std::optional<std::string> bytes;  // nothing: no such file
        int error;
    } kCases[] = {
        {"missing.bmp", std::nullopt, err::kFileNotFound},
        {"empty.bmp", std::string(), err::kInvalidPicture},
        {"picture.bmp", std::string("BM\0\x01\xff", 5), 0},
    };
    TempFolder folder;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path path = folder.path() / c.name;
        if (c.bytes) std::ofstream(path, std::ios::binary) << *c.bytes;
        std::string read;
        EXPECT_EQ(ErrorOf([&] { read = ReadPictureFile(path); }), c.error);
        if (c.error == 0) {
            EXPECT_EQ(read, *c.bytes);
        }
    }
}

TEST(PictureFile, RefusesAFileLargerThanAnyPicture) {
    TempFolder folder;
    const std::filesystem::path path = folder.path() / "huge.jpg";
    std::ofstream(path, std::ios::binary) << 'x';
    // A sparse file: no disk or memory is spent on its size.
    std::filesystem::resize_file(path, kMaxPictureFileBytes + 1);
    EXPECT_EQ(ErrorOf([&] { ReadPictureFile(path); }), err::kInvalidPicture);
}

}  // namespace
}  // namespace tsukikage
