#include <gtest/gtest.h>

#include "platform/files.h"
#include "replace/replace_files.h"
#include "tests/test_support.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

class PlatformTest : public testing::Test {
 protected:
  void Replace() {
    const auto text = [](std::string_view content) {
      return [content](const ContentSink& sink) { sink(content); };
    };
    const FileReplacement files[] = {{dir_.path / "Pass1.txt", text("new 1")},
                                     {dir_.path / "Pass2.txt", text("new 2")}};
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

TEST_F(PlatformTest, EveryNameOfAFileSeesTheNewContent) {
  dir_.Write("Pass1.txt", "old 1");
  fs::create_hard_link(dir_.path / "Pass1.txt", dir_.path / "elsewhere");
#ifndef _WIN32  // a link to a file that is not there yet makes it
  fs::create_symlink("made", dir_.path / "Pass2.txt");
#endif
  Replace();
  EXPECT_EQ(dir_.Read("Pass1.txt"), "new 1");
  EXPECT_EQ(dir_.Read("elsewhere"), "new 1");
#ifndef _WIN32
  EXPECT_TRUE(fs::is_symlink(dir_.path / "Pass2.txt"));
  EXPECT_EQ(dir_.Read("made"), "new 2");
  EXPECT_EQ(dir_.Entries(), "Pass1.txt Pass2.txt elsewhere made ");
#endif
}

TEST_F(PlatformTest, RefusesWhatCannotBeReplacedSafely) {
  dir_.Write("Pass1.txt", "old 1");
  const fs::path pass1 = dir_.path / "Pass1.txt", pass2 = dir_.path / "Pass2.txt";
  fs::create_hard_link(pass1, pass2);
  EXPECT_EQ(ErrorOf([&] { Replace(); }), "file error: " + DisplayPath(pass2) +
                                             ": is the same file as " + DisplayPath(pass1) +
                                             "; each must be a file of its own");
  fs::remove(pass2);
  dir_.Write("Pass2.txt", "old 2");
#ifdef _WIN32  // open in a program that lets others read it, as viewers do
  const HANDLE viewer = CreateFileW(pass2.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(ErrorOf([&] { Replace(); }), "file error: " + DisplayPath(pass2) +
                                             ": cannot be replaced: in use by another program");
  CloseHandle(viewer);
#else
  fs::remove(pass2);
  ASSERT_EQ(mkfifo(pass2.c_str(), 0600), 0);
  EXPECT_EQ(ErrorOf([&] { Replace(); }),
            "file error: " + DisplayPath(pass2) + ": is not a regular file, so it is not replaced");
#endif
  EXPECT_EQ(dir_.Read("Pass1.txt"), "old 1");
  EXPECT_EQ(dir_.Entries(), "Pass1.txt Pass2.txt ");
}

}  // namespace
