#include "window/command_line.h"

#include <string_view>
#include <utility>

#include "base/run_error.h"
#include "kelvane_version.h"
#include "platform/files.h"
#include "platform/process.h"

namespace kelvane {

namespace fs = std::filesystem;

namespace {

constexpr char kHelp[] =
    "Usage: kelvane [FOLDER]\n"
    "Derives two pass lines from a race line: reads Race.txt, MaxRace.txt and MinRace.txt\n"
    "and writes Pass1.txt and Pass2.txt, all in FOLDER. With a file instead of a folder,\n"
    "in the folder that holds the file; with nothing, in the folder that holds kelvane.\n"
    "\n"
    "  --help     show this help and end\n"
    "  --version  show the version and end\n";

constexpr char kTryHelp[] = "\nUsage: kelvane [FOLDER] (kelvane --help tells more)";

// The refusal of the command line: `subject`, `problem` and a pointer to the usage.
Command Refuse(std::string subject, std::string_view problem) {
  subject.append(problem).append(kTryHelp);
  return {CommandAction::kRefuse, {}, std::move(subject), kRefusedExitStatus};
}

Command RunIn(const fs::path& path) {
  if (!FileExists(path)) return Refuse(DisplayPath(path), ": there is no such file or folder");
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  if (error) absolute = path;
  return {CommandAction::kRun, IsFolder(path) ? absolute : absolute.parent_path(), ""};
}

}  // namespace

Command ReadCommandLine(std::span<const fs::path> arguments) {
  if (arguments.empty()) return {CommandAction::kRun, ProgramDir(), ""};
  for (const fs::path& argument : arguments) {
    if (argument == "--help") return {CommandAction::kHelp, {}, kHelp};
    if (argument == "--version") {
      return {CommandAction::kVersion, {}, "kelvane " KELVANE_VERSION "\n"};
    }
  }
  for (const fs::path& argument : arguments) {
    if (argument.native().starts_with(fs::path("-").native())) {
      return Refuse(QuotedItem(DisplayPath(argument)), " is not an option kelvane knows");
    }
  }
  if (arguments.size() > 1) {
    return Refuse(std::to_string(arguments.size()), " paths were given; give one folder at most");
  }
  return RunIn(arguments.front());
}

Command StartCommand(std::span<const fs::path> arguments) {
  Command command;
  try {
    command = ReadCommandLine(arguments);
  } catch (const RunError& error) {
    command = {CommandAction::kRefuse, {}, error.Report(), 1};
  }
  if (command.action == CommandAction::kRefuse)
    WriteStandardError("kelvane: " + command.text + "\n");
  return command;
}
}  // namespace kelvane
