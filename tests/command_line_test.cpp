#include "window/command_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/files.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace {

Command Read(const std::vector<fs::path>& arguments) { return ReadCommandLine(arguments); }

TEST(CommandLineTest, RunsInTheNamedFolderOrTheOneThatHoldsTheNamedFile) {
  const ScratchDir dir;
  dir.Write("Race.txt", "");
  const Command none = Read({});
  EXPECT_EQ(none.action, CommandAction::kRun);
  EXPECT_EQ(none.folder, ProgramDir());
  for (const fs::path& argument : {dir.path, dir.path / "Race.txt"}) {
    const Command command = Read({argument});
    EXPECT_EQ(command.action, CommandAction::kRun) << argument;
    EXPECT_EQ(command.folder, dir.path) << argument;
  }
  EXPECT_EQ(Read({"nowhere", "--version"}).action, CommandAction::kVersion);
  EXPECT_EQ(Read({"--help"}).text.substr(0, 23), "Usage: kelvane [FOLDER]");
}

TEST(CommandLineTest, RefusesWhatItCannotRunOn) {
  const ScratchDir dir;
  const std::string usage = "\nUsage: kelvane [FOLDER] (kelvane --help tells more)";
  const struct {
    std::vector<fs::path> arguments;
    std::string text;
  } cases[] = {
      {{dir.path / "missing"},
       DisplayPath(dir.path / "missing") + ": there is no such file or folder" + usage},
      {{dir.path, dir.path}, "2 paths were given; give one folder at most" + usage},
      {{"-help"}, "\"-help\" is not an option kelvane knows" + usage},
  };
  for (const auto& c : cases) {
    const Command command = Read(c.arguments);
    EXPECT_EQ(command.action, CommandAction::kRefuse);
    EXPECT_EQ(command.text, c.text);
    EXPECT_EQ(command.exit_status, kRefusedExitStatus);
  }
}

}  // namespace
