#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/windows_api.h"
#endif

#include "platform/files.h"
#include "platform/process.h"
#include "tests/test_support.h"

namespace kelvane {

namespace fs = std::filesystem;

namespace {

TEST(PlatformTest, ReadsOnlyRegularFilesUpToTheirLimit) {
  const ScratchDir dir_;
  dir_.Write("Race.txt", std::string("1\0\n", 3));
  dir_.Write("MaxRace.txt", "12345");
  dir_.Write("MinRace.txt", "ab");
  FileBytes bytes;
  const Folder folder = OpenFolder(dir_.path);
  ReadWholeFile(folder, "Race.txt", 3, "too large", bytes);
  EXPECT_EQ(bytes.view(), std::string_view("1\0\n", 3));
  // One buffer read into again holds the last file alone, whether it grows or not.
  ReadWholeFile(folder, "MaxRace.txt", 5, "", bytes);
  EXPECT_EQ(bytes.view(), "12345");
  ReadWholeFile(folder, "MinRace.txt", 5, "", bytes);
  EXPECT_EQ(bytes.view(), "ab");
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(folder, "Race.txt", 2, "more than two", bytes); }),
            "file error: " + DisplayPath(dir_.path / "Race.txt") + ": is 3 bytes, more than two");
  fs::create_directory(dir_.path / "Pass1.txt");
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(folder, "Pass1.txt", 3, "", bytes); }),
            "file error: " + DisplayPath(dir_.path / "Pass1.txt") + ": is not a regular file");
  // A name is shown on one line, and no byte of it reaches a terminal as a command.
  EXPECT_EQ(DisplayPath("a\nkelvane: b\x1B[2J\x7F\\c"), "a\\x0Akelvane: b\\x1B[2J\\x7F\\c");
  // C1 controls as UTF-8 and as stray bytes, separators and bidi controls; letters, and a
  // byte of Latin-1, as they are.
  EXPECT_EQ(WithoutControls("\xC2\x9B"
                            "2J\xC2\x85\x9B\xE2\x80\xAE"
                            "txt.exe\xE2\x80\xA8\xE2\x81\xA9"
                            "l\xC3\xA4ufe lat\xE9in \xF0\x9F\x8F\x81"),
            "\\u{9B}2J\\u{85}\\x9B\\u{202E}txt.exe\\u{2028}\\u{2069}l\xC3\xA4ufe lat\xE9in "
            "\xF0\x9F\x8F\x81");
}

#ifdef _WIN32
// No DLL is taken from the program's own folder, where a download may have put one.
TEST(PlatformTest, LoadsNoDllFromTheProgramsFolder) {
  ASSERT_TRUE(fs::exists(ProgramDir() / "kelvane_planted.dll"));
  UseSystemDllsOnly();
  EXPECT_EQ(LoadLibraryW(L"kelvane_planted.dll"), nullptr);
}
#endif

}  // namespace
}  // namespace kelvane
