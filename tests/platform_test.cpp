#include <gtest/gtest.h>

#include "platform/files.h"
#include "tests/test_support.h"

namespace kelvane {

namespace fs = std::filesystem;

namespace {

TEST(PlatformTest, ReadsOnlyRegularFilesUpToTheirLimit) {
  const ScratchDir dir_;
  const fs::path race = dir_.path / "Race.txt";
  dir_.Write("Race.txt", std::string("1\0\n", 3));
  dir_.Write("MaxRace.txt", "12345");
  dir_.Write("MinRace.txt", "ab");
  FileBytes bytes;
  ReadWholeFile(race, 3, "too large", bytes);
  EXPECT_EQ(bytes.view(), std::string_view("1\0\n", 3));
  // One buffer read into again holds the last file alone, whether it grows or not.
  ReadWholeFile(dir_.path / "MaxRace.txt", 5, "", bytes);
  EXPECT_EQ(bytes.view(), "12345");
  ReadWholeFile(dir_.path / "MinRace.txt", 5, "", bytes);
  EXPECT_EQ(bytes.view(), "ab");
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(race, 2, "more than two", bytes); }),
            "file error: " + DisplayPath(race) + ": is 3 bytes, more than two");
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(dir_.path, 3, "", bytes); }),
            "file error: " + DisplayPath(dir_.path) + ": is not a regular file");
  EXPECT_TRUE(FileExists(dir_.path));
  EXPECT_FALSE(FileExists(dir_.path / "Pass1.txt"));
}

}  // namespace
}  // namespace kelvane
