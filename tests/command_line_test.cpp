#include "window/command_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/files.h"
#include "tests/test_support.h"

namespace kelvane {

namespace fs = std::filesystem;

namespace {

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
  EXPECT_EQ(ReadCommandLine(std::vector<fs::path>{"nowhere", "--version"}).action,
            CommandAction::kVersion);
  for (const auto& c : cases) {
    const Command command = ReadCommandLine(c.arguments);
    EXPECT_EQ(command.action, CommandAction::kRefuse);
    EXPECT_EQ(command.text, c.text);
    EXPECT_EQ(command.exit_status, kRefusedExitStatus);
  }
}

}  // namespace
}  // namespace kelvane
