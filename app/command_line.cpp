#include "app/command_line.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "app/caught_report.h"
#include "app/folder_choice.h"
#include "app/limit_text.h"
#include "base/run_error.h"
#include "kelvane_version.h"
#include "passlines/compute_pass_lines.h"
#include "platform/files.h"
#include "platform/process.h"

namespace kelvane {

namespace fs = std::filesystem;

namespace {

constexpr char kHelp[] =
    "Usage: kelvane [--limit METERS] [FOLDER]\n"
    "       kelvane --no-window [--limit METERS] [FOLDER...]\n"
    "Derives two pass lines from a race line: reads Race.txt, MaxRace.txt and MinRace.txt\n"
    "and writes Pass1.txt and Pass2.txt, all in FOLDER. With a file instead of a folder,\n"
    "in the folder that holds the file; with nothing, in the folder that holds kelvane.\n"
    "\n"
    "  --limit METERS  the most a pass line moves from the race line (default 4); with a\n"
    "                  window, the text it starts with\n"
    "  --no-window     do the job in each FOLDER in turn and end, without a window: nothing\n"
    "                  is printed on success, one line on standard error for each folder\n"
    "                  that fails; exit status 0 when all succeed, 1 when any fails, 2 for\n"
    "                  a command line that is refused\n"
    "  -h, --help      show this help and end\n"
    "  -V, --version   show the version and end\n";

constexpr char kTryHelp[] =
    "\nUsage: kelvane [--no-window] [--limit METERS] [FOLDER] (kelvane --help tells more)";

// The refusal of the command line: `subject`, `problem` and a pointer to the usage.
Command Refuse(std::string subject, std::string_view problem) {
  subject.append(problem).append(kTryHelp);
  return {CommandAction::kRefuse, {}, std::move(subject), kRefusedExitStatus};
}

bool IsOption(const fs::path& argument) {
  return argument.native().starts_with(fs::path("-").native());
}

bool AsksNoWindow(std::span<const fs::path> arguments) {
  return std::ranges::count(arguments, fs::path("--no-window")) > 0;
}

Command ReadArguments(std::span<const fs::path> arguments) {
  for (const fs::path& argument : arguments) {
    if (argument == "--help" || argument == "-h") return {CommandAction::kHelp, {}, kHelp};
    if (argument == "--version" || argument == "-V") {
      return {CommandAction::kVersion, {}, "kelvane " KELVANE_VERSION "\n"};
    }
  }
  Command command{CommandAction::kRun, {}, ""};
  std::vector<fs::path> paths;
  for (std::size_t at = 0; at < arguments.size(); ++at) {
    const std::string argument = PathText(arguments[at]);
    if (!IsOption(arguments[at])) {
      paths.push_back(arguments[at]);
    } else if (argument == "--no-window") {
      command.action = CommandAction::kNoWindow;
    } else if (argument.starts_with("--limit=")) {
      command.limit = argument.substr(8);
    } else if (argument == "--limit" && at + 1 < arguments.size()) {
      command.limit = PathText(arguments[++at]);
    } else {
      return Refuse(QuotedItem(argument), argument == "--limit"
                                              ? " needs METERS after it"
                                              : " is not an option kelvane knows");
    }
  }
  for (const fs::path& path : paths) {
    std::optional<fs::path> folder = FolderNamedBy(path);
    if (!folder) return Refuse(DisplayPath(path), ": there is no such file or folder");
    command.folders.push_back(std::move(*folder));
  }
  if (command.action == CommandAction::kRun && paths.size() > 1) {
    return Refuse(std::to_string(paths.size()), " paths were given; give one folder at most");
  }
  const LimitProblem problem = ReadLimitText(command.limit).problem;
  if (command.action == CommandAction::kNoWindow && problem != LimitProblem::kNone) {
    return Refuse("--limit " + QuotedItem(command.limit),
                  ": " + std::string(RefusalMessage(problem)));
  }
  command.named = !paths.empty();
  if (command.folders.empty()) command.folders.push_back(ProgramDir());
  if (command.action == CommandAction::kNoWindow && !command.named &&
      MissingInputs(command.folders.front()).size() == kInputCount) {
    return Refuse("no FOLDER was named",
                  ", and no line files are beside kelvane: name the folder of your line files");
  }
  return command;
}

}  // namespace

// Every command says whether the run is windowless, a refusal too: it goes to the console.
Command ReadCommandLine(std::span<const fs::path> arguments) {
  Command command = ReadArguments(arguments);
  command.windowless = AsksNoWindow(arguments);
  return command;
}

Command StartCommand(std::span<const fs::path> arguments) {
  Command command;
  try {
    command = ReadCommandLine(arguments);
  } catch (...) {
    command = {CommandAction::kRefuse, {}, ReportCaught().text, 1};
    command.windowless = AsksNoWindow(arguments);
  }
  const bool refused = command.action == CommandAction::kRefuse;
  if (command.windowless || refused) command.errors_read = ReachStandardError();
  if (refused) WriteErrorLine(command.text);
  return command;
}
}  // namespace kelvane
