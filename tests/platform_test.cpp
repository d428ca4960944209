#include <gtest/gtest.h>

#include "platform/files.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace {

class PlatformTest : public testing::Test {
 protected:
  void Replace() {
    const FileReplacement files[] = {{dir_.path / "Pass1.txt", "new 1"},
                                     {dir_.path / "Pass2.txt", "new 2"}};
    ReplaceFiles(files);
  }

  ScratchDir dir_;
};

TEST_F(PlatformTest, ReplacesEveryFileOrNone) {
  dir_.Write("Pass1.txt", "an old and longer first file");
  dir_.Write("Pass2 real", "old 2");
#ifndef _WIN32  // a symbolic link is followed, and it stays
  fs::create_symlink("Pass2 real", dir_.path / "Pass2.txt");
#endif
  Replace();
  EXPECT_EQ(dir_.Read("Pass1.txt") + dir_.Read("Pass2.txt") + dir_.Entries(),
            "new 1new 2Pass1.txt Pass2 real Pass2.txt ");
#ifndef _WIN32
  EXPECT_TRUE(fs::is_symlink(dir_.path / "Pass2.txt"));
  EXPECT_EQ(dir_.Read("Pass2 real"), "new 2");
#endif
  fs::remove(dir_.path / "Pass2.txt");
  fs::create_directory(dir_.path / "Pass2.txt");
  dir_.Write("Pass1.txt", "old 1");
  const std::string report = ErrorOf([&] { Replace(); });
  EXPECT_EQ(report.substr(0, report.rfind(':')),
            "file error: " + DisplayPath(dir_.path / "Pass2.txt") + ": cannot be replaced");
  EXPECT_EQ(dir_.Read("Pass1.txt") + dir_.Entries(), "old 1Pass1.txt Pass2 real Pass2.txt ");
}

TEST_F(PlatformTest, ReadsOnlyRegularFilesUpToTheirLimit) {
  const fs::path race = dir_.path / "Race.txt";
  dir_.Write("Race.txt", std::string("1\0\n", 3));
  EXPECT_EQ(ReadWholeFile(race, 3, "too large"), std::string("1\0\n", 3));
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(race, 2, "more than two"); }),
            "file error: " + DisplayPath(race) + ": is 3 bytes, more than two");
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(dir_.path, 3, ""); }),
            "file error: " + DisplayPath(dir_.path) + ": is not a regular file");
  EXPECT_TRUE(FileExists(dir_.path));
  EXPECT_FALSE(FileExists(dir_.path / "MaxRace.txt"));
}

}  // namespace
