#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/system_error.h"
#include "platform/utf16.h"
#include "window/command_line.h"
#include "window/form1_win32.h"
#include "window/go_press.h"

namespace kelvane {

namespace {

// The arguments that follow the program's name, as the C runtime splits the command line.
std::vector<std::filesystem::path> Arguments() {
  std::vector<std::filesystem::path> arguments;
  for (int i = 1; __wargv && i < __argc; ++i) arguments.emplace_back(__wargv[i]);
  return arguments;
}

void ShowText(const std::string& text, UINT icon) {
  MessageBoxW(nullptr, Utf16(text).c_str(), L"Kelvane", MB_OK | icon);
}

}  // namespace

}  // namespace kelvane

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  kelvane::IgnoreClosedPipes();
  const std::vector<std::filesystem::path> arguments = kelvane::Arguments();
  // Without a window, the lines go to the console the program was started from.
  const bool windowless = std::ranges::count(arguments, "--no-window") > 0;
  if (windowless) kelvane::UseParentConsole();
  const kelvane::Command command = kelvane::StartCommand(arguments);
  switch (command.action) {
    case kelvane::CommandAction::kHelp:
    case kelvane::CommandAction::kVersion:
      if (!kelvane::WriteStandardOutput(command.text))
        kelvane::ShowText(command.text, MB_ICONINFORMATION);
      return 0;
    case kelvane::CommandAction::kRefuse:
      if (!windowless) kelvane::ShowText(command.text, MB_ICONERROR);
      return command.exit_status;
    case kelvane::CommandAction::kNoWindow:
      return kelvane::RunInEach(command.folders, command.limit);
    case kelvane::CommandAction::kRun:
      break;
  }
  kelvane::Form1 form(instance, command.folders.front(), command.limit);
  if (const DWORD error = form.Create()) {
    const std::string report =
        "run-time error: the window cannot be created: " + kelvane::ReasonOf(error);
    kelvane::WriteStandardError("kelvane: " + report + "\n");
    kelvane::ShowText(report, MB_ICONERROR);
    return 1;
  }
  return form.Run(show);
}
