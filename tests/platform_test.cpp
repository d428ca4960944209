#include "linefiles/platform.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace {

class PlatformTest : public testing::Test {
 protected:
  void Replace(const std::string& first, const std::string& second) {
    const FileReplacement files[] = {{dir_.path() / "Pass1.txt", first},
                                     {dir_.path() / "Pass2.txt", second}};
    ReplaceFiles(files);
  }

  ScratchDir dir_;
};

TEST_F(PlatformTest, ReplacesEveryFileKeepingItsPermissions) {
  dir_.Write("Pass1.txt", "an old and longer first file");
#ifndef _WIN32  // POSIX permission bits; an old file that cannot be read is replaced too
  fs::permissions(dir_.path() / "Pass1.txt", fs::perms::owner_write);
  Replace("new 1", "new 2");
  EXPECT_EQ(fs::status(dir_.path() / "Pass1.txt").permissions(), fs::perms::owner_write);
  fs::permissions(dir_.path() / "Pass1.txt", fs::perms::owner_read, fs::perm_options::add);
#else
  Replace("new 1", "new 2");
#endif
  EXPECT_EQ(dir_.Read("Pass1.txt"), "new 1");
  EXPECT_EQ(dir_.Read("Pass2.txt"), "new 2");
  EXPECT_EQ(dir_.Entries(), "Pass1.txt Pass2.txt");
}

TEST_F(PlatformTest, ATargetThatCannotBeReplacedChangesNothing) {
  dir_.Write("Pass1.txt", "old 1");
  fs::create_directory(dir_.path() / "Pass2.txt");
  const std::string report = ErrorOf([&] { Replace("new 1", "new 2"); });
  EXPECT_TRUE(report.starts_with("file error: " + DisplayPath(dir_.path() / "Pass2.txt") +
                                 ": cannot be replaced: "))
      << report;
  EXPECT_EQ(dir_.Read("Pass1.txt"), "old 1");
  EXPECT_EQ(dir_.Entries(), "Pass1.txt Pass2.txt");
}

TEST_F(PlatformTest, ReadsOnlyRegularFilesOfALineFilesSize) {
  dir_.Write("Race.txt", std::string("1\0\n", 3));
  EXPECT_EQ(ReadWholeFile(dir_.path() / "Race.txt"), std::string("1\0\n", 3));
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(dir_.path()); }),
            "file error: " + DisplayPath(dir_.path()) + ": is not a regular file");
  fs::resize_file(dir_.path() / "Race.txt", kMaxFileBytes + 1);
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(dir_.path() / "Race.txt"); }),
            "file error: " + DisplayPath(dir_.path() / "Race.txt") +
                ": is 67108865 bytes, larger than any line file (at most 67108864)");
  EXPECT_TRUE(FileExists(dir_.path()));
  EXPECT_FALSE(FileExists(dir_.path() / "MaxRace.txt"));
}

}  // namespace
