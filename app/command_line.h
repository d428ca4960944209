#ifndef KELVANE_APP_COMMAND_LINE_H_
#define KELVANE_APP_COMMAND_LINE_H_

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/limit_text.h"

namespace kelvane {

// What the command line asks for.
enum class CommandAction {
  kRun,       // open the window on the line files in `folders[0]`, `limit` in its text box
  kNoWindow,  // do the job in each of `folders` in turn with `limit`, no window
  kHelp,      // print `text` and end
  kVersion,   // print `text` and end
  kRefuse,    // report `text`, touch nothing, end with kRefusedExitStatus
};

struct Command {
  CommandAction action;
  std::vector<std::filesystem::path> folders;
  std::string text;
  int exit_status = 0;               // kRefuse: the status to end with
  std::string limit{kDefaultLimit};  // the limit's text, as the text box would hold it
  bool named = false;                // a folder or a file in one was named
  bool windowless = false;           // "--no-window" was among the arguments, even refused
  bool errors_read = false;          // windowless or refused: standard error has a reader
};

// The exit status after a refused command line.
inline constexpr int kRefusedExitStatus = 2;

// Reads the arguments that follow the program's name: options, then paths. No path: the
// run is in the program's own folder (ProgramDir). A folder: in that folder. A path to
// anything else that exists, such as Race.txt: in the folder that holds it. "--no-window"
// runs in every path given, in turn, without a window; "--limit METERS" (or
// "--limit=METERS") gives the limit. "--help" and "--version" ask for their texts.
// Refused, with a message naming what is wrong: a path that is not there, more than one
// path for the window, a limit ReadLimitText refuses where no window will show it, and
// any other argument that starts with "-". Throws the errors of ProgramDir.
Command ReadCommandLine(std::span<const std::filesystem::path> arguments);

// The command as ReadCommandLine reads it, for main. A windowless run and a refusal write to
// the console they were started from (ReachStandardError). A refusal is written to standard
// error as "kelvane: <text>"; so is an error of ProgramDir, returned as kRefuse with its
// report and exit status 1. A window shows a refusal only where `errors_read` is false.
Command StartCommand(std::span<const std::filesystem::path> arguments);

}  // namespace kelvane

#endif  // KELVANE_APP_COMMAND_LINE_H_
