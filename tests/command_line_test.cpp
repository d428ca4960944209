#include "app/command_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/folder_choice.h"
#include "app/limit_text.h"
#include "platform/files.h"
#include "tests/test_support.h"

namespace kelvane {

namespace fs = std::filesystem;

namespace {

TEST(CommandLineTest, RefusesWhatItCannotRunOn) {
  const ScratchDir dir;
  const std::string usage =
      "\nUsage: kelvane [--no-window] [--limit METERS] [FOLDER] (kelvane --help tells more)";
  const struct {
    std::vector<fs::path> arguments;
    std::string text;
  } cases[] = {
      {{dir.path, dir.path}, "2 paths were given; give one folder at most" + usage},
      {{"-help"}, "\"-help\" is not an option kelvane knows" + usage},
      {{dir.path, "--limit"}, "\"--limit\" needs METERS after it" + usage},
      {{"--no-window", "--limit=2,5", dir.path},
       "--limit \"2,5\": " + std::string(RefusalMessage(LimitProblem::kDecimalComma)) + usage},
  };
  EXPECT_EQ(ReadCommandLine(std::vector<fs::path>{"nowhere", "--version"}).action,
            CommandAction::kVersion);
  for (const auto& c : cases) {
    const Command command = ReadCommandLine(c.arguments);
    EXPECT_EQ(command.action, CommandAction::kRefuse);
    EXPECT_EQ(command.text, c.text);
    EXPECT_EQ(command.exit_status, kRefusedExitStatus);
  }
}

// With no folder named, the window works in the program's own; a limit is taken as typed,
// for the window to show in its text box unread.
TEST(CommandLineTest, TakesALimitForTheWindow) {
  const Command window = ReadCommandLine(std::vector<fs::path>{"--limit=abc"});
  EXPECT_EQ(window.action, CommandAction::kRun);
  EXPECT_EQ(window.folders, std::vector<fs::path>{ProgramDir()});
  EXPECT_EQ(window.limit, "abc");
}

// The chooser opens in the folder in use; with none, where a terminal started Kelvane,
// unless that is its own folder; else (from a menu, say) where one was chosen last.
TEST(CommandLineTest, ChooserOpensWhereAPersonExpects) {
  const ScratchDir working;
  EXPECT_EQ(ChooserStart("in use", true, working.path, ProgramDir(), "last"), "in use");
  EXPECT_EQ(ChooserStart("", true, working.path, ProgramDir(), "last"), working.path);
  EXPECT_EQ(ChooserStart("", false, working.path, ProgramDir(), "last"), "last");
  EXPECT_EQ(ChooserStart("", true, ProgramDir(), ProgramDir(), "last"), "last");
}

}  // namespace
}  // namespace kelvane
