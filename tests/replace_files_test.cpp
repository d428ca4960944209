#include "replace/replace_files.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "replace/journal.h"
#include "tests/test_support.h"

#ifdef _WIN32
#include "platform/windows_api.h"
#else
#include <sys/stat.h>
#endif

namespace kelvane {

namespace fs = std::filesystem;

namespace {

// The four temporaries a replacement of Pass1.txt and Pass2.txt may leave, and its journal.
const std::string kNew1 = ".Pass1.txt.new-11111111", kOld1 = ".Pass1.txt.old-11111111";
const std::string kNew2 = ".Pass2.txt.new-22222222", kOld2 = ".Pass2.txt.old-22222222";
const std::string kJournal = ".Pass1.txt.journal";
const std::string kHeader = "kelvane journal 2\n";

using Files = std::map<std::string, std::string>;

class ReplaceFilesTest : public testing::Test {
 protected:
  void Lay(const Files& files) const {
    for (const auto& [name, content] : files) dir_.Write(name, content);
  }
  // Every entry of the folder with its content.
  Files Folder() const {
    Files files;
    for (const auto& entry : fs::directory_iterator(dir_.path)) {
      files[entry.path().filename().string()] = dir_.Read(entry.path().filename().string());
    }
    return files;
  }
  void Recover() const {
    const fs::path names[] = {"Pass1.txt", "Pass2.txt"};
    RecoverFiles(OpenFolder(dir_.path), names);
  }
  void Replace(const LockWait& wait = {}) const {
    const auto text = [](std::string_view content) {
      return [content](const ContentSink& sink) { sink(content); };
    };
    const FileReplacement files[] = {{"Pass1.txt", text("new 1")}, {"Pass2.txt", text("new 2")}};
    ReplaceFiles(OpenFolder(dir_.path), files, {}, wait);
  }

  ScratchDir dir_;
};

// Both files or neither: a pass line with another name is written in place, so that both
// names see the new lines; a link in the folder is followed and stays, one to a file not
// there yet makes it; when the second cannot be replaced, the first is put back.
TEST_F(ReplaceFilesTest, ReplacesEveryFileOrNone) {
  dir_.Write("Pass1.txt", "an old and longer first file");
  fs::create_hard_link(dir_.path / "Pass1.txt", dir_.path / "elsewhere");
#ifndef _WIN32
  fs::create_symlink("made", dir_.path / "Pass2.txt");
#endif
  Replace();
  EXPECT_EQ(dir_.Read("Pass1.txt") + dir_.Read("elsewhere") + dir_.Read("Pass2.txt"),
            "new 1new 1new 2");
#ifndef _WIN32
  EXPECT_TRUE(fs::is_symlink(dir_.path / "Pass2.txt"));
  EXPECT_EQ(dir_.Entries(), "Pass1.txt Pass2.txt elsewhere made ");
#endif
  fs::remove(dir_.path / "Pass2.txt");
  fs::create_directory(dir_.path / "Pass2.txt");
  dir_.Write("Pass1.txt", "old 1");
  const std::string report = ErrorOf([&] { Replace(); });
  EXPECT_EQ(report.substr(0, report.rfind(':')),
            "file error: " + DisplayPath(dir_.path / "Pass2.txt") + ": cannot be replaced");
  EXPECT_EQ(dir_.Read("Pass1.txt") + dir_.Read("elsewhere"), "old 1old 1");
}

TEST_F(ReplaceFilesTest, RefusesWhatCannotBeReplacedSafely) {
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

// For each point a run can die at, what it leaves on disk, and what the next run's recovery
// must make of it: both pass lines as they were before that run, nothing else. (A run killed
// once it has placed a new file, the fault script's kills reach over and over.)
TEST_F(ReplaceFilesTest, RecoveryPutsBackWhatARunLeftAtEachPoint) {
  const std::string both = kHeader + "new-11111111 old-11111111\nnew-22222222 old-22222222\n";
  const Files old = {{"Pass1.txt", "old 1"}, {"Pass2.txt", "old 2"}};
  const auto with = [](Files files, const Files& more) {
    files.insert(more.begin(), more.end());
    return files;
  };
  struct Case {
    const char* point;
    Files left;  // the whole folder, journal and all
    Files after;
  };
  const Case cases[] = {
      {"the journal made, nothing in it", with(old, {{kJournal, ""}}), old},
      {"the journal written", with(old, {{kJournal, both}}), old},
      {"the first new file half written", with(old, {{kJournal, both}, {kNew1, "ne"}}), old},
      {"both new files written", with(old, {{kJournal, both}, {kNew1, "new 1"}, {kNew2, "new 2"}}),
       old},
      {"the first old version half copied",
       with(old, {{kJournal, both}, {kNew1, "new 1"}, {kOld1 + ".part", "ol"}}), old},
      {"committed, old versions left",
       {{"Pass1.txt", "new 1"}, {kOld1, "old 1"}, {"Pass2.txt", "new 2"}, {kOld2, "old 2"}},
       {{"Pass1.txt", "new 1"}, {"Pass2.txt", "new 2"}}},
      {"no Pass2.txt before, both placed",
       {{kJournal, kHeader + "new-11111111 old-11111111\nnew-22222222 -\n"},
        {"Pass1.txt", "new 1"},
        {kOld1, "old 1"},
        {"Pass2.txt", "new 2"}},
       {{"Pass1.txt", "old 1"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.point);
    for (const auto& entry : fs::directory_iterator(dir_.path)) fs::remove(entry.path());
    Lay(c.left);
    Recover();
    EXPECT_EQ(Folder(), Files(c.after));
  }
}

// A pass line with other hard links is written in place: its old content is copied back into
// it, so that every name sees it again.
TEST_F(ReplaceFilesTest, RecoveryWritesBackInPlaceWhereTheFileHasOtherNames) {
  Lay({{"Pass1.txt", "new"}, {"Pass2.txt", "old 2"}, {kOld1, "old 1"}});
  fs::create_hard_link(dir_.path / "Pass1.txt", dir_.path / "elsewhere");
  dir_.Write(kJournal, kHeader + "- old-11111111\nnew-22222222 old-22222222\n");
  Recover();
  EXPECT_EQ(Folder(),
            Files({{"Pass1.txt", "old 1"}, {"Pass2.txt", "old 2"}, {"elsewhere", "old 1"}}));
}

// A journal is acted on only in this program's own form, one line for each of these two
// targets; anything else, however close, is no journal of it.
TEST(JournalTest, ReadsOnlyItsOwnFormForTheseTargets) {
  EXPECT_EQ(ParseJournal(kHeader + "new-11111111 old-11111111\n- old-22222222\n", 2)->at(1).kept,
            "old-22222222");
  EXPECT_TRUE(ParseJournal("", 2)->empty());  // made by a run that died before writing it
  for (const std::string& text : std::vector<std::string>{
           "replacement journal 1\nnr -2f746d702f78 - -\n",  // the old format, with paths
           kHeader + "new-11111111 old-11111111\n",          // one entry for two targets
           kHeader + "new-11111111 old-11111111\nnew-22222222 old-../../x\n",
           kHeader + "old-11111111 new-11111111\nnew-22222222 old-22222222\n",
           kHeader + "new-11111111 old-11111111\n- -\n",
           kHeader + "new-11111111 old-11111111\nnew-22222222 old-22222222",
           std::string("\177ELF binary\x02\x01\n")}) {
    EXPECT_FALSE(ParseJournal(text, 2)) << text;
  }
}

// While another run holds the journal, the run says so at once, waits as long as it was
// told, then gives up naming the journal, with nothing changed; once it is free, it runs.
TEST_F(ReplaceFilesTest, SaysAtOnceThatAnotherRunHoldsTheFilesAndWaitsOnlySoLong) {
  Lay({{"Pass1.txt", "old 1"}, {"Pass2.txt", "old 2"}});
  std::vector<std::string> notices;
  LockWait wait;
  wait.notice = [&notices](std::string_view message) { notices.emplace_back(message); };
  wait.limit = std::chrono::milliseconds(2000);
  {
    const kelvane::Folder folder = OpenFolder(dir_.path);
    const Journal held(folder, kJournal, {});
    const std::string report = ErrorOf([&] { Replace(wait); });
    EXPECT_TRUE(report.starts_with("files busy: " + DisplayPath(dir_.path / kJournal) +
                                   ": is held by another run of Kelvane (owned by ") &&
                report.ends_with("), still after 2 seconds; nothing was changed. Try again "
                                 "once it has finished."))
        << report;
    EXPECT_EQ(notices, std::vector<std::string>{DisplayPath(dir_.path / kJournal) +
                                                " is held by another run of Kelvane; waiting "
                                                "up to 2 seconds for it to finish"});
  }
  EXPECT_EQ(dir_.Read("Pass1.txt") + dir_.Read("Pass2.txt"), "old 1old 2");
  Replace(wait);
  EXPECT_EQ(Folder(), Files({{"Pass1.txt", "new 1"}, {"Pass2.txt", "new 2"}}));
}

}  // namespace
}  // namespace kelvane
